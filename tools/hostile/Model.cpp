#include "Model.h"

#include "network/Protocol.h"
#include "rules/Errors.h"
#include "rules/Integer.h"
#include "rules/PatternTable.h"

namespace zerud::campaign {

void TModel::Receive(const QByteArray& read) {
  const QString text = FromWire(read);
  if (text.isEmpty()) return;
  for (const QString& message : SplitReceivedText(text)) Apply(message);
}

void TModel::Apply(const QString& message) {
  if (message.isEmpty()) return;
  const QString command = GetField(kFieldSeparator, message, 1);
  if (command == QLatin1String(kCommandInit)) {
    Network = true;
    Grid.Clear();
    MoveNumber = 1;
    Player = 1;
    GameOver = false;
    TargetsOn = false;
  } else if (command == QLatin1String(kCommandMove)) {
    const QString text = GetField(kFieldSeparator, message, 2);
    const int column = MoveColumn(text);
    if (column < 0) {
      // A text that is no number is written into the log; a number is
      // dropped in silence.
      try {
        ParseInteger(text.toStdString());
      } catch (const TConvertError&) {
        ++Reports;
      }
      return;
    }
    // Only the peer's move in a network game under way, in its turn.
    if (!Network || GameOver || TargetsOn) return;
    const int row = LandingRow(Grid, column);
    if (row == -1 || MoveNumber > kCells) return;
    Grid.Set(row, column, PlayerCell(Player));
    ++MovesPlayed;
    int direction = 0, c = 0, r = 0, winner = 0;
    bool full = false;
    GameOver = CheckGameEnd(Grid, direction, c, r, winner, full);
    if (GameOver) {
      // The end keeps the move number and the player of the last move.
      TargetsOn = false;
      ++GamesEnded;
    } else {
      TargetsOn = true;
      ++MoveNumber;
      Player = OtherPlayer(Player);
    }
  } else if (command == QLatin1String(kCommandEnd)) {
    // Nobody moves after the peer's end.
    GameOver = true;
    TargetsOn = false;
  } else if (command == QLatin1String(kCommandChat)) {
    ++ChatLines;
  }
  // A chat line and anything else: nothing of the game changes.
}

void TModel::ConnectionLost() {
  if (!Network || GameOver) return;
  GameOver = true;
  TargetsOn = false;
}

bool TModel::TargetOn(int column) const { return TargetsOn && LandingRow(Grid, column) != -1; }

}  // namespace zerud::campaign
