#include "app/FormSplash.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>

#include "app/WindowLook.h"
#include "assets/Pictures.h"
#include "controls/ButtonComps.h"

namespace zerud {

TFormSplash::TFormSplash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  PrepareWindow(this, QStringLiteral("FormSplash"), kCaption, Qt::black);
  setFixedSize(kClientWidth, kClientHeight);

  // The picture control takes the picture's own size.
  const QImage picture = SplashPicture();
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(QPixmap::fromImage(picture));
  Image1->setGeometry(0, 0, picture.width(), picture.height());

  bnFermer = new TSelButton(this, QStringLiteral("bnFermer"));
  bnFermer->setGeometry(195, 327, 193, 21);
  bnFermer->setCursor(Qt::PointingHandCursor);
  bnFermer->SetColor(skin::kLavender);
  bnFermer->SetColorBorder(skin::kNavy);
  bnFermer->SetColorOver(skin::kLightBlue);
  bnFermer->SetColorDown(skin::kLightBlue);
  bnFermer->SetColorOverCaption(Qt::black);
  bnFermer->SetAlignment(TSelButton::kAlignCenter);
  bnFermer->SetBorderWidth(1);
  bnFermer->setFont(skin::CaptionFont());
  bnFermer->SetFontColor(Qt::white);
  bnFermer->SetCaption(kFermerCaption);
  connect(bnFermer, &TSelButton::OnClick, this, &TFormSplash::bnFermerClick);
}

int TFormSplash::ShowModal() {
  if (QScreen* desktop = screen()) move(CentredTopLeft(desktop->geometry(), size()));
  return exec();
}

// done() hides the window without a close event, which closeEvent refuses.
void TFormSplash::bnFermerClick() { done(QDialog::Accepted); }

void TFormSplash::reject() {}

void TFormSplash::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace zerud
