#include "ButtonArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

#include "Art.h"

namespace zerud::art {

namespace {

double FaceRadius(int side) { return side / 2.0 - 1.5; }

// A small board: blue frame with three rows of four holes, some filled.
void DrawStartIcon(QPainter& p, QPointF centre) {
  const QRectF frame(centre.x() - 16, centre.y() - 13, 32, 26);
  const QLinearGradient blue = TwoStop(QLinearGradient(frame.topLeft(), frame.bottomLeft()),
                                       QColor(60, 116, 230), QColor(24, 62, 170));
  p.setPen(QPen(QColor(14, 38, 116), 1));
  p.setBrush(blue);
  p.drawRoundedRect(frame, 3, 3);
  const char* pattern =
      "..y."
      ".ry."
      "ryrr";
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      const char cell = pattern[r * 4 + c];
      const QColor fill = cell == 'r' ? kRed : cell == 'y' ? kYellow : QColor(232, 240, 255);
      p.setPen(QPen(fill.darker(160), 0.8));
      p.setBrush(fill);
      p.drawEllipse(QPointF(frame.left() + 5 + c * 7.3, frame.top() + 5 + r * 8), 2.9, 2.9);
    }
  }
}

// Tools: a wrench crossed with a screwdriver.
void DrawOptionsIcon(QPainter& p, QPointF centre) {
  p.save();
  p.translate(centre);
  p.rotate(-45);
  // Screwdriver: steel shaft and a red handle.
  p.setPen(QPen(QColor(70, 74, 86), 0.8));
  p.setBrush(QColor(176, 182, 196));
  p.drawRect(QRectF(-1.8, -17, 3.6, 17));
  const QLinearGradient handle =
      TwoStop(QLinearGradient(-4, 0, 4, 0), QColor(240, 80, 60), QColor(150, 20, 10));
  p.setBrush(handle);
  p.setPen(QPen(QColor(110, 16, 8), 0.8));
  p.drawRoundedRect(QRectF(-4.2, -1, 8.4, 17), 3, 3);
  p.restore();

  p.save();
  p.translate(centre);
  p.rotate(45);
  QPainterPath wrench;
  wrench.addRoundedRect(QRectF(-2.8, -8, 5.6, 24), 2.5, 2.5);
  wrench.addEllipse(QPointF(0, -11), 7.5, 7.5);
  wrench.setFillRule(Qt::WindingFill);
  QPainterPath jaw;
  jaw.addRect(QRectF(-3, -20, 6, 9.5));
  wrench = wrench.simplified().subtracted(jaw);
  const QLinearGradient steel =
      TwoStop(QLinearGradient(-7, 0, 7, 0), QColor(214, 220, 232), QColor(110, 118, 136));
  p.setPen(QPen(QColor(58, 62, 76), 1));
  p.setBrush(steel);
  p.drawPath(wrench);
  p.restore();
}

void DrawMonitor(QPainter& p, QRectF screen) {
  p.setPen(QPen(QColor(50, 54, 66), 0.9));
  p.setBrush(QColor(150, 156, 170));
  p.drawRect(QRectF(screen.center().x() - 1.5, screen.bottom(), 3, 3));
  p.drawRoundedRect(QRectF(screen.center().x() - 5, screen.bottom() + 2.6, 10, 2.2), 1, 1);
  const QLinearGradient glass = TwoStop(QLinearGradient(screen.topLeft(), screen.bottomRight()),
                                        QColor(140, 200, 255), QColor(20, 70, 170));
  p.setPen(QPen(QColor(60, 64, 78), 2));
  p.setBrush(glass);
  p.drawRoundedRect(screen, 1.5, 1.5);
}

// Two computers joined by a cable that runs between their feet.
void DrawReseauIcon(QPainter& p, QPointF centre) {
  const QRectF left(centre.x() - 19, centre.y() - 15, 16, 12);
  const QRectF right(centre.x() + 3, centre.y() - 5, 16, 12);
  QPainterPath cable;
  cable.moveTo(left.center().x(), left.bottom() + 4);
  cable.lineTo(left.center().x(), centre.y() + 11);
  cable.quadTo(left.center().x(), centre.y() + 15, left.center().x() + 4, centre.y() + 15);
  cable.lineTo(right.center().x() - 4, centre.y() + 15);
  cable.quadTo(right.center().x(), centre.y() + 15, right.center().x(), right.bottom() + 4);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(230, 120, 20), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(cable);
  DrawMonitor(p, left);
  DrawMonitor(p, right);
}

void DrawAideIcon(QPainter& p, QPointF centre) {
  p.setFont(Font(QStringLiteral("DejaVu Sans"), 34, true));
  const QRectF box(centre.x() - 20, centre.y() - 20, 40, 41);
  ShadowText(p, box, Qt::AlignCenter, QStringLiteral("?"), QColor(20, 44, 150),
             QColor(255, 255, 255));
}

QImage DrawNormal(TButtonArt button) {
  const int side = ButtonSide(button);
  const QPointF centre(side / 2.0, side / 2.0);
  const double radius = FaceRadius(side);
  QImage image = Canvas(side, side, kPanelBlue);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  // Bezel: light at the top left, deep blue at the bottom right.
  const QLinearGradient bezel =
      TwoStop(QLinearGradient(centre - QPointF(radius, radius), centre + QPointF(radius, radius)),
              QColor(250, 252, 255), QColor(44, 76, 168));
  p.setBrush(bezel);
  p.drawEllipse(centre, radius, radius);
  // Face: pale, brightest above the middle.
  QRadialGradient face(centre - QPointF(0, 6), radius, centre - QPointF(4, 10));
  face.setColorAt(0, QColor(255, 255, 255));
  face.setColorAt(1, QColor(178, 202, 246));
  p.setBrush(face);
  p.drawEllipse(centre, radius - 2.5, radius - 2.5);
  switch (button) {
    case TButtonArt::Start:
      DrawStartIcon(p, centre);
      break;
    case TButtonArt::Options:
      DrawOptionsIcon(p, centre);
      break;
    case TButtonArt::Reseau:
      DrawReseauIcon(p, centre);
      break;
    case TButtonArt::Aide:
      DrawAideIcon(p, centre);
      break;
  }
  return image;
}

}  // namespace

int ButtonSide(TButtonArt button) { return button == TButtonArt::Reseau ? 56 : 55; }

QImage DrawButton(TButtonArt button, TButtonState state) {
  QImage image = DrawNormal(button).convertToFormat(QImage::Format_RGB32);
  if (state == TButtonState::Normal) return image;
  // The looks differ inside the disc only, so the corners keep the panel's colour.
  const double centre = image.width() / 2.0;
  const double radius = FaceRadius(image.width()) + 0.5;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double weight = DiscCoverage(x, y, centre, centre, radius);
      auto shade = [&](int v) {
        const double changed = state == TButtonState::Over ? v + (255 - v) * 0.38 : v * 0.70;
        return int(std::lround(v + (changed - v) * weight));
      };
      row[x] = qRgb(shade(qRed(row[x])), shade(qGreen(row[x])), shade(qBlue(row[x])));
    }
  }
  return image;
}

}  // namespace zerud::art
