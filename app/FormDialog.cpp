#include "app/FormDialog.h"

#include <QLabel>
#include <QScreen>

#include "app/Shape.h"
#include "app/WindowLook.h"
#include "controls/ButtonComps.h"

namespace zerud {
namespace {

const QColor kBlue(0, 66, 217);
const QColor kButtonFace(144, 178, 255);

TEncartaButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry) {
  auto* button = new TEncartaButton(parent, name);
  button->setGeometry(geometry);
  button->setCursor(Qt::PointingHandCursor);
  button->SetColor(kButtonFace);
  button->SetColorBorder(kBlue);
  button->SetColorOver(kBlue);
  button->SetColorDown(kBlue);
  button->SetColorOverCaption(Qt::black);
  button->SetShowCaption(true);
  button->setFont(PixelFont(QStringLiteral("Tahoma"), 13));
  button->SetFontColor(Qt::black);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TFormDialog::TFormDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  PrepareWindow(this, QStringLiteral("FormDialog"), kCaption, kBlue);
  setFixedSize(kClientWidth, kClientHeight);

  // Back to front: the outlined rectangle, the question, the two buttons.
  Shape1 = new TShape(this, QColor(208, 223, 255), Qt::black);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setGeometry(0, 0, kClientWidth, kClientHeight);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(3, 3, 230, 39);
  Label1->setAutoFillBackground(true);
  QPalette label = Label1->palette();
  label.setColor(QPalette::Window, kBlue);
  label.setColor(QPalette::WindowText, Qt::white);
  Label1->setPalette(label);
  Label1->setFont(PixelFont(QStringLiteral("Tahoma"), 13));
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
  move(CenteredIn(over, size()));
  setResult(kNon);
  const int result = exec();
  return result == kOui ? kOui : kNon;
}

void TFormDialog::bnOuiClick() { done(kOui); }

void TFormDialog::bnNonClick() { done(kNon); }

void TFormDialog::reject() { done(kNon); }

}  // namespace zerud
