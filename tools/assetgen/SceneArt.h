// The start-up picture and the board's background.
#pragma once

#include <QImage>

namespace zerud::art {

// 387 x 321: the title over a perspective view of a grid of red and yellow
// pieces, drawn from the game's own grid and piece pictures.
QImage DrawSplash(const QImage& grid, const QImage& yellow, const QImage& red);

// 800 x 600: a calm backdrop for the board at (266, 149)-(756, 569), with a
// rail for the column targets at y 69..139.
QImage DrawBackground();

}  // namespace zerud::art
