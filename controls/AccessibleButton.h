// What a screen reader sees of the game's flat buttons: a push button with
// its caption (or the name the window gave it) and a press action that does
// what a click does, later in the event loop so the reader is answered first.
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace zerud {

// A factory for QAccessible::installFactory: the three button controls.
QAccessibleInterface* AccessibleButtonFactory(const QString& className, QObject* object);

// Installs the factory once; later calls do nothing.
void InstallAccessibleButtons();

}  // namespace zerud
