// The record of a game as the study boards write it: its moves as column
// numbers from 1 (left) to 7, in the order played, "4453".
#pragma once

#include <QString>
#include <vector>

namespace zerud {

// The record of these columns (0 .. 6).
QString RecordText(const std::vector<int>& columns);

// What a record read from outside holds: its columns (0 .. 6) when it is a
// game that can be played from the empty grid, red first; otherwise the line
// for the log that says why not.
struct TRecord {
  std::vector<int> Columns;
  QString Refusal;  // empty for a game that can be played

  bool Playable() const { return Refusal.isEmpty(); }
};

// Blanks around the record are ignored (a copied line often ends with one);
// nothing else is. Refused: no move at all, a character that is not a column
// from 1 to 7, a move into a full column, a move after a four, more than 42
// moves. Only the first 43 characters are ever looked at, so a text of any
// size costs no more.
TRecord ReadRecord(const QString& text);

}  // namespace zerud
