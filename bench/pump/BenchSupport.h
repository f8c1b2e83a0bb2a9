// What the benchmarks that show a main window share.
#pragma once

#include <QtGlobal>

namespace zerud::bench {

// The window is drawn offscreen unless a display is chosen; call it before
// the application object is made.
inline void PreferOffscreen() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

}  // namespace zerud::bench
