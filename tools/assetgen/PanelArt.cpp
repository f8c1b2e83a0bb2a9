#include "PanelArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include "Art.h"

namespace zerud::art {

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");

// A navy band with a title, shared by the left panel and the options panel.
void DrawBand(QPainter& p, const QRectF& band) {
  const QLinearGradient fill = TwoStop(QLinearGradient(band.topLeft(), band.bottomLeft()),
                                       QColor(36, 66, 168), QColor(12, 28, 104));
  p.fillRect(band, fill);
  p.fillRect(QRectF(band.left(), band.bottom() - 3, band.width(), 3), QColor(250, 204, 26));
  p.fillRect(QRectF(band.left(), band.bottom(), band.width(), 2), QColor(90, 90, 150));
}

// A framed area with a heading strip, behind a group of controls.
void DrawFrame(QPainter& p, const QRectF& frame, double headingHeight, const QString& heading) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kLilac, 1));
  p.setBrush(kEditBlue);
  p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
  QPainterPath top;
  top.addRoundedRect(frame.adjusted(1, 1, -1, -1), 4.5, 4.5);
  QPainterPath strip;
  strip.addRect(QRectF(frame.left(), frame.top(), frame.width(), headingHeight));
  const QLinearGradient fill =
      TwoStop(QLinearGradient(frame.topLeft(), frame.topLeft() + QPointF(0, headingHeight)),
              QColor(104, 112, 196), kLilac);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(top.intersected(strip));
  p.setFont(Font(kSans, 11, true));
  ShadowText(p, QRectF(frame.left() + 8, frame.top(), frame.width() - 12, headingHeight),
             Qt::AlignLeft | Qt::AlignVCenter, heading, Qt::white, QColor(40, 40, 100));
}

// A small piece used as an ornament.
void DrawDot(QPainter& p, QPointF centre, double radius, const QColor& colour) {
  QRadialGradient fill(centre, radius, centre - QPointF(radius / 3, radius / 3));
  fill.setColorAt(0, colour.lighter(150));
  fill.setColorAt(1, colour.darker(130));
  p.setPen(QPen(colour.darker(170), 0.8));
  p.setBrush(fill);
  p.drawEllipse(centre, radius, radius);
}

// A round hollow in the panel, the place of an image button.
void DrawWell(QPainter& p, QPointF centre, double radius) {
  const QLinearGradient hollow =
      TwoStop(QLinearGradient(centre - QPointF(radius, radius), centre + QPointF(radius, radius)),
              QColor(70, 90, 170), QColor(236, 242, 255));
  p.setPen(Qt::NoPen);
  p.setBrush(hollow);
  p.drawEllipse(centre, radius, radius);
  p.setBrush(QColor(120, 146, 214));
  p.drawEllipse(centre, radius - 2, radius - 2);
}

struct TButtonPlace {
  QRectF rect;
  QString label;
};

}  // namespace

QImage DrawLeftPanel() {
  QImage image = Canvas(237, 600, kPanelBlue);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  // The right edge meets the board's background with a lilac line.
  p.fillRect(QRectF(234, 0, 1, 600), QColor(200, 214, 252));
  p.fillRect(QRectF(235, 0, 2, 600), kLilac);

  // Title banner.
  DrawBand(p, QRectF(0, 0, 235, 58));
  p.setFont(Font(kSans, 21, true));
  ShadowText(p, QRectF(0, 4, 235, 32), Qt::AlignCenter, QStringLiteral("Zerud uravizera4"),
             Qt::white, QColor(0, 0, 40));
  const QColor row[] = {kRed, kYellow, kRed, kYellow};
  for (int i = 0; i < 4; ++i) DrawDot(p, QPointF(90 + i * 19, 44), 6, row[i]);

  // Wells behind the image buttons, each with its name beside it.
  const TButtonPlace buttons[] = {
      {QRectF(7, 75, 55, 55), QStringLiteral("Nouvelle partie")},
      {QRectF(7, 145, 55, 55), QStringLiteral("Options")},
      {QRectF(7, 215, 56, 56), QStringLiteral("Réseau")},
      {QRectF(6, 285, 55, 55), QStringLiteral("Aide")},
  };
  p.setFont(Font(kSans, 13, true));
  for (const TButtonPlace& button : buttons) {
    DrawWell(p, button.rect.center(), button.rect.width() / 2 - 1);
    p.setPen(QColor(186, 204, 250));
    p.drawLine(QPointF(button.rect.right() + 8, button.rect.center().y() + 11),
               QPointF(224, button.rect.center().y() + 11));
    ShadowText(p, QRectF(button.rect.right() + 10, button.rect.top(), 160, button.rect.height()),
               Qt::AlignLeft | Qt::AlignVCenter, button.label, kNavy, QColor(214, 226, 255));
  }

  // Message log (list box at (8, 377), 202 x 101), chat (edit at (7, 504),
  // memo at (7, 524)) and the strip behind the network status (7, 579).
  DrawFrame(p, QRectF(3, 352, 212, 130), 22, QStringLiteral("Messages"));
  DrawFrame(p, QRectF(3, 484, 212, 93), 18, QStringLiteral("Discussion"));
  p.setPen(QPen(kLilac, 1));
  p.setBrush(kStatusBlue);
  p.drawRoundedRect(QRectF(3.5, 578.5, 211, 20), 4, 4);
  p.end();
  Dither(image, 1, 11);
  return image;
}

QImage DrawOptionsPanel() {
  QImage image = Canvas(800, 536, kPanelBlue, QColor(182, 204, 252));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  DrawBand(p, QRectF(0, 0, 800, 46));
  p.setFont(Font(kSans, 20, true));
  ShadowText(p, QRectF(24, 0, 600, 42), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Options du jeu"), Qt::white, QColor(0, 0, 40));

  // Two translucent boxes behind the controls: opacity, speed and level
  // (captions from y = 72, last track bar ends at y = 291), then the mode of
  // play (caption at y = 358, its frame ends at y = 450).
  const QRectF boxes[] = {QRectF(28, 58, 386, 250), QRectF(28, 342, 386, 124)};
  for (const QRectF& box : boxes) {
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.2));
    p.setBrush(QColor(255, 255, 255, 80));
    p.drawRoundedRect(box, 9, 9);
  }

  // The notes on the right.
  const QRectF notes(440, 58, 334, 408);
  p.setPen(QPen(kLilac, 1.2));
  p.setBrush(QColor(236, 242, 255));
  p.drawRoundedRect(notes, 9, 9);
  p.setPen(Qt::NoPen);
  p.setBrush(kLilac);
  p.drawRoundedRect(QRectF(notes.left(), notes.top(), notes.width(), 30), 9, 9);
  p.drawRect(QRectF(notes.left(), notes.top() + 15, notes.width(), 15));
  p.setFont(Font(kSans, 14, true));
  ShadowText(p, QRectF(notes.left() + 14, notes.top(), 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Remarques"), Qt::white, QColor(40, 40, 100));

  const QStringList texts = {
      QStringLiteral("Les options permettent de régler la vitesse de chute et "
                     "l'opacité des pions."),
      QStringLiteral("Le temps de réflexion de la machine augmente avec le niveau choisi : "
                     "au niveau Expert, elle peut réfléchir plusieurs minutes sur un "
                     "ordinateur lent."),
      QStringLiteral("La machine choisit ses coups grâce à l'algorithme alpha-bêta."),
      QStringLiteral("Attention : changer de mode de jeu oblige à recommencer la partie "
                     "en cours."),
  };
  double top = notes.top() + 46;
  for (int i = 0; i < texts.size(); ++i) {
    const bool warning = i == texts.size() - 1;
    const QRectF text(notes.left() + 40, top, notes.width() - 56, 90);
    p.setFont(Font(kSans, 13, warning));
    const QRectF used = p.boundingRect(text, Qt::TextWordWrap, texts[i]);
    if (warning) {
      QPainterPath sign;
      sign.moveTo(notes.left() + 22, top + 1);
      sign.lineTo(notes.left() + 32, top + 18);
      sign.lineTo(notes.left() + 12, top + 18);
      sign.closeSubpath();
      p.setPen(QPen(QColor(150, 20, 10), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(kYellow);
      p.drawPath(sign);
      p.setFont(Font(kSans, 11, true));
      p.setPen(Qt::black);
      p.drawText(QRectF(notes.left() + 12, top + 5, 20, 13), Qt::AlignCenter, QStringLiteral("!"));
      p.setFont(Font(kSans, 13, true));
      p.setPen(QColor(150, 20, 10));
    } else {
      DrawDot(p, QPointF(notes.left() + 22, top + 8), 6, i % 2 ? kYellow : kRed);
      p.setPen(QColor(16, 24, 90));
    }
    p.drawText(text, Qt::TextWordWrap, texts[i]);
    top += used.height() + 26;
  }

  // At the foot of the notes, the aim of the game: four red pieces in a row
  // among yellow ones.
  const QColor line[] = {kYellow, kRed, kRed, kRed, kRed, kYellow};
  for (int i = 0; i < 6; ++i) {
    DrawDot(p, QPointF(notes.center().x() + (i - 2.5) * 34, notes.bottom() - 40), 13, line[i]);
  }
  p.end();
  Dither(image, 1, 12);
  return image;
}

}  // namespace zerud::art
