// Shared colours and drawing helpers of the picture generator.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace zerud::art {

// Colours the pictures share with the windows' own controls.
inline const QColor kPanelBlue(164, 192, 251);   // left panel, button corners, options panel
inline const QColor kStatusBlue(144, 178, 255);  // network status label
inline const QColor kEditBlue(208, 223, 255);    // chat edit and its buttons
inline const QColor kLilac(128, 128, 192);       // option captions, outlines
inline const QColor kNavy(0, 0, 128);
inline const QColor kGridBlue(34, 84, 196);
inline const QColor kRed(214, 32, 32);
inline const QColor kYellow(250, 204, 26);

// Fraction of the pixel (px, py) covered by the disc of the given centre and
// radius, by 16 x 16 supersampling: the exact anti-aliased edge of the
// board's holes and pieces.
double DiscCoverage(int px, int py, double cx, double cy, double radius);

// A small repeatable noise in -1..1 for (x, y, seed), so large gradients do
// not band once stored as JPEG and every run draws the same picture.
double Noise(int x, int y, int seed);

// Adds +-amplitude of Noise to every colour channel of an opaque picture.
void Dither(QImage& image, int amplitude, int seed);

// A font of the given family and pixel height.
QFont Font(const QString& family, int pixelSize, bool bold = false);

// Draws text with a soft one-pixel shadow below and to the right.
void ShadowText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                const QColor& colour, const QColor& shadow);

// The gradient with the two colours at its ends.
QLinearGradient TwoStop(QLinearGradient gradient, const QColor& start, const QColor& end);

// A new picture filled with the colour, in Format_ARGB32_Premultiplied, ready for QPainter.
QImage Canvas(int width, int height, const QColor& fill);

// The same, filled from top to bottom with a gradient of the two colours.
QImage Canvas(int width, int height, const QColor& top, const QColor& bottom);

}  // namespace zerud::art
