// The message log's icons and the program's icon.
#pragma once

#include <QImage>
#include <QList>

namespace zerud::art {

// The four 20 x 20 icons of the log, Format_ARGB32 with alpha 0 or 255:
// 0 grey gear, 1 person in blue, 2 computer screen, 3 person in pink.
QList<QImage> DrawLogIcons();
// The same four in the high-contrast style: each person carries a small
// piece of its colour with that colour's mark (a ring on red for player 1,
// a cross on yellow for player 2).
QList<QImage> DrawContrastLogIcons();

// 32 x 32: the short title "Z4" in dark lettering on white; at most 256 colours.
QImage DrawProgramIcon();

// The same art at side x side with its anti-aliased alpha kept, for the
// desktop's icon theme.
QImage DrawProgramIconArt(int side);

// The sizes of the desktop icons, each written as icon_<side>.png.
inline constexpr int kDesktopIconSides[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace zerud::art
