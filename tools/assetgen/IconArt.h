// The message log's icons and the program's icon.
#pragma once

#include <QImage>
#include <QList>

namespace zerud::art {

// The four 20 x 20 icons of the log, Format_ARGB32 with alpha 0 or 255:
// 0 grey gear, 1 person in blue, 2 computer screen, 3 person in pink.
QList<QImage> DrawLogIcons();

// 32 x 32: the short title "Z4" in dark lettering on white; at most 256 colours.
QImage DrawProgramIcon();

}  // namespace zerud::art
