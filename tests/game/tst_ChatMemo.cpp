// The chat memo: after every new line it shows the end of the talk, the
// newest line whole at its bottom and the earlier ones above it.
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "game/window/ChatMemo.h"

using namespace zerud;

namespace {

// The text cursor's place at `position`, in the viewport's coordinates.
QRect Place(const TChatMemo& memo, int position) {
  QTextCursor cursor(memo.document());
  cursor.setPosition(position);
  return memo.cursorRect(cursor);
}

}  // namespace

class ChatMemoTest : public QObject {
  Q_OBJECT

 private slots:
  void theNewestLineShowsWholeAtTheBottom_data() {
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("shown before the lines come") << true;
    QTest::newRow("shown after") << false;
  }
  void theNewestLineShowsWholeAtTheBottom() {
    QFETCH(bool, shownFirst);
    QWidget window;
    window.resize(220, 120);
    // The game's memo: its size and font.
    TChatMemo memo(&window);
    memo.setGeometry(7, 24, 187, 50);
    if (shownFirst) {
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    const QStringList lines = {"Premier message assez long pour tenir sur deux lignes au moins",
                               "Deuxieme", QString(300, u'a') + "FIN",
                               "Encore un message assez long pour deux lignes", "Dernier"};
    for (qsizetype i = 0; i < lines.size(); ++i) {
      memo.AppendLine(lines[i], i % 2 == 1);
      if (!shownFirst && i == lines.size() - 1) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
      }
      QCoreApplication::processEvents();
      if (!shownFirst && i < lines.size() - 1) continue;
      const QRect view = memo.viewport()->rect();
      const QTextBlock newest = memo.document()->lastBlock().previous();
      const QRect start = Place(memo, newest.position());
      const QRect end = Place(memo, newest.position() + newest.length() - 1);
      const QByteArray what = QStringLiteral("after line %1: start %2, end %3, view %4")
                                  .arg(i + 1)
                                  .arg(start.top())
                                  .arg(end.bottom())
                                  .arg(view.height())
                                  .toUtf8();
      // Its end in view, with less than a line below it.
      QVERIFY2(end.top() >= 0 && end.bottom() <= view.bottom(), what);
      QVERIFY2(view.bottom() - end.bottom() < end.height(), what);
      // All of it when it fits, and the line before just above.
      if (end.bottom() - start.top() < view.height()) {
        QVERIFY2(start.top() >= 0, what);
        if (newest.previous().isValid()) {
          const QRect before = Place(memo, newest.position() - 1);
          QVERIFY2(before.bottom() <= start.top(), what);
          if (end.bottom() - start.top() + end.height() < view.height())
            QVERIFY2(before.top() >= 0, what);
        }
      }
    }
  }
};

QTEST_MAIN(ChatMemoTest)
#include "tst_ChatMemo.moc"
