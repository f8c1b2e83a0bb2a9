// The board as a screen reader sees it: a pane whose first children are the
// grid, a table of 6 rows and 7 columns whose cells say what they hold, and
// the status text whose name is the last announcement; then the widgets on
// the board.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QAccessibleInterface;

namespace zerud {

class TAnnouncer;

// What the board's accessible objects read: the name of each cell and the
// announcer's last words. A child of the board widget, found there by the
// factory.
class TBoardSpeech : public QObject {
  Q_OBJECT

 public:
  TBoardSpeech(QWidget* board, std::function<QString(int, int)> cellName, TAnnouncer& announcer)
      : QObject(board), CellName(std::move(cellName)), Announcer(&announcer) {}

  std::function<QString(int row, int column)> CellName;
  QPointer<TAnnouncer> Announcer;
};

// The board's accessible object; its parts read the board's TBoardSpeech
// once the window has made one.
QAccessibleInterface* NewAccessibleBoard(QWidget* board);

// Tells a screen reader of the board's new announcement, and first of the
// cells whose names changed with it.
void SendAnnouncement(QWidget* board);

}  // namespace zerud
