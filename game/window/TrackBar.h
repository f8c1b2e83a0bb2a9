#pragma once

#include <QSlider>

namespace zerud {

// A horizontal track bar whose thumb jumps straight to the clicked point and
// then follows the mouse while the button is held.
class TTrackBar : public QSlider {
  Q_OBJECT

 public:
  TTrackBar(int minimum, int maximum, int value, QWidget* parent);
};

}  // namespace zerud
