// Pictures shaped like the board's own: a blue grid with a transparent disc in
// each cell and 70 x 70 pieces, an opaque disc on transparent corners.
#pragma once

#include <QImage>
#include <QPainter>

#include "game/board/BoardView.h"

namespace zerud::test {

inline constexpr QRgb kGridBlue = 0xFF1030C0;
inline constexpr QRgb kYellow = 0xFFF0DC00;
inline constexpr QRgb kRed = 0xFFDC0000;
inline constexpr QRgb kYellowTicked = 0xFFF0F080;
inline constexpr QRgb kRedTicked = 0xFF800000;

inline QImage Piece(QRgb colour) {
  QImage piece(70, 70, QImage::Format_ARGB32);
  piece.fill(Qt::transparent);
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 70; ++x) {
      const double dx = x - 34.0, dy = y - 34.0;
      if (dx * dx + dy * dy <= 28.5 * 28.5) piece.setPixel(x, y, colour);
    }
  }
  return piece;
}

inline QImage Grid() {
  QImage grid(490, 420, QImage::Format_ARGB32);
  for (int y = 0; y < 420; ++y) {
    for (int x = 0; x < 490; ++x) {
      const double dx = x % 70 - 34.0, dy = y % 70 - 34.0;
      grid.setPixel(x, y, dx * dx + dy * dy <= 27.5 * 27.5 ? 0x00000000u : kGridBlue);
    }
  }
  return grid;
}

inline TBoardPictures Pictures() {
  return {Grid(), Piece(kYellow), Piece(kRed), Piece(kYellowTicked), Piece(kRedTicked)};
}

}  // namespace zerud::test
