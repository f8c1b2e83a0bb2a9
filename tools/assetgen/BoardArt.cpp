#include "BoardArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Art.h"

namespace zerud::art {

namespace {

// Replaces the alpha channel of an opaque colour picture; the colours stay
// as drawn (not premultiplied), as the stored format wants.
QImage WithAlpha(const QImage& colours, auto alphaAt) {
  QImage out = colours.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), alphaAt(x, y));
    }
  }
  return out;
}

int PieceAlpha(int x, int y) {
  return int(std::lround(255 * DiscCoverage(x, y, kCellCentre, kCellCentre, kPieceRadius)));
}

}  // namespace

QImage CutPiece(const QImage& colours) { return WithAlpha(colours, PieceAlpha); }

QImage CutHoles(const QImage& colours) {
  return WithAlpha(colours, [](int x, int y) {
    const double cover = DiscCoverage(x % kCell, y % kCell, kCellCentre, kCellCentre, kHoleRadius);
    return int(std::lround(255 * (1.0 - cover)));
  });
}

QImage DrawGridOverlay() {
  const int width = kColumns * kCell;
  const int height = kRows * kCell;
  QImage colours = Canvas(width, height, kGridBlue);
  {
    QPainter p(&colours);
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient body =
        TwoStop(QLinearGradient(0, 0, 0, height), QColor(52, 108, 222), QColor(26, 66, 172));
    p.fillRect(colours.rect(), body);

    // Each hole sits in a bevelled collar: shadowed where the light from the
    // top left cannot reach, lit on the opposite side.
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        const QPointF centre(c * kCell + kCellCentre, r * kCell + kCellCentre);
        const QLinearGradient collar =
            TwoStop(QLinearGradient(centre - QPointF(24, 24), centre + QPointF(24, 24)),
                    QColor(14, 40, 122), QColor(120, 168, 248));
        p.setPen(Qt::NoPen);
        p.setBrush(collar);
        p.drawEllipse(centre, kHoleRadius + 3.5, kHoleRadius + 3.5);
        const QLinearGradient rim =
            TwoStop(QLinearGradient(centre - QPointF(24, 24), centre + QPointF(24, 24)),
                    QColor(140, 186, 255), QColor(20, 52, 140));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(rim, 1.2));
        p.drawEllipse(centre, kHoleRadius + 3.6, kHoleRadius + 3.6);
      }
    }
    // Outer frame: a dark edge with a light line inside it.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(12, 34, 110), 2));
    p.drawRect(QRectF(1, 1, width - 2, height - 2));
    p.setPen(QPen(QColor(104, 152, 242), 1));
    p.drawRect(QRectF(2.5, 2.5, width - 5, height - 5));
  }
  return CutHoles(colours);
}

QImage DrawPiece(const QColor& colour, bool ticked) {
  const QColor dark = colour.darker(170);
  QImage colours = Canvas(kCell, kCell, dark);
  {
    QPainter p(&colours);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kCellCentre, kCellCentre);

    // Body: lit from the top left.
    QRadialGradient body(centre, kPieceRadius, centre - QPointF(9, 10));
    body.setColorAt(0, colour.lighter(135));
    body.setColorAt(0.55, colour);
    body.setColorAt(1, colour.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, kPieceRadius + 0.5, kPieceRadius + 0.5);

    // The raised inner ring of a playing piece.
    const QLinearGradient ring =
        TwoStop(QLinearGradient(centre - QPointF(18, 18), centre + QPointF(18, 18)),
                colour.darker(150), colour.lighter(130));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ring, 2.2));
    p.drawEllipse(centre, 19.5, 19.5);
    const QLinearGradient ringLight =
        TwoStop(QLinearGradient(centre - QPointF(18, 18), centre + QPointF(18, 18)),
                colour.lighter(140), colour.darker(140));
    p.setPen(QPen(ringLight, 1.4));
    p.drawEllipse(centre, 21.6, 21.6);

    // Gloss: a soft white reflection at the top left.
    QRadialGradient gloss(centre - QPointF(10, 13), 16);
    gloss.setColorAt(0, QColor(255, 255, 255, 170));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(centre - QPointF(10, 13), 16, 11);

    if (ticked) {
      QPainterPath tick;
      tick.moveTo(21, 35);
      tick.lineTo(30.5, 45);
      tick.lineTo(49, 23);
      p.setPen(QPen(Qt::black, 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPath(tick);
    }
  }
  return CutPiece(colours);
}

}  // namespace zerud::art
