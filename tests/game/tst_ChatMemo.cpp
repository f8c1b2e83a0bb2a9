// The chat memo: after every new line it shows the end of the talk, the
// newest line whole at its bottom and the earlier ones above it.
#include <QTest>
#include <QTextBlock>

#include "game/window/ChatMemo.h"

using namespace zerud;

class ChatMemoTest : public QObject {
  Q_OBJECT

 private slots:
  void theNewestLineShowsWholeAtTheBottom() {
    QWidget window;
    TChatMemo memo(&window);
    memo.setGeometry(7, 24, 187, 50);  // the game's memo, in its font
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The cursor's place at a position, in the viewport's coordinates.
    auto place = [&memo](int position) {
      QTextCursor cursor(memo.document());
      cursor.setPosition(position);
      return memo.cursorRect(cursor);
    };
    const QStringList lines = {"Premier message assez long pour tenir sur deux lignes au moins",
                               "Deuxieme", QString(300, u'a') + "FIN", "Dernier"};
    for (qsizetype i = 0; i < lines.size(); ++i) {
      memo.AppendLine(lines[i], i % 2 == 1);
      QCoreApplication::processEvents();
      const QRect view = memo.viewport()->rect();
      const QTextBlock newest = memo.document()->lastBlock().previous();
      const QRect start = place(newest.position());
      const QRect end = place(newest.position() + newest.length() - 1);
      const QByteArray what = QByteArray::number(i + 1);
      // Its end in view, with less than a line below it; all of it when it
      // fits, and the end of the line before just above when that fits too.
      QVERIFY2(end.top() >= 0 && end.bottom() <= view.bottom(), what);
      QVERIFY2(view.bottom() - end.bottom() < end.height(), what);
      if (end.bottom() - start.top() >= view.height()) continue;
      QVERIFY2(start.top() >= 0, what);
      if (i > 0 && end.bottom() - start.top() + end.height() < view.height())
        QVERIFY2(place(newest.position() - 1).top() >= 0, what);
    }
  }
};

QTEST_MAIN(ChatMemoTest)
#include "tst_ChatMemo.moc"
