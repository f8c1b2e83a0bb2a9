// The main window's controls: where each one sits, how it looks and which
// handler it calls.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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
#include "game/FormMain.h"
#include "game/GameParts.h"
#include "game/TrackBar.h"
#include "game/log/MessageLog.h"
#include "platform/Centring.h"
#include "platform/Skin.h"

namespace zerud {

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

// A panel filled by a picture, or by its colour where the picture is missing.
class TPicturePanel : public QWidget {
 public:
  TPicturePanel(const QImage& picture, QColor colour, QWidget* parent)
      : QWidget(parent), picture_(picture), colour_(colour) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    painter.drawImage(0, 0, picture_);
  }

 private:
  QImage picture_;
  QColor colour_;
};

// The bar under the level captions: blue on the left to red on the right.
class TGradientBar : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, skin::kLevelLow);
    gradient.setColorAt(1, skin::kLevelHigh);
    painter.fillRect(rect(), gradient);
  }
};

QLabel* AddLabel(QWidget* parent, const QString& caption, const QRect& geometry,
                 const QString& objectName) {
  auto* label = new QLabel(parent);
  // Plain text always: lbReseau and the clock are written at run time.
  label->setTextFormat(Qt::PlainText);
  label->setText(caption);
  label->setObjectName(objectName);
  label->setGeometry(geometry);
  return label;
}

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

  // The digit display is never written; it only shows its colour.
  auto* lbScore = new QLabel(board);
  lbScore->setObjectName(QStringLiteral("lbScore"));
  lbScore->setGeometry(87, 122, 124, 17);
  lbScore->setStyleSheet(
      QStringLiteral("background: %1; color: black;").arg(skin::Css(skin::kMidBlue)));

  MemoMessages = new TMessageLog(PanelGauche);
  MemoMessages->setObjectName(QStringLiteral("MemoMessages"));
  MemoMessages->setGeometry(8, 377, 202, 101);
  MemoMessages->SetModeSource([this] {
    if (NetworkGame) return TLogMode::Network;
    return AgainstMachine() ? TLogMode::Machine : TLogMode::TwoHumans;
  });
  TLogIcons icons;
  for (int i = 0; i < kLogIconCount; ++i) icons[i] = LogIcon(i);
  MemoMessages->SetIcons(icons);

  const QFont tahoma11 = skin::SmallFont();
  EditChat = new QLineEdit(QStringLiteral("..."), PanelGauche);
  EditChat->setObjectName(QStringLiteral("EditChat"));
  EditChat->setGeometry(7, 504, 116, 18);
  EditChat->setFrame(false);
  EditChat->setFont(tahoma11);
  EditChat->setStyleSheet(QStringLiteral("QLineEdit { background: %1; border: none; }")
                              .arg(skin::Css(skin::kPaleBlue)));
  EditChat->setToolTip(QStringLiteral("Texte à envoyer"));
  // Enter sends the line; the edit swallows it.
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
  MemoChat = new QPlainTextEdit(PanelGauche);
  MemoChat->setObjectName(QStringLiteral("MemoChat"));
  MemoChat->setGeometry(7, 524, 187, 50);
  MemoChat->setReadOnly(true);
  MemoChat->setFrameShape(QFrame::NoFrame);
  // Shown in the skin's memo font, which takes the place of the memo's own
  // Tahoma 11 px.
  MemoChat->setFont(skin::ChatFont());
  MemoChat->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
  MemoChat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The peer decides how many lines arrive: past this many, the oldest go,
  // so a peer cannot fill the memory with chat.
  MemoChat->setMaximumBlockCount(kChatLineLimit);
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
  PanelOptions = new TPicturePanel(OptionsPanelPicture(), skin::kLightBlue, img());
  PanelOptions->setObjectName(QStringLiteral("PanelOptions"));
  PanelOptions->setGeometry(0, 65, 800, 536);
  PanelOptions->hide();

  const QFont tahoma13 = skin::CaptionFont();
  const QString captionStyle = QStringLiteral("background: %1;").arg(skin::Css(skin::kLavender));
  auto caption = [&](const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = AddLabel(PanelOptions, text, geometry, QString::fromLatin1(name));
    label->setFont(tahoma13);
    label->setStyleSheet(captionStyle);
    return label;
  };
  // A track bar at (47, top), 347 x 20, calling its change handler.
  auto trackBar = [this](QSlider*& bar, const char* name, int minimum, int maximum, int value,
                         int top, void (TFormMain::*change)()) {
    bar = new TTrackBar(minimum, maximum, value, PanelOptions);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(47, top, 347, 20);
    connect(bar, &QSlider::valueChanged, this, change);
  };
  caption("Label1", QStringLiteral(" Opacité des pions"), QRect(48, 72, 345, 19));
  trackBar(tbOpacite, "tbOpacite", 100, 256, 210, 91, &TFormMain::tbOpaciteChange);

  caption("Label2", QStringLiteral(" Vitesse d'animation"), QRect(48, 156, 345, 19));
  trackBar(tbVitesse, "tbVitesse", 1, 35, 2, 175, &TFormMain::tbVitesseChange);

  caption("Label3", QStringLiteral(" Niveau de réflexion de la machine"), QRect(48, 238, 345, 19));
  auto* gradient = new TGradientBar(PanelOptions);
  gradient->setObjectName(QStringLiteral("GradientBar"));
  gradient->setGeometry(48, 257, 345, 14);
  const QFont tahoma11 = skin::SmallFont();
  const struct {
    const char* text;
    int left;
  } levels[] = {{"Débutant", 50}, {"Intermédiaire", 136}, {"Avancé", 257}, {"Expert", 360}};
  for (const auto& level : levels) {
    auto* label = new QLabel(QString::fromUtf8(level.text), PanelOptions);
    label->setObjectName(QStringLiteral("Level") + QString::fromUtf8(level.text));
    label->setFont(tahoma11);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->adjustSize();
    label->setGeometry(level.left, 257, label->width(), 13);
  }
  trackBar(tbNiveau, "tbNiveau", 2, 5, 2, 271, &TFormMain::tbNiveauChange);

  caption("Label4", QStringLiteral(" Mode du jeu"), QRect(47, 358, 346, 19));
  auto* shape = new QFrame(PanelOptions);
  shape->setObjectName(QStringLiteral("Shape1"));
  shape->setGeometry(47, 376, 346, 74);
  shape->setStyleSheet(QStringLiteral("QFrame { background: %1; border: 1px solid %2; }")
                           .arg(skin::Css(skin::kLightBlue), skin::Css(skin::kLavender)));
  // The radio boxes are drawn in the skin's own 11 px font: in the panel's
  // 13 px their captions would not fit their 149 pixels.
  // Both boxes call the same handler, which reads which one is checked.
  // clang-format off
  const struct {
    QRadioButton* TFormMain::*member;
    const char* name;
    const char* caption;
    int top;
  } modes[] = {{&TFormMain::cbMachine, "cbMachine", "Joueur contre la machine", 387},
               {&TFormMain::cbJoueursHumains, "cbJoueursHumains", "2 joueurs humains", 411}};
  // clang-format on
  for (const auto& m : modes) {
    auto* box = new QRadioButton(QString::fromUtf8(m.caption), PanelOptions);
    box->setObjectName(QString::fromLatin1(m.name));
    box->setGeometry(63, m.top, 149, 25);
    box->setFont(tahoma11);
    connect(box, &QRadioButton::clicked, this, &TFormMain::cbJoueursHumainsClick);
    this->*m.member = box;
  }
  cbMachine->setChecked(true);

  bnFermer = new TSelButton(PanelOptions);
  bnFermer->setObjectName(QStringLiteral("bnFermer"));
  bnFermer->setGeometry(712, 497, 61, 21);
  bnFermer->SetCaption(QStringLiteral("Fermer"));
  bnFermer->SetAlignment(TSelButton::kAlignCenter);
  bnFermer->SetColor(skin::kLavender);
  bnFermer->SetColorBorder(skin::kNavy);
  bnFermer->SetBorderWidth(1);
  bnFermer->SetColorOver(skin::kLightBlue);
  bnFermer->SetColorDown(skin::kLightBlue);
  bnFermer->setFont(tahoma13);
  bnFermer->SetFontColor(Qt::black);
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

  BuildColumnTargets();
  BuildLeftPanel();
  BuildClockPanel();
  BuildOptionsPanel();
  BuildKeyboardPlay();

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
