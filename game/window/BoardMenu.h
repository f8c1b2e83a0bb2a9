#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zerud {

// The board's context menu (a right click on the board) and the keys of its
// entries, which work anywhere in the game's window unless the focused
// control uses the key itself (the chat field keeps Backspace and Ctrl+Z).
// An entry is greyed in the menu wherever it cannot act, and its key then
// does nothing.
class TBoardMenu : public QObject {
  Q_OBJECT

 public:
  struct TEntry {
    QString Text;
    QList<QKeySequence> Keys;
    std::function<bool()> Possible;
    std::function<void()> Run;
    // Set for an entry that is a switch: whether it is on.
    std::function<bool()> Checked = {};
  };

  TBoardMenu(QWidget* window, QWidget* board, std::vector<TEntry> entries);

 private:
  QMenu* menu_;
  QList<QAction*> actions_;
};

}  // namespace zerud
