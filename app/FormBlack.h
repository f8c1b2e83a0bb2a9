#pragma once

#include <QPointer>
#include <QWidget>

namespace zerud {

// The black backdrop behind the game: a borderless window over the whole
// screen, shown at start-up and never hidden. Whenever it becomes the active
// window (the player clicked the black around the main window), it brings
// the main window back to the front.
class TFormBlack : public QWidget {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Zerud uravizera 4");

  explicit TFormBlack(QWidget* parent = nullptr);

  // The window brought to the front on activation.
  void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

  // Covers the screen the window is on (its whole geometry, not only the
  // part left free by panels; full screen on Wayland), shows the window and
  // paints it at once, so the screen is black before anything else appears.
  void ShowBackdrop();

  // Activation handler: raises and activates the main window when it is
  // shown; does nothing else.
  void FormActivate();

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPointer<QWidget> mainWindow_;
};

}  // namespace zerud
