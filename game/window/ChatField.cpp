#include "game/window/ChatField.h"

#include <QKeyEvent>
#include <QTimer>

#include "platform/Skin.h"

namespace zerud {
namespace {

const QString kPlaceholder = QStringLiteral("...");

}  // namespace

TChatField::TChatField(QWidget* parent, std::function<void()> keysToBoard)
    : QLineEdit(kPlaceholder, parent), keysToBoard_(std::move(keysToBoard)) {
  setFrame(false);
  setFont(skin::SmallFont());
  setStyleSheet(QStringLiteral("QLineEdit { background: %1; border: none; }")
                    .arg(skin::Css(skin::kPaleBlue)));
  setToolTip(QStringLiteral("Texte à envoyer"));
}

// The click that gave the focus would place the cursor after selectAll, so
// the selection comes once it is handled.
void TChatField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (text() == kPlaceholder) QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

// Return and Enter end here, whether or not a line was sent: passed on, they
// would reach the window and its keyboard play.
void TChatField::keyPressEvent(QKeyEvent* event) {
  QLineEdit::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Escape:
      if (keysToBoard_) keysToBoard_();
      event->accept();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      break;
    default:
      break;
  }
}

}  // namespace zerud
