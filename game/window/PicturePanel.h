// A panel filled by a picture, or by its colour where the picture is
// missing: the left column and the options panel.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace zerud {

class TPicturePanel : public QWidget {
 public:
  TPicturePanel(const QImage& picture, QColor colour, QWidget* parent)
      : QWidget(parent), picture_(picture), colour_(colour) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    painter.drawImage(0, 0, picture_);
  }

 private:
  QImage picture_;
  QColor colour_;
};

}  // namespace zerud
