#pragma once

#include <QDialog>

class QLabel;

namespace zerud {

class TSelButton;

// The start-up picture: a borderless window that stays on top, centred on
// the desktop, shown modally once at start-up. Its one button is the only
// way out: Escape and the window manager's close request are ignored.
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

  // Escape lands here; it leaves the picture up.
  void reject() override;

 protected:
  // A close request from the window manager leaves the picture up too.
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace zerud
