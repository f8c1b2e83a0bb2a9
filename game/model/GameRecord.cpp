#include "game/model/GameRecord.h"

#include <algorithm>

#include "game/model/GameTexts.h"
#include "rules/Board.h"

namespace zerud {

using namespace texts;

namespace {

// The character as the log can show it: itself when it prints and shows,
// else its code.
QString Shown(QChar c) {
  if (c.isPrint() && !c.isSpace() && !c.isSurrogate()) return QString(c);
  return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString RecordText(const std::vector<int>& columns) {
  QString text;
  for (const int column : columns) text += QChar(u'1' + column);
  return text;
}

TRecord ReadRecord(const QString& text) {
  const QString moves = text.trimmed();
  if (moves.isEmpty()) return {{}, kRecordEmpty};
  // Step 1. Every character is a column, among those that could be moves.
  const qsizetype looked = std::min<qsizetype>(moves.size(), kCells + 1);
  for (qsizetype i = 0; i < looked; ++i) {
    const QChar c = moves.at(i);
    if (c < u'1' || c > u'7') return {{}, kRecordNotAColumn.arg(Shown(c)).arg(i + 1)};
  }
  // Step 2. No more moves than cells.
  if (moves.size() > kCells) return {{}, kRecordTooLong};
  // Step 3. Played from the empty grid, red first: each column has room and
  // no move follows a four.
  TBoard grid;
  TRecord record;
  int player = 1;
  for (qsizetype i = 0; i < moves.size(); ++i) {
    const int column = moves.at(i).unicode() - u'1';
    if (WinningLine(grid).Winner != 0) return {{}, kRecordAfterFour.arg(i + 1)};
    const int row = LandingRow(grid, column);
    if (row == -1) return {{}, kRecordFullColumn.arg(column + 1).arg(i + 1)};
    grid.Set(row, column, PlayerCell(player));
    record.Columns.push_back(column);
    player = OtherPlayer(player);
  }
  return record;
}

}  // namespace zerud
