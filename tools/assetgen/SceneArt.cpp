#include "SceneArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include "Art.h"
#include "BoardArt.h"

namespace zerud::art {

namespace {

// The board as the player sees it late in a game: pieces under the grid.
QImage FilledBoard(const QImage& grid, const QImage& yellow, const QImage& red) {
  // Top row first; "." empty, "r" red, "y" yellow.
  const char* rows[kRows] = {"..y....", "..r.y..", ".yry.r.", ".ryr.y.", "yryyrr.", "rryryyr"};
  QImage board = Canvas(grid.width(), grid.height(), QColor(18, 30, 70));
  QPainter p(&board);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const char cell = rows[r][c];
      if (cell == '.') continue;
      p.drawImage(c * kCell, r * kCell, cell == 'r' ? red : yellow);
    }
  }
  p.drawImage(0, 0, grid);
  return board;
}

}  // namespace

QImage DrawSplash(const QImage& grid, const QImage& yellow, const QImage& red) {
  QImage image = Canvas(387, 321, Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);

  QRadialGradient sky(QPointF(193, 150), 260, QPointF(193, 110));
  sky.setColorAt(0, QColor(40, 70, 170));
  sky.setColorAt(0.6, QColor(12, 24, 80));
  sky.setColorAt(1, QColor(2, 4, 20));
  p.fillRect(image.rect(), sky);

  // The board turned away to the right, standing on a faint reflection.
  const QImage board = FilledBoard(grid, yellow, red);
  const double w = board.width();
  const double h = board.height();
  const QPolygonF flat({QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)});
  const QPolygonF seen({QPointF(38, 96), QPointF(330, 128), QPointF(330, 282), QPointF(38, 306)});
  QTransform view;
  QTransform::quadToQuad(flat, seen, view);
  QPainterPath floor;
  floor.addPolygon(
      QPolygonF({QPointF(38, 306), QPointF(330, 282), QPointF(387, 321), QPointF(0, 321)}));
  const QLinearGradient floorFill =
      TwoStop(QLinearGradient(0, 282, 0, 321), QColor(30, 50, 120, 160), QColor(0, 0, 0, 0));
  p.fillPath(floor, floorFill);
  p.setTransform(view);
  p.drawImage(0, 0, board);
  p.resetTransform();
  // Depth of the board: its right edge seen from the side.
  const QLinearGradient side =
      TwoStop(QLinearGradient(330, 0, 342, 0), QColor(14, 40, 120), QColor(40, 90, 200));
  p.setPen(Qt::NoPen);
  p.setBrush(side);
  p.drawPolygon(
      QPolygonF({QPointF(330, 128), QPointF(342, 126), QPointF(342, 280), QPointF(330, 282)}));

  // Title.
  QFont title = Font(QStringLiteral("DejaVu Sans"), 34, true);
  p.setFont(title);
  const QRectF titleBox(0, 14, 387, 52);
  const QString text = QStringLiteral("Zerud uravizera4");
  QPainterPath letters;
  const QFontMetricsF metrics(title);
  const double x = (387 - metrics.horizontalAdvance(text)) / 2;
  letters.addText(x, titleBox.top() + 40, title, text);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 160));
  p.drawPath(letters.translated(2, 3));
  QLinearGradient gold(0, titleBox.top() + 8, 0, titleBox.top() + 44);
  gold.setColorAt(0, QColor(255, 250, 200));
  gold.setColorAt(0.5, kYellow);
  gold.setColorAt(1, QColor(230, 120, 20));
  p.setBrush(gold);
  p.setPen(QPen(QColor(120, 20, 10), 1.2));
  p.drawPath(letters);
  p.end();
  Dither(image, 1, 21);
  return image;
}

QImage DrawBackground() {
  QImage image = Canvas(800, 600, QColor(196, 212, 246), QColor(120, 146, 206));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  QRadialGradient glow(QPointF(511, 340), 420);
  glow.setColorAt(0, QColor(255, 255, 255, 70));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(image.rect(), glow);

  // The board's soft shadow; the holes show the calm backing behind the grid.
  const QRectF board(266, 149, 490, 420);
  for (int i = 10; i >= 1; --i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 80, 9));
    p.drawRoundedRect(board.adjusted(-i + 4, -i + 6, i + 4, i + 6), i + 2, i + 2);
  }
  const QLinearGradient backing = TwoStop(QLinearGradient(board.topLeft(), board.bottomLeft()),
                                          QColor(214, 226, 250), QColor(168, 188, 232));
  p.fillRect(board, backing);

  // The rail above the board where the next piece waits over its column.
  const QRectF rail(266, 69, 490, 70);
  p.setPen(QPen(QColor(255, 255, 255, 110), 1));
  p.setBrush(QColor(255, 255, 255, 46));
  p.drawRoundedRect(rail.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  for (int c = 0; c < kColumns; ++c) {
    const double cx = 266 + c * kCell + kCell / 2.0;
    QPainterPath arrow;
    arrow.moveTo(cx - 7, 126);
    arrow.lineTo(cx, 133);
    arrow.lineTo(cx + 7, 126);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 80, 160, 90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
  }
  p.end();
  Dither(image, 1, 31);
  return image;
}

}  // namespace zerud::art
