#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "platform/Centring.h"
#include "platform/Skin.h"

// Small helpers the start-up windows share: plain background colours;
// centring comes from platform/Centring.h, colours and fonts from
// platform/Skin.h.
namespace zerud {

// Names a top-level window, gives it its caption and fills it with a plain
// colour.
inline void PrepareWindow(QWidget* window, const QString& name, const QString& caption,
                          const QColor& background) {
  window->setObjectName(name);
  window->setWindowTitle(caption);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, background);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

}  // namespace zerud
