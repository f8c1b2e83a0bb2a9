// The network window's controls, their places, captions and colours.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

#include "controls/ButtonComps.h"
#include "network/FormReseau.h"
#include "platform/Skin.h"

namespace zerud {
namespace {

const QColor& kWindowColour = skin::kMidBlue;
const QColor& kPanelColour = skin::kPaleBlue;
const QColor& kFieldColour = skin::kMidBlue;
const QColor& kButtonAccent = skin::kRoyalBlue;

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
  label->setFont(skin::CaptionFont());
  BlackText(label);
  return label;
}

void FieldLook(QWidget* field, const char* name, const QRect& place) {
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(place);
  field->setFont(skin::CaptionFont());
  QPalette palette = field->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, kFieldColour);
    palette.setColor(group, QPalette::Button, kFieldColour);
  }
  field->setPalette(palette);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  auto* edit = new QLineEdit(text, parent);
  edit->setFrame(false);
  edit->setTextMargins(0, 0, 0, 0);
  FieldLook(edit, name, place);
  return edit;
}

// The server's name or address, typed as in a plain field, or chosen from
// the servers found on the local network.
QComboBox* MakeServerBox(QWidget* parent, const char* name, const QRect& place) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setFrame(false);
  // What is typed stays as typed: never completed from the list, never
  // added to it.
  box->setCompleter(nullptr);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->lineEdit()->setTextMargins(0, 0, 0, 0);
  FieldLook(box, name, place);
  // A row too long for the list loses its middle, not its address.
  box->view()->setTextElideMode(Qt::ElideMiddle);
  return box;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, const QFont& font,
                        const QRect& place) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QString::fromLatin1(name));
  radio->setGeometry(place);
  radio->setFont(font);
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
  button->setFont(skin::CaptionFont());
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

  // The server's caption is a pixel smaller than the client's to fit its box.
  // clang-format off
  const struct {
    QRadioButton* TFormReseau::*member;
    const char* name;
    const char* caption;
    QFont font;
    QRect place;
    void (TFormReseau::*click)();
  } radios[] = {
      {&TFormReseau::RadioServeur, "RadioServeur", "Créer une partie en réseau [MODE SERVEUR] ",
       skin::NarrowCaptionFont(), {6, 6, 299, 22}, &TFormReseau::RadioServeurClick},
      {&TFormReseau::RadioClient, "RadioClient", "Rejoindre une partie  en réseau [MODE CLIENT]",
       skin::CaptionFont(), {6, 27, 299, 22}, &TFormReseau::RadioClientClick},
  };
  // clang-format on
  for (const auto& r : radios) {
    QRadioButton* radio = MakeRadio(this, r.name, QString::fromUtf8(r.caption), r.font, r.place);
    // Shape1's outline is the column at x = 3 + 306 - 1.
    ShowWholeCaption(radio, 308);
    connect(radio, &QRadioButton::clicked, this, r.click);
    this->*r.member = radio;
  }
  RadioServeur->setChecked(true);

  // clang-format off
  const struct {
    QLabel* TFormReseau::*member;
    const char* name;
    const char* text;
    QRect place;
  } labels[] = {
      {&TFormReseau::LabelAdresseIP, "LabelAdresseIP", "Adresse IP :", {8, 65, 70, 16}},
      {&TFormReseau::Label3, "Label3", "Nom du serveur", {8, 86, 91, 16}},
      {&TFormReseau::Label5, "Label5", "Numéro de port", {8, 107, 90, 16}},
  };
  // clang-format on
  for (const auto& l : labels)
    this->*l.member = MakeLabel(this, l.name, QString::fromUtf8(l.text), l.place);
  EditNomServeur = MakeServerBox(this, "EditNomServeur", {115, 86, 189, 18});
  EditNumeroPort =
      MakeEdit(this, "EditNumeroPort", QString::number(kDefaultPort), {115, 107, 189, 18});
  // A screen reader names each field after its label.
  Label3->setBuddy(EditNomServeur);
  Label5->setBuddy(EditNumeroPort);

  // clang-format off
  const struct {
    TEncartaButton* TFormReseau::*member;
    const char* name;
    const char* caption;
    QRect place;
    void (TFormReseau::*click)();
  } buttons[] = {
      {&TFormReseau::bnConnexion, "bnConnexion", "Connexion", {3, 139, 86, 22},
       &TFormReseau::bnConnexionClick},
      {&TFormReseau::bnDeconnexion, "bnDeconnexion", "Déconnexion", {94, 139, 86, 22},
       &TFormReseau::bnDeconnexionClick},
      {&TFormReseau::bnFermer, "bnFermer", "Fermer", {241, 139, 68, 22},
       &TFormReseau::bnFermerClick},
  };
  // clang-format on
  for (const auto& b : buttons) {
    TEncartaButton* button = MakeButton(this, b.name, QString::fromUtf8(b.caption), b.place);
    connect(button, &TEncartaButton::OnClick, this, b.click);
    this->*b.member = button;
  }
  bnFermer->setToolTip(QStringLiteral("Fermer cette fenêtre"));

  // Tab order: the server name, the port, then the two role boxes.
  setTabOrder(EditNomServeur, EditNumeroPort);
  setTabOrder(EditNumeroPort, RadioClient);
  setTabOrder(RadioClient, RadioServeur);
  // The role boxes keep their place in the order but never take the focus.
  RadioServeur->setFocusPolicy(Qt::NoFocus);
  RadioClient->setFocusPolicy(Qt::NoFocus);
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
