#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace zerud {

// Play from the keyboard while the game's window is active: 1 to 7 (top row,
// whatever the layout, or keypad) play a column from the left, the left and right arrows move a
// marker over the columns, and Enter, Space or the down arrow drop a piece
// where it stands. The keys reach the game before the focused control, and
// only while the game listens (no text field has the focus, no panel covers
// the board); otherwise they go on to the control as usual.
class TKeyboardPlay : public QObject {
  Q_OBJECT

 public:
  struct TActions {
    // Whether the game takes keys now, from the control they are sent to.
    std::function<bool(const QWidget* receiver)> Listening;
    // Plays the column, exactly as a click on its target would.
    std::function<void(int column)> Play;
    // Shows the marker over the column, as the mouse over its target would.
    std::function<void(int column)> ShowMarker;
  };

  // Lives as a child of `window`, so never longer than it.
  TKeyboardPlay(QWidget* window, TActions actions);

  // Puts the marker over the column and shows it there (the hint's column).
  void MoveMarker(int column);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Acts on the key; false for a key the game does not use.
  bool HandleKey(const QKeyEvent& event);

  QWidget* window_;
  TActions actions_;
  // The column the marker stands over; it starts over the middle one.
  int marker_ = 3;
};

}  // namespace zerud
