#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

namespace zerud {

// A label of the main window at `geometry`, named `objectName`.
inline QLabel* AddLabel(QWidget* parent, const QString& caption, const QRect& geometry,
                        const QString& objectName) {
  auto* label = new QLabel(parent);
  // Plain text always: lbReseau and the clock are written at run time.
  label->setTextFormat(Qt::PlainText);
  label->setText(caption);
  label->setObjectName(objectName);
  label->setGeometry(geometry);
  return label;
}

}  // namespace zerud
