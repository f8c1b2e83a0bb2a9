#pragma once

#include <QDialog>

class QLabel;

namespace zerud {

class TSelButton;

// The start-up picture: a borderless window that stays on top, centred on
// the desktop, shown modally once at start-up. Its one button closes it.
class TFormSplash : public QDialog {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Zerud uravizera4");
  static inline const QString kFermerCaption = QStringLiteral("Fermer");
  static constexpr int kClientWidth = 387;
  static constexpr int kClientHeight = 354;

  explicit TFormSplash(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;
  TSelButton* bnFermer = nullptr;

  // Centres the window on the desktop and shows it modally; returns once it
  // is closed.
  int ShowModal();

  void bnFermerClick();
};

}  // namespace zerud
