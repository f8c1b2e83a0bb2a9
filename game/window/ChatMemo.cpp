#include "game/window/ChatMemo.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/Skin.h"

namespace zerud {

TChatMemo::TChatMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setFrameShape(QFrame::NoFrame);
  // Shown in the skin's memo font, which takes the place of the memo's own
  // Tahoma 11 px.
  setFont(skin::ChatFont());
  setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setMaximumBlockCount(kLineLimit);
}

// Every line ends with its line break, so the memo holds as many lines as it
// was given, an empty one included. The view follows the new line when it
// showed the end already. The colour is the text's format, never read from
// the text.
void TChatMemo::AppendLine(const QString& line, bool own) {
  QScrollBar* bar = verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextDocument* text = document();
  QTextCursor cursor(text);
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(own ? skin::kOwnChat : QColor(Qt::black));
  cursor.insertText(line + QLatin1Char('\n'), format);
  // The last line break leaves an empty block at the end, which the view
  // would count as a line below the newest one, so that its end showed
  // that empty line and only the bottom of the newest: it is hidden.
  QTextBlock empty = text->lastBlock();
  QTextBlock newest = empty.previous();
  newest.setVisible(true);
  empty.setVisible(false);
  text->markContentsDirty(newest.position(), empty.position() + empty.length() - newest.position());
  // characterCount() counts the empty last block's end as well.
  while (text->characterCount() - 1 > kTextLimit && text->blockCount() > 1) {
    QTextCursor oldest(text);
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
  }
  if (atEnd) bar->setValue(bar->maximum());
}

}  // namespace zerud
