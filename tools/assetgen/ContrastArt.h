// The board's pictures in the high-contrast style: a white grid whose holes
// have black rims, over a black background, and pieces that differ by a
// shape as well as a colour: a ring on red, a cross on yellow, in black
// strokes. A winning piece keeps its mark under a white check outlined in
// black, unlike either mark.
#pragma once

#include <QColor>
#include <QImage>

namespace zerud::art {

// Light enough for 7:1 against the black of the holes and the marks.
inline const QColor kContrastRed(255, 110, 110);
inline const QColor kContrastYellow(255, 225, 0);
inline const QColor kContrastGrid(255, 255, 255);
inline const QColor kContrastInk(0, 0, 0);

// 490 x 420, Format_ARGB32, a transparent hole in every cell.
QImage DrawContrastGrid();

// 70 x 70, Format_ARGB32, the same alpha channel as every piece.
QImage DrawContrastPiece(bool red, bool ticked);

}  // namespace zerud::art
