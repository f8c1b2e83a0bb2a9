#include "game/window/TrackBar.h"

#include <QProxyStyle>

namespace zerud {

namespace {

// The left button sets the value at the clicked point instead of paging.
class TAbsoluteSetStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

TTrackBar::TTrackBar(int minimum, int maximum, int value, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
  auto* style = new TAbsoluteSetStyle;
  style->setParent(this);
  setStyle(style);
  setRange(minimum, maximum);
  setValue(value);
  setPageStep(1);
  setTracking(true);
}

}  // namespace zerud
