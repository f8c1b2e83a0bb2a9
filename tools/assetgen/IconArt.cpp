#include "IconArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "Art.h"
#include "ContrastArt.h"

namespace zerud::art {

namespace {

constexpr int kIconSide = 20;

QImage Transparent(int side) { return Canvas(side, side, Qt::transparent); }

// The log's icons have a 1-bit mask: every pixel ends fully opaque or fully
// transparent, its colour as drawn (not premultiplied).
QImage Harden(const QImage& drawn) {
  QImage out = drawn.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      row[x] = qAlpha(row[x]) >= 128 ? (row[x] | 0xFF000000u) : 0u;
    }
  }
  return out;
}

QImage Gear() {
  QImage image = Transparent(kIconSide);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath gear;
  const QPointF c(10, 10);
  for (int i = 0; i < 8; ++i) {
    QPainterPath tooth;
    tooth.addRect(QRectF(-2, -9.5, 4, 5));
    gear.addPath(QTransform().translate(c.x(), c.y()).rotate(i * 45).map(tooth));
  }
  gear.addEllipse(c, 6.8, 6.8);
  gear.setFillRule(Qt::WindingFill);
  gear = gear.simplified();
  QPainterPath hole;
  hole.addEllipse(c, 2.6, 2.6);
  gear = gear.subtracted(hole);
  const QLinearGradient steel =
      TwoStop(QLinearGradient(0, 0, 20, 20), QColor(200, 200, 200), QColor(100, 100, 100));
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(steel);
  p.drawPath(gear);
  p.end();
  return Harden(image);
}

QImage Person(const QColor& colour) {
  QImage image = Transparent(kIconSide);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor outline = colour.darker(170);
  const QLinearGradient body =
      TwoStop(QLinearGradient(0, 10, 0, 20), colour.lighter(115), colour.darker(115));
  p.setPen(QPen(outline, 1));
  p.setBrush(body);
  QPainterPath shoulders;
  shoulders.moveTo(2.5, 19.5);
  shoulders.cubicTo(2.5, 12, 6, 11, 10, 11);
  shoulders.cubicTo(14, 11, 17.5, 12, 17.5, 19.5);
  shoulders.closeSubpath();
  p.drawPath(shoulders);
  QRadialGradient head(QPointF(9, 5), 5);
  head.setColorAt(0, QColor(255, 230, 205));
  head.setColorAt(1, QColor(226, 170, 130));
  p.setPen(QPen(QColor(150, 96, 60), 1));
  p.setBrush(head);
  p.drawEllipse(QPointF(10, 6), 4.3, 4.5);
  p.end();
  return Harden(image);
}

QImage Screen() {
  QImage image = Transparent(kIconSide);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 70), 1));
  p.setBrush(QColor(170, 170, 180));
  p.drawRect(QRectF(8.5, 14.5, 3, 2.5));
  p.drawRoundedRect(QRectF(4.5, 16.5, 11, 2.5), 1, 1);
  const QLinearGradient glass =
      TwoStop(QLinearGradient(3, 3, 17, 14), QColor(150, 210, 255), QColor(20, 70, 170));
  p.setPen(QPen(QColor(70, 70, 80), 2));
  p.setBrush(glass);
  p.drawRoundedRect(QRectF(2, 2, 16, 12.5), 1.5, 1.5);
  p.end();
  return Harden(image);
}

}  // namespace

QList<QImage> DrawLogIcons() {
  return {Gear(), Person(QColor(40, 90, 220)), Screen(), Person(QColor(236, 96, 170))};
}

namespace {

// A piece of 10 pixels in the icon's lower right corner, its mark in black.
QImage WithBadge(QImage icon, bool red) {
  QImage out = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter p(&out);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF centre(14.5, 14.5);
  p.setPen(QPen(kContrastInk, 1.2));
  p.setBrush(red ? kContrastRed : kContrastYellow);
  p.drawEllipse(centre, 5.0, 5.0);
  p.setPen(QPen(kContrastInk, 1.6));
  p.setBrush(Qt::NoBrush);
  if (red) {
    p.drawEllipse(centre, 2.0, 2.0);
  } else {
    p.drawLine(centre + QPointF(-2.3, -2.3), centre + QPointF(2.3, 2.3));
    p.drawLine(centre + QPointF(-2.3, 2.3), centre + QPointF(2.3, -2.3));
  }
  p.end();
  return out.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QList<QImage> DrawContrastLogIcons() {
  QList<QImage> icons = DrawLogIcons();
  icons[1] = WithBadge(icons[1], true);
  icons[3] = WithBadge(icons[3], false);
  return icons;
}

QImage DrawProgramIconArt(int side) {
  // Drawn at 32 pixels and scaled: every size shows the same "Z4".
  const qreal k = side / 32.0;
  QImage image = Transparent(side);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kNavy, 1.5 * k));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1 * k, 1 * k, 30 * k, 30 * k), 5 * k, 5 * k);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(Font(QStringLiteral("DejaVu Sans"), qRound(19 * k), true));
  p.setPen(kNavy);
  p.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, QStringLiteral("Z4"));
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

QImage DrawProgramIcon() {
  // Anti-aliased edges against the transparent corners become opaque pixels
  // blended over white, so the icon reads the same on any background.
  QImage out = DrawProgramIconArt(32);
  for (int y = 0; y < 32; ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < 32; ++x) {
      const int a = qAlpha(row[x]);
      if (a < 96) {
        row[x] = 0;
        continue;
      }
      auto over = [a](int v) { return (v * a + 255 * (255 - a)) / 255; };
      row[x] = qRgb(over(qRed(row[x])), over(qGreen(row[x])), over(qBlue(row[x])));
    }
  }
  return out;
}

}  // namespace zerud::art
