#pragma once

#include <QColor>
#include <QWidget>

namespace zerud {

// A filled rectangle outlined by a one-pixel pen, drawn over its whole
// rectangle; it takes no mouse input.
class TShape : public QWidget {
  Q_OBJECT

 public:
  TShape(QWidget* parent, const QColor& brush, const QColor& pen);

  QColor Brush() const { return brush_; }
  QColor Pen() const { return pen_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor brush_;
  QColor pen_;
};

}  // namespace zerud
