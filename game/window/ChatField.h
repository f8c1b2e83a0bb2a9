#pragma once

#include <QLineEdit>
#include <functional>

namespace zerud {

// The chat field `EditChat`. Its keys are its own: Return sends the line and
// never reaches the board. Escape hands the keys back to the board. The
// initial "..." is selected when the field gets the focus, so typing
// replaces it.
class TChatField : public QLineEdit {
  Q_OBJECT

 public:
  TChatField(QWidget* parent, std::function<void()> keysToBoard);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> keysToBoard_;
};

}  // namespace zerud
