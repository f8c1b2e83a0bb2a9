#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include "game/log/MessageLog.h"

using namespace zerud;

namespace {

const QRgb kPlain = qRgb(164, 192, 251);
const QRgb kLilac = qRgb(190, 155, 220);
const QRgb kPale = qRgb(242, 226, 253);
const QRgb kIconTop = qRgb(255, 128, 0);  // top row of every test icon
const QRgb kIconBody[4] = {qRgb(128, 128, 128), qRgb(0, 0, 255), qRgb(0, 200, 0),
                           qRgb(255, 0, 160)};
constexpr int kWidth = 202;

// 20 x 20 icons: a coloured body with a distinct top row, a transparent hole
// at (8, 8) and transparent columns 16..19 (17..20 of the row) like the
// margins of real icons.
TLogIcons Icons() {
  TLogIcons icons;
  for (int i = 0; i < 4; ++i) {
    QImage icon(20, 20, QImage::Format_ARGB32);
    icon.fill(kIconBody[i]);
    for (int x = 0; x < 20; ++x) icon.setPixel(x, 0, kIconTop);
    for (int y = 0; y < 20; ++y) {
      for (int x = 16; x < 20; ++x) icon.setPixel(x, y, 0);
    }
    icon.setPixel(8, 8, 0);
    icons[i] = icon;
  }
  return icons;
}

struct TLogFixture {
  TLogMode mode = TLogMode::Machine;
  TMessageLog log;

  TLogFixture() {
    log.SetIcons(Icons());
    log.SetModeSource([this] { return mode; });
  }

  QImage Row(const QString& line) {
    log.ClearLines();
    log.AppendLine(line);
    QImage row(kWidth, TMessageLog::kRowHeight, QImage::Format_RGB32);
    row.fill(Qt::white);
    QPainter painter(&row);
    log.MemoMessagesDrawItem(painter, row.rect(), 0);
    return row;
  }
};

bool IsInk(QRgb pixel, QRgb fill) {
  return std::abs(qRed(pixel) - qRed(fill)) + std::abs(qGreen(pixel) - qGreen(fill)) +
             std::abs(qBlue(pixel) - qBlue(fill)) >
         90;
}

// First column from `fromX` holding text ink on the fill, -1 if none.
int TextStart(const QImage& row, QRgb fill, int fromX) {
  for (int x = fromX; x < row.width(); ++x) {
    for (int y = 0; y < row.height(); ++y) {
      if (IsInk(row.pixel(x, y), fill)) return x;
    }
  }
  return -1;
}

int InkCount(const QImage& row, QRgb fill, int fromX) {
  int count = 0;
  for (int x = fromX; x < row.width(); ++x) {
    for (int y = 0; y < row.height(); ++y) count += IsInk(row.pixel(x, y), fill);
  }
  return count;
}

// Every pixel that is not ink shows the fill, and the ink is dark (black text).
void CheckFillAndInk(const QImage& row, QRgb fill, int fromX) {
  for (int x = fromX; x < row.width(); ++x) {
    for (int y = 0; y < row.height(); ++y) {
      const QRgb p = row.pixel(x, y);
      if (!IsInk(p, fill)) {
        QVERIFY2(std::abs(qRed(p) - qRed(fill)) <= 40 && std::abs(qBlue(p) - qBlue(fill)) <= 40,
                 qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
      }
    }
  }
  int darkest = 255;
  for (int x = fromX; x < row.width(); ++x) {
    for (int y = 0; y < row.height(); ++y) {
      const QRgb p = row.pixel(x, y);
      darkest = std::min(darkest, std::max({qRed(p), qGreen(p), qBlue(p)}));
    }
  }
  QVERIFY2(darkest < 80, qPrintable(QString::number(darkest)));
  QCOMPARE(row.pixel(row.width() - 1, 0), fill);
  QCOMPARE(row.pixel(row.width() - 1, row.height() - 1), fill);
}

// The icon `index` drawn with its top-left corner at (1, top).
void CheckIcon(const QImage& row, int index, int top) {
  QCOMPARE(row.pixel(0, 5), row.pixel(row.width() - 1, 5));  // left of the icon: fill
  QCOMPARE(row.pixel(1, 5), kIconBody[index]);
  QCOMPARE(row.pixel(15, 12), kIconBody[index]);
  QCOMPARE(row.pixel(1 + 8, top + 8), row.pixel(row.width() - 1, 5));  // masked pixel
  // The icon's top row is on row 0 when drawn at 0, above the row when at -1.
  QCOMPARE(row.pixel(5, 0), top == 0 ? kIconTop : kIconBody[index]);
  QCOMPARE(row.pixel(5, 17), kIconBody[index]);
}

}  // namespace

class TestMessageLog : public QObject {
  Q_OBJECT

 private slots:
  void shownTextAfterFirstColon_data();
  void shownTextAfterFirstColon();
  void machineLineRuleOne();
  void opponentLineRuleOneInAnyMode();
  void humanLinesAgainstTheMachine();
  void humanLinesBetweenTwoHumans();
  void plainLines();
  void modeIsReadAtDrawingTime();
  void widgetRowsAndSelection();
  void scrollToLastLine();
};

void TestMessageLog::shownTextAfterFirstColon_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("shown");
  QTest::newRow("speaker") << "[MACHINE] : Je réfléchis..."
                           << " Je réfléchis...";
  QTest::newRow("no colon") << "FIN DE LA PARTIE"
                            << "FIN DE LA PARTIE";
  QTest::newRow("several") << "a : b : c"
                           << " b : c";
  QTest::newRow("empty") << ""
                         << "";
  QTest::newRow("colon last") << "abc:"
                              << "";
}

void TestMessageLog::shownTextAfterFirstColon() {
  QFETCH(QString, line);
  QFETCH(QString, shown);
  QCOMPARE(TMessageLog::ShownText(line), shown);
}

void TestMessageLog::machineLineRuleOne() {
  TLogFixture f;
  const QImage row = f.Row(QStringLiteral("[MACHINE] : Je réfléchis..."));
  CheckIcon(row, 2, -1);
  CheckFillAndInk(row, kLilac, 17);
  const int start = TextStart(row, kLilac, 17);
  QVERIFY2(start >= 18 && start <= 26, qPrintable(QString::number(start)));
  // Regular weight: the same text written plain (bold, light blue) has more ink.
  const QImage bold = f.Row(QStringLiteral("x: Je réfléchis..."));
  QCOMPARE(TextStart(bold, kPlain, 0), start - 17);
  QVERIFY(InkCount(bold, kPlain, 0) > InkCount(row, kLilac, 17) + 10);
}

void TestMessageLog::opponentLineRuleOneInAnyMode() {
  TLogFixture f;
  const QString line = QStringLiteral("[ADVERSAIRE-1] : Adversaire a joué la colonne n°3");
  for (TLogMode mode : {TLogMode::Machine, TLogMode::TwoHumans, TLogMode::Network}) {
    f.mode = mode;
    const QImage row = f.Row(line);
    CheckIcon(row, 2, -1);
    CheckFillAndInk(row, kLilac, 17);
  }
  f.mode = TLogMode::Machine;
  QCOMPARE(f.Row(QStringLiteral("[MACHINE] : Je joue la colonne n° 4")).pixel(100, 1), kLilac);
}

void TestMessageLog::humanLinesAgainstTheMachine() {
  TLogFixture f;
  const QImage one = f.Row(QStringLiteral("[HUMAIN-1] : Je joue la colonne n° 3"));
  CheckIcon(one, 1, 0);
  CheckFillAndInk(one, kPale, 17);
  const QImage two = f.Row(QStringLiteral("[HUMAIN-2] : Je joue la colonne n° 3"));
  CheckIcon(two, 3, 0);
  CheckFillAndInk(two, kPale, 17);
  // Against the machine the text starts at 20, two pixels right of the two-humans rows.
  f.mode = TLogMode::TwoHumans;
  const QImage twoHumans = f.Row(QStringLiteral("[HUMAIN-1] : Je joue la colonne n° 3"));
  QCOMPARE(TextStart(one, kPale, 17), TextStart(twoHumans, kPale, 17) + 2);
  QCOMPARE(one.copy(20, 0, kWidth - 20, 18), twoHumans.copy(18, 0, kWidth - 20, 18));
  // A human line of neither player still counts against the machine.
  f.mode = TLogMode::Machine;
  CheckIcon(f.Row(QStringLiteral("[HUMAIN] : x")), 3, 0);
}

void TestMessageLog::humanLinesBetweenTwoHumans() {
  TLogFixture f;
  for (TLogMode mode : {TLogMode::TwoHumans, TLogMode::Network}) {
    f.mode = mode;
    const QImage one = f.Row(QStringLiteral("[HUMAIN-1] : Je joue la colonne n° 0"));
    CheckIcon(one, 1, 0);
    CheckFillAndInk(one, kPale, 17);
    const QImage two = f.Row(QStringLiteral("[HUMAIN-2] : Je joue la colonne n° 0"));
    CheckIcon(two, 3, 0);
    CheckFillAndInk(two, kLilac, 17);
    const int start = TextStart(two, kLilac, 17);
    QVERIFY2(start >= 18 && start <= 24, qPrintable(QString::number(start)));
    // Neither player 1 nor 2: no rule, a plain row.
    const QImage other = f.Row(QStringLiteral("[HUMAIN-3] : x"));
    QCOMPARE(other.pixel(5, 5), kPlain);
  }
}

void TestMessageLog::plainLines() {
  TLogFixture f;
  CheckFillAndInk(f.Row(QStringLiteral("Joueur \"HUMAIN-1\" commence")), kPlain, 0);
  const QImage starts = f.Row(QStringLiteral("DEBUT DE LA PARTIE"));
  CheckFillAndInk(starts, kPlain, 0);
  const int start = TextStart(starts, kPlain, 0);
  QVERIFY2(start >= 1 && start <= 3, qPrintable(QString::number(start)));
  const QImage empty = f.Row(QString());
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < kWidth; ++x) QCOMPARE(empty.pixel(x, y), kPlain);
  }
  // Only the part after the first colon is written.
  QCOMPARE(f.Row(QStringLiteral("one:two:three")), f.Row(QStringLiteral("x:two:three")));
  QVERIFY(f.Row(QStringLiteral("one:two:three")) != f.Row(QStringLiteral("one:two:thre")));
}

void TestMessageLog::modeIsReadAtDrawingTime() {
  TLogFixture f;
  f.log.resize(kWidth, 101);
  f.log.show();
  QVERIFY(QTest::qWaitForWindowExposed(&f.log));
  f.log.AppendLine(QStringLiteral("[HUMAIN-2] : Je joue la colonne n° 1"));
  QCoreApplication::processEvents();
  QImage shown = f.log.viewport()->grab().toImage();
  QCOMPARE(shown.pixel(100, 1), kPale);
  f.mode = TLogMode::TwoHumans;
  shown = f.log.viewport()->grab().toImage();
  QCOMPARE(shown.pixel(100, 1), kLilac);
  TMessageLog noSource;  // without a mode source: against the machine
  noSource.AppendLine(QStringLiteral("[HUMAIN-2] : x"));
  noSource.resize(kWidth, 101);
  noSource.show();
  QVERIFY(QTest::qWaitForWindowExposed(&noSource));
  QCOMPARE(noSource.viewport()->grab().toImage().pixel(100, 1), kPale);
}

void TestMessageLog::widgetRowsAndSelection() {
  TLogFixture f;
  f.log.resize(kWidth, 101);
  f.log.show();
  QVERIFY(QTest::qWaitForWindowExposed(&f.log));
  f.log.AppendLine(QStringLiteral("DEBUT DE LA PARTIE"));
  f.log.AppendLine(QStringLiteral("[MACHINE] : Je réfléchis..."));
  QCOMPARE(f.log.visualItemRect(f.log.item(1)), QRect(0, 18, f.log.viewport()->width(), 18));
  const QImage before = f.log.viewport()->grab().toImage();
  f.log.setCurrentRow(1);
  QVERIFY(f.log.item(1)->isSelected());
  const QImage after = f.log.viewport()->grab().toImage();
  QCOMPARE(after.copy(0, 0, kWidth - 30, 36), before.copy(0, 0, kWidth - 30, 36));
  QCOMPARE(after.pixel(100, 19), kLilac);
  QCOMPARE(f.log.Line(1), QStringLiteral("[MACHINE] : Je réfléchis..."));
  QCOMPARE(f.log.Line(7), QString());
  f.log.ClearLines();
  QCOMPARE(f.log.LineCount(), 0);
  f.log.ScrollToLastLine();  // nothing to scroll to
}

void TestMessageLog::scrollToLastLine() {
  TLogFixture f;
  f.log.resize(kWidth, 101);
  f.log.show();
  QVERIFY(QTest::qWaitForWindowExposed(&f.log));
  for (int i = 0; i < 3; ++i) f.log.AppendLine(QString::number(i));
  f.log.ScrollToLastLine();
  QCOMPARE(f.log.verticalScrollBar()->value(), 0);  // all fits: no scrolling
  for (int i = 3; i < 20; ++i) f.log.AppendLine(QString::number(i));
  f.log.setCurrentRow(2);
  QCOMPARE(f.log.verticalScrollBar()->value(), 0);  // appending does not scroll
  f.log.ScrollToLastLine();
  QCOMPARE(f.log.verticalScrollBar()->value(), f.log.verticalScrollBar()->maximum());
  QVERIFY(f.log.verticalScrollBar()->maximum() > 0);
  const QRect last = f.log.visualItemRect(f.log.item(19));
  QVERIFY(f.log.viewport()->rect().contains(last));
  QVERIFY(last.bottom() >= f.log.viewport()->height() - 18);  // at the bottom of the box
  QCOMPARE(f.log.currentRow(), 2);
  QCOMPARE(f.log.selectedItems().size(), 1);
  QCOMPARE(f.log.selectedItems().first(), f.log.item(2));
}

QTEST_MAIN(TestMessageLog)
#include "tst_MessageLog.moc"
