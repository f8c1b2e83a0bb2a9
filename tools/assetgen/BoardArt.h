// The board's 32-bit pictures: the grid overlay and the four pieces.
#pragma once

#include <QColor>
#include <QImage>

namespace zerud::art {

inline constexpr int kCell = 70;
inline constexpr int kColumns = 7;
inline constexpr int kRows = 6;
static_assert(kColumns * kCell == 490 && kRows * kCell == 420);

// Inside a 70-pixel cell both the hole and the piece are centred on 34.5:
// the hole spans pixels 7..61 (radius 27.5), the piece pixels 6..62
// (radius 28.5), so the piece's outermost ring lies under the grid.
inline constexpr double kCellCentre = 34.5;
inline constexpr double kHoleRadius = 27.5;
inline constexpr double kPieceRadius = 28.5;

// The blue grid, 490 x 420, Format_ARGB32: opaque frame, a transparent hole
// with an anti-aliased edge in every cell.
QImage DrawGridOverlay();

// A glossy piece of the given colour, 70 x 70, Format_ARGB32, with a black
// tick mark when asked; every piece has the same alpha channel.
QImage DrawPiece(const QColor& colour, bool ticked);

// An opaque 70 x 70 picture cut to a piece's disc, Format_ARGB32.
QImage CutPiece(const QImage& colours);
// An opaque 490 x 420 picture with a hole cut in every cell, Format_ARGB32.
QImage CutHoles(const QImage& colours);

}  // namespace zerud::art
