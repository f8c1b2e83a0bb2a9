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
#include <algorithm>

#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/FormMain.h"
#include "game/GameParts.h"
#include "game/TrackBar.h"
#include "game/log/MessageLog.h"
#include "platform/Fonts.h"

namespace zerud {

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

QString Rgb(int r, int g, int b) { return QStringLiteral("rgb(%1, %2, %3)").arg(r).arg(g).arg(b); }

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
    gradient.setColorAt(0, QColor(0, 128, 255));
    gradient.setColorAt(1, QColor(255, 0, 0));
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
  PanelGauche = new TPicturePanel(LeftPanelPicture(), QColor(164, 192, 251), board);
  PanelGauche->setObjectName(QStringLiteral("PanelGauche"));
  PanelGauche->setGeometry(0, 0, 237, 600);

  auto imageButton = [this](TImageButton*& button, const char* name, TButtonPicture picture,
                            const QRect& geometry, const QString& hint) {
    button = new TImageButton(PanelGauche);
    button->setObjectName(QString::fromLatin1(name));
    SetButtonPictures(button, picture);
    button->setGeometry(geometry);
    button->setToolTip(hint);
  };
  imageButton(bnStart, "bnStart", TButtonPicture::Start, QRect(7, 75, 55, 55),
              QStringLiteral("Commencer une nouvelle partie"));
  imageButton(bnOptions, "bnOptions", TButtonPicture::Options, QRect(7, 145, 55, 55),
              QStringLiteral("Options du jeu"));
  imageButton(bnReseau, "bnReseau", TButtonPicture::Reseau, QRect(7, 215, 56, 56),
              QStringLiteral("Mode multi-joueurs"));
  imageButton(bnAide, "bnAide", TButtonPicture::Aide, QRect(6, 285, 55, 55),
              QStringLiteral("Aide du jeu"));
  connect(bnStart, &TImageButton::OnClick, this, &TFormMain::bnStartClick);
  connect(bnOptions, &TImageButton::OnClick, this, &TFormMain::bnOptionsClick);
  connect(bnReseau, &TImageButton::OnClick, this, &TFormMain::bnReseauClick);
  connect(bnAide, &TImageButton::OnClick, this, &TFormMain::bnAideClick);

  // The digit display is never written; it only shows its colour.
  auto* lbScore = new QLabel(board);
  lbScore->setObjectName(QStringLiteral("lbScore"));
  lbScore->setGeometry(87, 122, 124, 17);
  lbScore->setStyleSheet(QStringLiteral("background: %1; color: black;").arg(Rgb(144, 178, 255)));

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

  const QFont tahoma11 = PixelFont(QStringLiteral("Tahoma"), 11);
  EditChat = new QLineEdit(QStringLiteral("..."), PanelGauche);
  EditChat->setObjectName(QStringLiteral("EditChat"));
  EditChat->setGeometry(7, 504, 116, 18);
  EditChat->setFrame(false);
  EditChat->setFont(tahoma11);
  EditChat->setStyleSheet(
      QStringLiteral("QLineEdit { background: %1; border: none; }").arg(Rgb(208, 223, 255)));
  EditChat->setToolTip(QStringLiteral("Texte à envoyer"));
  // Enter sends the line; the edit swallows it.
  connect(EditChat, &QLineEdit::returnPressed, this, &TFormMain::bnEnvoyerChatClick);

  auto chatButton = [this, &tahoma11](TSelButton*& button, const char* name, const QString& caption,
                                      const QRect& geometry, const QString& hint) {
    button = new TSelButton(PanelGauche);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->SetCaption(caption);
    button->setToolTip(hint);
    button->SetColor(QColor(208, 223, 255));
    button->SetColorBorder(Qt::white);
    button->SetColorOver(QColor(128, 128, 192));
    button->SetColorDown(QColor(128, 128, 192));
    button->setFont(tahoma11);
    button->SetFontColor(Qt::black);
  };
  chatButton(bnClear, "bnClear", QStringLiteral("Effacer"), QRect(123, 503, 42, 20),
             QStringLiteral("Effacer les messages reçus"));
  chatButton(bnEnvoyerChat, "bnEnvoyerChat", QStringLiteral("Envoyer"), QRect(164, 503, 48, 20),
             QStringLiteral("Envoyer le message"));
  connect(bnClear, &TSelButton::OnClick, this, &TFormMain::bnClearClick);
  connect(bnEnvoyerChat, &TSelButton::OnClick, this, &TFormMain::bnEnvoyerChatClick);

  // The chat memo shows its scroll bar beside it, a little taller.
  MemoChat = new QPlainTextEdit(PanelGauche);
  MemoChat->setObjectName(QStringLiteral("MemoChat"));
  MemoChat->setGeometry(7, 524, 187, 50);
  MemoChat->setReadOnly(true);
  MemoChat->setFrameShape(QFrame::NoFrame);
  // Shown in the skin's memo font, which takes the place of the memo's own
  // Tahoma 11 px.
  MemoChat->setFont(PixelFont(QStringLiteral("Arial"), 14, true));
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
  lbReseau->setStyleSheet(QStringLiteral("background: %1;").arg(Rgb(144, 178, 255)));
}

void TFormMain::BuildClockPanel() {
  PanelClock = new QWidget(img());
  PanelClock->setObjectName(QStringLiteral("PanelClock"));
  PanelClock->setGeometry(718, 6, 74, 45);
  PanelClock->setAutoFillBackground(true);
  QPalette palette = PanelClock->palette();
  palette.setColor(QPalette::Window, QColor(164, 192, 251));
  PanelClock->setPalette(palette);

  LabelChrono = AddLabel(PanelClock, QStringLiteral("00:00:00"), QRect(0, 0, 74, 16),
                         QStringLiteral("LabelChrono"));
  LabelChrono->setAlignment(Qt::AlignCenter);
  LabelChrono->setFont(PixelFont(QStringLiteral("Arial"), 13, true));

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
  PanelOptions = new TPicturePanel(OptionsPanelPicture(), QColor(164, 192, 251), img());
  PanelOptions->setObjectName(QStringLiteral("PanelOptions"));
  PanelOptions->setGeometry(0, 65, 800, 536);
  PanelOptions->hide();

  const QFont tahoma13 = PixelFont(QStringLiteral("Tahoma"), 13);
  const QString captionStyle = QStringLiteral("background: %1;").arg(Rgb(128, 128, 192));
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
  const QFont tahoma11 = PixelFont(QStringLiteral("Tahoma"), 11);
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
                           .arg(Rgb(164, 192, 251), Rgb(128, 128, 192)));
  // The radio boxes are drawn in the skin's own 11 px font: in the panel's
  // 13 px their captions would not fit their 149 pixels.
  auto radio = [&](QRadioButton*& box, const char* name, const QString& text, int top) {
    box = new QRadioButton(text, PanelOptions);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(63, top, 149, 25);
    box->setFont(tahoma11);
    connect(box, &QRadioButton::clicked, this, &TFormMain::cbJoueursHumainsClick);
  };
  radio(cbMachine, "cbMachine", QStringLiteral("Joueur contre la machine"), 387);
  radio(cbJoueursHumains, "cbJoueursHumains", QStringLiteral("2 joueurs humains"), 411);
  cbMachine->setChecked(true);

  bnFermer = new TSelButton(PanelOptions);
  bnFermer->setObjectName(QStringLiteral("bnFermer"));
  bnFermer->setGeometry(712, 497, 61, 21);
  bnFermer->SetCaption(QStringLiteral("Fermer"));
  bnFermer->SetAlignment(TSelButton::kAlignCenter);
  bnFermer->SetColor(QColor(128, 128, 192));
  bnFermer->SetColorBorder(QColor(0, 0, 128));
  bnFermer->SetBorderWidth(1);
  bnFermer->SetColorOver(QColor(164, 192, 251));
  bnFermer->SetColorDown(QColor(164, 192, 251));
  bnFermer->setFont(tahoma13);
  bnFermer->SetFontColor(Qt::black);
  connect(bnFermer, &TSelButton::OnClick, this, &TFormMain::bnFermerClick);
}

// Builds every control, then prepares the game. The panels are children of
// the board image so they are drawn over it; the options panel comes last so
// it covers everything below y = 65 when shown.
void TFormMain::BuildControls() {
  setWindowTitle(QStringLiteral("Zerud uravizera4"));
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
  setFixedSize(kClientWidth, kClientHeight);

  parts_->Img = new TLayeredImage(this);
  parts_->Img->setObjectName(QStringLiteral("img"));
  parts_->Img->setGeometry(0, 0, kClientWidth, kClientHeight);

  BuildColumnTargets();
  BuildLeftPanel();
  BuildClockPanel();
  BuildOptionsPanel();

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(810, 8, 207, 153);
  Memo1->setFont(PixelFont(QStringLiteral("Lucida Console"), 12));
  Memo1->setFrameShape(QFrame::NoFrame);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->hide();

  // Centred on the desktop as well as can be told before the window shows;
  // once the window manager has framed it, showEvent centres the frame.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(CentredTopLeft(screen->geometry(), size()));
  }
}

// On a desktop smaller than the window the corner stays on the screen, so
// the caption can still be reached.
QPoint TFormMain::CentredTopLeft(const QRect& desktop, const QSize& size) {
  return desktop.topLeft() + QPoint(std::max(0, (desktop.width() - size.width()) / 2),
                                    std::max(0, (desktop.height() - size.height()) / 2));
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
