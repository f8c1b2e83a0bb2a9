// The network window's controls, their places, captions and colours.
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

#include "controls/ButtonComps.h"
#include "network/FormReseau.h"
#include "platform/Fonts.h"

namespace zerud {
namespace {

const QColor kWindowColour(144, 178, 255);
const QColor kPanelColour(208, 223, 255);
const QColor kFieldColour(144, 178, 255);
const QColor kButtonAccent(0, 66, 217);

// The rectangles painted under the controls, in their order from the back,
// with their brushes; each is outlined by a one-pixel black pen.
struct TShapeRect {
  QRect place;
  const QColor& brush;
};
const TShapeRect kShapes[] = {
    {{0, 0, TFormReseau::kClientWidth, TFormReseau::kClientHeight}, kPanelColour},  // Shape3
    {{3, 3, 306, 50}, kPanelColour},                                                // Shape1
    {{3, 55, 306, 81}, kPanelColour},                                               // Shape2
    {{112, 85, 193, 20}, kFieldColour},                                             // Shape4
    {{112, 106, 193, 20}, kFieldColour},                                            // Shape5
};

QFont Tahoma(int pixelHeight) { return PixelFont(QStringLiteral("Tahoma"), pixelHeight); }

void BlackText(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::ButtonText, Qt::black);
  widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  auto* label = new QLabel(parent);
  // Plain text always: the address label shows what the system answered.
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setFont(Tahoma(13));
  BlackText(label);
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(place);
  edit->setFrame(false);
  edit->setFont(Tahoma(13));
  edit->setTextMargins(0, 0, 0, 0);
  QPalette palette = edit->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::Base, kFieldColour);
  edit->setPalette(palette);
  return edit;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, int fontHeight,
                        const QRect& place) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QString::fromLatin1(name));
  radio->setGeometry(place);
  radio->setFont(Tahoma(fontHeight));
  radio->setCursor(Qt::PointingHandCursor);
  BlackText(radio);
  return radio;
}

// Where Tahoma is missing its stand-in is wider, and a caption measured in
// Tahoma would lose its end. The box keeps its place and grows to the right
// up to `right` (the inside of its panel's outline); if the caption is still
// too long, its letters close up until it shows whole.
void ShowWholeCaption(QRadioButton* radio, int right) {
  const int room = right - radio->x();
  if (radio->sizeHint().width() <= radio->width()) return;
  radio->resize(std::min(room, radio->sizeHint().width()), radio->height());
  QFont font = radio->font();
  for (int spacing = 99; radio->sizeHint().width() > radio->width() && spacing >= 80; --spacing) {
    font.setLetterSpacing(QFont::PercentageSpacing, spacing);
    radio->setFont(font);
  }
}

TEncartaButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                           const QRect& place) {
  auto* button = new TEncartaButton(parent, QString::fromLatin1(name));
  button->setGeometry(place);
  button->setFont(Tahoma(13));
  button->SetCaption(caption);
  button->SetColor(kWindowColour);
  button->SetColorBorder(kButtonAccent);
  button->SetColorOver(kButtonAccent);
  button->SetColorDown(kButtonAccent);
  button->SetColorOverCaption(Qt::black);
  button->SetFontColor(Qt::black);
  button->setCursor(Qt::PointingHandCursor);
  button->SetEnabled(true);
  return button;
}

}  // namespace

void TFormReseau::BuildControls() {
  setObjectName(QStringLiteral("FormReseau"));
  setWindowTitle(QStringLiteral("Réseau"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(kClientWidth, kClientHeight);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kWindowColour);
  setPalette(palette);
  setAutoFillBackground(true);

  RadioServeur =
      MakeRadio(this, "RadioServeur", QStringLiteral("Créer une partie en réseau [MODE SERVEUR] "),
                12, {6, 6, 299, 22});
  RadioClient = MakeRadio(this, "RadioClient",
                          QStringLiteral("Rejoindre une partie  en réseau [MODE CLIENT]"), 13,
                          {6, 27, 299, 22});
  RadioServeur->setChecked(true);
  // Shape1's outline is the column at x = 3 + 306 - 1.
  for (QRadioButton* radio : {RadioServeur, RadioClient}) ShowWholeCaption(radio, 308);

  LabelAdresseIP =
      MakeLabel(this, "LabelAdresseIP", QStringLiteral("Adresse IP :"), {8, 65, 70, 16});
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Nom du serveur"), {8, 86, 91, 16});
  EditNomServeur = MakeEdit(this, "EditNomServeur", QString(), {115, 86, 189, 18});
  Label5 = MakeLabel(this, "Label5", QStringLiteral("Numéro de port"), {8, 107, 90, 16});
  EditNumeroPort =
      MakeEdit(this, "EditNumeroPort", QString::number(kDefaultPort), {115, 107, 189, 18});

  bnConnexion = MakeButton(this, "bnConnexion", QStringLiteral("Connexion"), {3, 139, 86, 22});
  bnDeconnexion =
      MakeButton(this, "bnDeconnexion", QStringLiteral("Déconnexion"), {94, 139, 86, 22});
  bnFermer = MakeButton(this, "bnFermer", QStringLiteral("Fermer"), {241, 139, 68, 22});
  bnFermer->setToolTip(QStringLiteral("Fermer cette fenêtre"));

  // Tab order: the server name, the port, then the two role boxes.
  setTabOrder(EditNomServeur, EditNumeroPort);
  setTabOrder(EditNumeroPort, RadioClient);
  setTabOrder(RadioClient, RadioServeur);
  // The role boxes keep their place in the order but never take the focus.
  RadioServeur->setFocusPolicy(Qt::NoFocus);
  RadioClient->setFocusPolicy(Qt::NoFocus);

  connect(RadioServeur, &QRadioButton::clicked, this, &TFormReseau::RadioServeurClick);
  connect(RadioClient, &QRadioButton::clicked, this, &TFormReseau::RadioClientClick);
  connect(bnConnexion, &TEncartaButton::OnClick, this, &TFormReseau::bnConnexionClick);
  connect(bnDeconnexion, &TEncartaButton::OnClick, this, &TFormReseau::bnDeconnexionClick);
  connect(bnFermer, &TEncartaButton::OnClick, this, &TFormReseau::bnFermerClick);
}

void TFormReseau::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  for (const TShapeRect& shape : kShapes) {
    painter.setBrush(shape.brush);
    painter.drawRect(shape.place.adjusted(0, 0, -1, -1));
  }
}

}  // namespace zerud
