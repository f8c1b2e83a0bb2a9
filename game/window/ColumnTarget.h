#pragma once

#include <QLabel>

namespace zerud {

// A transparent label over one column of the grid. A click plays in the
// column given by Tag; moving the mouse over it shows the next piece there.
// Disabled, it gets neither clicks nor mouse movement.
class TColumnTarget : public QLabel {
  Q_OBJECT

 public:
  TColumnTarget(int tag, QWidget* parent);

  int Tag() const { return tag_; }

 signals:
  void Clicked(int tag);
  void MouseMoved(int tag);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int tag_;
  bool pressed_ = false;
};

}  // namespace zerud
