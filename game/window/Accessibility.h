// What a screen reader sees of the main window: every control named in
// French, the column targets as buttons "Colonne 1" .. "Colonne 7" that play
// when pressed, the grid as a table of 6 rows and 7 columns whose cells say
// what they hold, and a status text that says what happens.
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace zerud {

class TFormMain;
class TAnnouncer;
class TFocusRing;

// Installs the factories of the game's accessible objects (once).
void InstallGameAccessibility();

// Names the window's controls, ties the board's table and status text to
// the game and the announcer, and lets Tab reach the board; returns the
// frame that shows where Tab is.
TFocusRing* MakeGameAccessible(TFormMain& window, TAnnouncer& announcer);

// The name of a cell, row 0 at the top: "Ligne 1, colonne 4 : pion rouge"
// counts rows from the bottom; cell is '0' empty, '1' red, '2' yellow.
QString CellName(int row, int column, char cell, bool winning);

// The clock's "hh:mm:ss" as it is said: "12 minutes 5 secondes".
QString ClockSpeech(const QString& elapsed);

// The level's name on the options' gradient bar, level 2..5.
QString LevelName(int level);

}  // namespace zerud
