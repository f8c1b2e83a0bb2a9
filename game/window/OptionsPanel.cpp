#include "game/window/OptionsPanel.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>

#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "game/window/PlainLabel.h"
#include "game/window/TrackBar.h"
#include "platform/Skin.h"

namespace zerud {
namespace {

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

}  // namespace

TOptionsPanel::TOptionsPanel(QWidget* board)
    : TPicturePanel(OptionsPanelPicture(), skin::kLightBlue, board) {
  setObjectName(QStringLiteral("PanelOptions"));
  setGeometry(0, 65, 800, 536);
  hide();

  const QFont tahoma13 = skin::CaptionFont();
  const QString captionStyle = QStringLiteral("background: %1;").arg(skin::Css(skin::kLavender));
  auto caption = [&](const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = AddLabel(this, text, geometry, QString::fromLatin1(name));
    label->setFont(tahoma13);
    label->setStyleSheet(captionStyle);
  };
  // A track bar at (47, top), 347 x 20.
  auto trackBar = [this](const char* name, TBarRange range, int top) {
    QSlider* bar = new TTrackBar(range.Minimum, range.Maximum, range.Initial, this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(47, top, 347, 20);
    return bar;
  };
  caption("Label1", QStringLiteral(" Opacité des pions"), QRect(48, 72, 345, 19));
  tbOpacite = trackBar("tbOpacite", kOpacity, 91);

  caption("Label2", QStringLiteral(" Vitesse d'animation"), QRect(48, 156, 345, 19));
  tbVitesse = trackBar("tbVitesse", kSpeed, 175);

  caption("Label3", QStringLiteral(" Niveau de réflexion de la machine"), QRect(48, 238, 345, 19));
  auto* gradient = new TGradientBar(this);
  gradient->setObjectName(QStringLiteral("GradientBar"));
  gradient->setGeometry(48, 257, 345, 14);
  const QFont tahoma11 = skin::SmallFont();
  const struct {
    const char* text;
    int left;
  } levels[] = {{"Débutant", 50}, {"Intermédiaire", 136}, {"Avancé", 257}, {"Expert", 360}};
  for (const auto& level : levels) {
    auto* label = new QLabel(QString::fromUtf8(level.text), this);
    label->setObjectName(QStringLiteral("Level") + QString::fromUtf8(level.text));
    label->setFont(tahoma11);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->adjustSize();
    label->setGeometry(level.left, 257, label->width(), 13);
  }
  tbNiveau = trackBar("tbNiveau", kLevel, 271);

  caption("Label4", QStringLiteral(" Mode du jeu"), QRect(47, 358, 346, 19));
  auto* shape = new QFrame(this);
  shape->setObjectName(QStringLiteral("Shape1"));
  shape->setGeometry(47, 376, 346, 74);
  shape->setStyleSheet(QStringLiteral("QFrame { background: %1; border: 1px solid %2; }")
                           .arg(skin::Css(skin::kLightBlue), skin::Css(skin::kLavender)));
  // The radio boxes are drawn in the skin's own 11 px font: in the panel's
  // 13 px their captions would not fit their 149 pixels.
  const struct {
    QRadioButton* TOptionsPanel::*member;
    const char* name;
    const char* caption;
    int top;
  } modes[] = {{&TOptionsPanel::cbMachine, "cbMachine", "Joueur contre la machine", 387},
               {&TOptionsPanel::cbJoueursHumains, "cbJoueursHumains", "2 joueurs humains", 411}};
  for (const auto& m : modes) {
    auto* box = new QRadioButton(QString::fromUtf8(m.caption), this);
    box->setObjectName(QString::fromLatin1(m.name));
    box->setGeometry(63, m.top, 149, 25);
    box->setFont(tahoma11);
    this->*m.member = box;
  }
  cbMachine->setChecked(true);

  bnFermer = new TSelButton(this);
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
}

}  // namespace zerud
