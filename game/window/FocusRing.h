// The frame around the control that Tab has reached, drawn over the whole
// window so no panel hides it. A control the mouse gave the focus to shows
// none, as the player sees where he clicked. The board's frame goes around
// the grid and its column targets.
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace zerud {

class TFocusRing : public QWidget {
  Q_OBJECT

 public:
  // boardArea: where the board's frame goes, in the board's pixels.
  TFocusRing(QWidget* window, QWidget* board, const QRect& boardArea);

  // The control Tab has reached, while it keeps the focus; null otherwise.
  QWidget* Reached() const { return reached_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QWidget* board_;
  QRect boardArea_;
  QPointer<QWidget> reached_;
};

}  // namespace zerud
