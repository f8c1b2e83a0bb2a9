// A window's control found by its name, as the game names it (bnStart,
// MemoChat, Colonne3, ...): tests and tools reach a window's controls the
// way a user would, without the window handing them out.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace zerud::test {

template <class T>
T* Control(const QObject& window, const QString& name) {
  T* control = window.findChild<T*>(name);
  if (control == nullptr) qFatal("no control named %s", qPrintable(name));
  return control;
}

template <class T>
T* Control(const QObject& window, const char* name) {
  return Control<T>(window, QString::fromLatin1(name));
}

// The target of column c (0..6), named "Colonne<c>".
template <class T>
T* ColumnControl(const QObject& window, int column) {
  return Control<T>(window, QStringLiteral("Colonne%1").arg(column));
}

}  // namespace zerud::test
