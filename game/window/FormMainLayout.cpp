// The main window's controls: where each one sits, how it looks and which
// handler it calls.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSlider>
#include <QTimer>

#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/log/MessageLog.h"
#include "game/window/ChatField.h"
#include "game/window/ChatMemo.h"
#include "game/window/FormMain.h"
#include "game/window/GameParts.h"
#include "game/window/OptionsPanel.h"
#include "game/window/PicturePanel.h"
#include "game/window/PlainLabel.h"
#include "game/window/TrackBar.h"
#include "platform/Centring.h"
#include "platform/Skin.h"

namespace zerud {

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

void SetButtonPictures(TImageButton* button, TButtonPicture which) {
  button->SetBitmap(ButtonPicture(which, TButtonLook::Normal));
  button->SetBitmapOver(ButtonPicture(which, TButtonLook::Over));
  button->SetBitmapDown(ButtonPicture(which, TButtonLook::Down));
}

}  // namespace

void TFormMain::BuildLeftPanel() {
  QWidget* board = img();
  PanelGauche = new TPicturePanel(LeftPanelPicture(), skin::kLightBlue, board);
  PanelGauche->setObjectName(QStringLiteral("PanelGauche"));
  PanelGauche->setGeometry(0, 0, 237, 600);

  // clang-format off
  const struct {
    TImageButton* TFormMain::*member;
    const char* name;
    TButtonPicture picture;
    QRect geometry;
    const char* hint;
    void (TFormMain::*click)();
  } imageButtons[] = {
      {&TFormMain::bnStart, "bnStart", TButtonPicture::Start, {7, 75, 55, 55},
       "Commencer une nouvelle partie", &TFormMain::bnStartClick},
      {&TFormMain::bnOptions, "bnOptions", TButtonPicture::Options, {7, 145, 55, 55},
       "Options du jeu", &TFormMain::bnOptionsClick},
      {&TFormMain::bnReseau, "bnReseau", TButtonPicture::Reseau, {7, 215, 56, 56},
       "Mode multi-joueurs", &TFormMain::bnReseauClick},
      {&TFormMain::bnAide, "bnAide", TButtonPicture::Aide, {6, 285, 55, 55}, "Aide du jeu",
       &TFormMain::bnAideClick},
  };
  // clang-format on
  for (const auto& b : imageButtons) {
    auto* button = new TImageButton(PanelGauche);
    button->setObjectName(QString::fromLatin1(b.name));
    SetButtonPictures(button, b.picture);
    button->setGeometry(b.geometry);
    button->setToolTip(QString::fromUtf8(b.hint));
    connect(button, &TImageButton::OnClick, this, b.click);
    this->*b.member = button;
  }

  // The games won, red then yellow.
  lbScore =
      AddLabel(board, QStringLiteral("0-0"), QRect(87, 122, 124, 17), QStringLiteral("lbScore"));
  lbScore->setAlignment(Qt::AlignCenter);
  lbScore->setFont(skin::CaptionFont());
  lbScore->setStyleSheet(
      QStringLiteral("background: %1; color: black;").arg(skin::Css(skin::kMidBlue)));

  MemoMessages = new TMessageLog(PanelGauche);
  MemoMessages->setObjectName(QStringLiteral("MemoMessages"));
  MemoMessages->setGeometry(8, 377, 202, 101);
  MemoMessages->SetModeSource([this] {
    switch (game_.ShownMode()) {
      case TPlayMode::Network:
        return TLogMode::Network;
      case TPlayMode::TwoHumans:
        return TLogMode::TwoHumans;
      default:
        return TLogMode::Machine;
    }
  });
  TLogIcons icons;
  for (int i = 0; i < kLogIconCount; ++i) icons[i] = LogIcon(i);
  MemoMessages->SetIcons(icons);

  const QFont tahoma11 = skin::SmallFont();
  EditChat = new TChatField(PanelGauche, [this] { img()->setFocus(); });
  EditChat->setObjectName(QStringLiteral("EditChat"));
  EditChat->setGeometry(7, 504, 116, 18);
  connect(EditChat, &QLineEdit::returnPressed, this, &TFormMain::bnEnvoyerChatClick);

  // clang-format off
  const struct {
    TSelButton* TFormMain::*member;
    const char* name;
    const char* caption;
    QRect geometry;
    const char* hint;
    void (TFormMain::*click)();
  } chatButtons[] = {
      {&TFormMain::bnClear, "bnClear", "Effacer", {123, 503, 42, 20}, "Effacer les messages reçus",
       &TFormMain::bnClearClick},
      {&TFormMain::bnEnvoyerChat, "bnEnvoyerChat", "Envoyer", {164, 503, 48, 20},
       "Envoyer le message", &TFormMain::bnEnvoyerChatClick},
  };
  // clang-format on
  for (const auto& b : chatButtons) {
    auto* button = new TSelButton(PanelGauche);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setGeometry(b.geometry);
    button->SetCaption(QString::fromUtf8(b.caption));
    button->setToolTip(QString::fromUtf8(b.hint));
    button->SetColor(skin::kPaleBlue);
    button->SetColorBorder(Qt::white);
    button->SetColorOver(skin::kLavender);
    button->SetColorDown(skin::kLavender);
    button->setFont(tahoma11);
    button->SetFontColor(Qt::black);
    connect(button, &TSelButton::OnClick, this, b.click);
    this->*b.member = button;
  }

  // The chat memo shows its scroll bar beside it, a little taller.
  MemoChat = new TChatMemo(PanelGauche);
  MemoChat->setObjectName(QStringLiteral("MemoChat"));
  MemoChat->setGeometry(7, 524, 187, 50);
  auto* chatScroll = new QScrollBar(Qt::Vertical, PanelGauche);
  chatScroll->setObjectName(QStringLiteral("MemoChatScrollBar"));
  chatScroll->setGeometry(194, 523, 19, 52);
  QScrollBar* inner = MemoChat->verticalScrollBar();
  connect(inner, &QScrollBar::rangeChanged, chatScroll, &QScrollBar::setRange);
  connect(inner, &QScrollBar::valueChanged, chatScroll, &QScrollBar::setValue);
  connect(chatScroll, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);

  lbReseau = AddLabel(PanelGauche, QStringLiteral(" Déconnecté."), QRect(7, 579, 204, 17),
                      QStringLiteral("lbReseau"));
  lbReseau->setFont(tahoma11);
  lbReseau->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lbReseau->setStyleSheet(QStringLiteral("background: %1;").arg(skin::Css(skin::kMidBlue)));
}

void TFormMain::BuildClockPanel() {
  PanelClock = new QWidget(img());
  PanelClock->setObjectName(QStringLiteral("PanelClock"));
  PanelClock->setGeometry(718, 6, 74, 45);
  PanelClock->setAutoFillBackground(true);
  QPalette palette = PanelClock->palette();
  palette.setColor(QPalette::Window, skin::kLightBlue);
  PanelClock->setPalette(palette);

  LabelChrono = AddLabel(PanelClock, QStringLiteral("00:00:00"), QRect(0, 0, 74, 16),
                         QStringLiteral("LabelChrono"));
  LabelChrono->setAlignment(Qt::AlignCenter);
  LabelChrono->setFont(skin::ClockFont());

  auto* quit = new QPushButton(QStringLiteral("Quitter"), PanelClock);
  quit->setObjectName(QStringLiteral("bsSkinButton1"));
  quit->setGeometry(0, 24, 74, 21);
  quit->setToolTip(QStringLiteral("Quitter \"Zerud uravizera 4\""));
  quit->setCursor(Qt::PointingHandCursor);
  connect(quit, &QPushButton::clicked, this, &TFormMain::bsSkinButton1Click);
  bsSkinButton1 = quit;

  // The clock's ticks stay off and its count held until the first game.
  Chrono = new TTimeCounter(this);
  Chrono->setObjectName(QStringLiteral("Chrono"));
  Chrono->SetEnabled(false);
  Chrono->Stop();
  connect(Chrono, &TTimeCounter::OnTimer, this, &TFormMain::ChronoTimer);
}

// The result of the game in large type, once the end has been shown, over
// the strip of column targets (of no use once the game is over), so that
// every cell of the grid, the winning four among them, stays in sight;
// clicks go through it.
void TFormMain::BuildResultBanner() {
  const QRect strip(TBoardView::TargetPosition(0),
                    QSize(kColumns * TBoardView::kCellSize, TBoardView::kCellSize));
  lbResultat = AddLabel(img(), QString(), QRect(0, 0, 470, 66), QStringLiteral("lbResultat"));
  lbResultat->move(strip.center() - lbResultat->rect().center());
  lbResultat->setAlignment(Qt::AlignCenter);
  lbResultat->setFont(skin::ResultFont());
  lbResultat->setStyleSheet(QStringLiteral("background: %1; color: white; border-radius: 12px;")
                                .arg(skin::CssWithAlpha(skin::kNavy, 190)));
  lbResultat->setAttribute(Qt::WA_TransparentForMouseEvents);
  lbResultat->hide();
}

void TFormMain::BuildColumnTargets() {
  for (int c = 0; c < 7; ++c) {
    auto* target = new TColumnTarget(c, img());
    target->setGeometry(TBoardView::TargetPosition(c).x(), TBoardView::TargetPosition(c).y(),
                        TBoardView::kCellSize, TBoardView::kCellSize);
    connect(target, &TColumnTarget::Clicked, this, &TFormMain::Colonne0Click);
    connect(target, &TColumnTarget::MouseMoved, this, &TFormMain::Colonne0MouseMove);
    Colonne[c] = target;
  }
}

void TFormMain::BuildOptionsPanel() {
  auto* panel = new TOptionsPanel(img());
  PanelOptions = panel;
  tbOpacite = panel->tbOpacite;
  tbVitesse = panel->tbVitesse;
  tbNiveau = panel->tbNiveau;
  cbMachine = panel->cbMachine;
  cbJoueursHumains = panel->cbJoueursHumains;
  bnFermer = panel->bnFermer;
  connect(tbOpacite, &QSlider::valueChanged, this, &TFormMain::tbOpaciteChange);
  connect(tbVitesse, &QSlider::valueChanged, this, &TFormMain::tbVitesseChange);
  connect(tbNiveau, &QSlider::valueChanged, this, &TFormMain::tbNiveauChange);
  // Both boxes call the same handler, each with its mode.
  connect(cbMachine, &QRadioButton::clicked, this,
          [this] { cbJoueursHumainsClick(TPlayMode::Machine); });
  connect(cbJoueursHumains, &QRadioButton::clicked, this,
          [this] { cbJoueursHumainsClick(TPlayMode::TwoHumans); });
  connect(bnFermer, &TSelButton::OnClick, this, &TFormMain::bnFermerClick);
}

// Builds every control, then prepares the game. The panels are children of
// the board image so they are drawn over it; the options panel comes last so
// it covers everything below y = 65 when shown.
void TFormMain::BuildControls() {
  setWindowTitle(QStringLiteral("Zerud uravizera4"));
  setFont(skin::WindowFont());
  setFixedSize(kClientWidth, kClientHeight);

  parts_->Img = new TLayeredImage(this);
  parts_->Img->setObjectName(QStringLiteral("img"));
  parts_->Img->setGeometry(0, 0, kClientWidth, kClientHeight);
  // A click on the board takes the keys back from the chat field.
  parts_->Img->setFocusPolicy(Qt::ClickFocus);

  BuildColumnTargets();
  BuildLeftPanel();
  BuildClockPanel();
  BuildResultBanner();
  BuildOptionsPanel();
  BuildKeyboardPlay();
  BuildSoundsAndAids();
  BuildBoardMenu();

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(810, 8, 207, 153);
  Memo1->setFont(skin::TraceFont());
  Memo1->setFrameShape(QFrame::NoFrame);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->hide();

  // Centred on the desktop as well as can be told before the window shows;
  // once the window manager has framed it, showEvent centres the frame.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(CentredTopLeft(screen->geometry(), size()));
  }
}

// The frame and caption of the window manager are known only some time after
// the window first shows. Until then the window sits as if it had no frame,
// its client area lower than the middle by the caption's height; as soon as
// the frame is known, the whole framed window is centred once. A window
// manager that adds no frame leaves the window where it is.
void TFormMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (frameCentred_ || framePoll_ != nullptr) return;
  framePoll_ = new QTimer(this);
  framePoll_->setInterval(kFramePollMs);
  connect(framePoll_, &QTimer::timeout, this, [this, polls = 0]() mutable {
    const bool framed = frameGeometry().size() != size();
    if (framed && screen() != nullptr) {
      move(CentredTopLeft(screen()->geometry(), frameGeometry().size()));
    }
    if (framed || ++polls >= kFramePolls) {
      frameCentred_ = true;
      framePoll_->deleteLater();
      framePoll_ = nullptr;
    }
  });
  framePoll_->start();
}

QWidget* TFormMain::img() const { return parts_->Img; }

}  // namespace zerud
