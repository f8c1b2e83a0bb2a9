#include "ContrastArt.h"

#include <QPainter>
#include <QPainterPath>

#include "Art.h"
#include "BoardArt.h"

namespace zerud::art {

namespace {

constexpr double kRimWidth = 4.0;
constexpr double kMarkStroke = 6.0;
constexpr double kRingRadius = 13.0;
constexpr double kCrossReach = 12.0;

}  // namespace

QImage DrawContrastGrid() {
  const int width = kColumns * kCell;
  const int height = kRows * kCell;
  QImage colours = Canvas(width, height, kContrastGrid);
  {
    QPainter p(&colours);
    p.setRenderHint(QPainter::Antialiasing);
    // A black rim around every hole, so the grid never touches a piece.
    p.setPen(QPen(kContrastInk, kRimWidth));
    p.setBrush(Qt::NoBrush);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        p.drawEllipse(QPointF(c * kCell + kCellCentre, r * kCell + kCellCentre),
                      kHoleRadius + kRimWidth / 2 - 0.5, kHoleRadius + kRimWidth / 2 - 0.5);
      }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kContrastInk, 2));
    p.drawRect(QRectF(1, 1, width - 2, height - 2));
  }
  return CutHoles(colours);
}

QImage DrawContrastPiece(bool red, bool ticked) {
  // The edge that lies under the grid's rim is ink as well.
  QImage colours = Canvas(kCell, kCell, kContrastInk);
  {
    QPainter p(&colours);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kCellCentre, kCellCentre);
    p.setPen(Qt::NoPen);
    p.setBrush(red ? kContrastRed : kContrastYellow);
    p.drawEllipse(centre, kPieceRadius - 1.5, kPieceRadius - 1.5);

    p.setPen(QPen(kContrastInk, kMarkStroke, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (red) {
      p.drawEllipse(centre, kRingRadius, kRingRadius);
    } else {
      p.drawLine(centre + QPointF(-kCrossReach, -kCrossReach),
                 centre + QPointF(kCrossReach, kCrossReach));
      p.drawLine(centre + QPointF(-kCrossReach, kCrossReach),
                 centre + QPointF(kCrossReach, -kCrossReach));
    }

    if (ticked) {
      QPainterPath tick;
      tick.moveTo(17, 36);
      tick.lineTo(29, 48);
      tick.lineTo(52, 20);
      p.setPen(QPen(kContrastInk, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPath(tick);
      p.setPen(QPen(kContrastGrid, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPath(tick);
    }
  }
  return CutPiece(colours);
}

}  // namespace zerud::art
