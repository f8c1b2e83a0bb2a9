#include "app/FormDialog.h"

#include <QLabel>
#include <QScreen>

#include "app/Shape.h"
#include "app/WindowLook.h"
#include "controls/ButtonComps.h"

namespace zerud {
namespace {

TEncartaButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry) {
  auto* button = new TEncartaButton(parent, name);
  button->setGeometry(geometry);
  button->setCursor(Qt::PointingHandCursor);
  button->SetColor(skin::kMidBlue);
  button->SetColorBorder(skin::kRoyalBlue);
  button->SetColorOver(skin::kRoyalBlue);
  button->SetColorDown(skin::kRoyalBlue);
  button->SetColorOverCaption(Qt::black);
  button->SetShowCaption(true);
  button->setFont(skin::CaptionFont());
  button->SetFontColor(Qt::black);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TFormDialog::TFormDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  PrepareWindow(this, QStringLiteral("FormDialog"), kCaption, skin::kRoyalBlue);
  setFixedSize(kClientWidth, kClientHeight);

  // Back to front: the outlined rectangle, the question, the two buttons.
  Shape1 = new TShape(this, skin::kPaleBlue, Qt::black);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setGeometry(0, 0, kClientWidth, kClientHeight);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(3, 3, 230, 39);
  Label1->setAutoFillBackground(true);
  QPalette label = Label1->palette();
  label.setColor(QPalette::Window, skin::kRoyalBlue);
  label.setColor(QPalette::WindowText, Qt::white);
  Label1->setPalette(label);
  Label1->setFont(skin::CaptionFont());
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Label1->setWordWrap(true);
  Label1->setTextFormat(Qt::PlainText);
  Label1->setText(kQuestion);

  bnOui = MakeButton(this, QStringLiteral("bnOui"), QStringLiteral("Oui"), QRect(110, 44, 60, 20));
  bnNon = MakeButton(this, QStringLiteral("bnNon"), QStringLiteral("Non"), QRect(173, 44, 60, 20));
  connect(bnOui, &TEncartaButton::OnClick, this, &TFormDialog::bnOuiClick);
  connect(bnNon, &TEncartaButton::OnClick, this, &TFormDialog::bnNonClick);
}

int TFormDialog::ShowModal() {
  QRect over;
  if (mainWindow_)
    over = mainWindow_->frameGeometry();
  else if (QScreen* desktop = screen())
    over = desktop->geometry();
  move(CentredTopLeft(over, size()));
  setResult(kNon);
  const int result = exec();
  return result == kOui ? kOui : kNon;
}

void TFormDialog::bnOuiClick() { done(kOui); }

void TFormDialog::bnNonClick() { done(kNon); }

void TFormDialog::reject() { done(kNon); }

}  // namespace zerud
