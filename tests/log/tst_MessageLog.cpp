#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include "game/log/MessageLog.h"

using namespace zerud;

Q_DECLARE_METATYPE(zerud::TLogMode)
Q_DECLARE_METATYPE(zerud::TSpeaker)

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
    for (int y = 0; y < 20; ++y)
      for (int x = 16; x < 20; ++x) icon.setPixel(x, y, 0);
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

  QImage Row(const QString& line, TSpeaker speaker = TSpeaker::None) {
    log.ClearLines();
    log.AppendLine(line, speaker);
    QImage row(kWidth, TMessageLog::kRowHeight, QImage::Format_RGB32);
    row.fill(Qt::white);
    QPainter painter(&row);
    log.MemoMessagesDrawItem(painter, row.rect(), 0);
    return row;
  }

  // The log as a widget on screen.
  bool Show() {
    log.resize(kWidth, 101);
    log.show();
    return QTest::qWaitForWindowExposed(&log);
  }
  QRgb Shown(int x, int y) { return log.viewport()->grab().toImage().pixel(x, y); }
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
  for (int x = fromX; x < row.width(); ++x)
    for (int y = 0; y < row.height(); ++y) count += IsInk(row.pixel(x, y), fill);
  return count;
}

// Every pixel that is not ink shows the fill, and the ink is dark (black text).
void CheckFillAndInk(const QImage& row, QRgb fill, int fromX) {
  int darkest = 255;
  for (int x = fromX; x < row.width(); ++x) {
    for (int y = 0; y < row.height(); ++y) {
      const QRgb p = row.pixel(x, y);
      darkest = std::min(darkest, std::max({qRed(p), qGreen(p), qBlue(p)}));
      if (!IsInk(p, fill))
        QVERIFY2(std::abs(qRed(p) - qRed(fill)) <= 40 && std::abs(qBlue(p) - qBlue(fill)) <= 40,
                 qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
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
  void speakerRows_data() {
    QTest::addColumn<TLogMode>("mode");
    QTest::addColumn<QString>("line");
    QTest::addColumn<TSpeaker>("speaker");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("iconTop");
    QTest::addColumn<int>("textX");
    const QString move = QStringLiteral("] : Je joue la colonne n° 3");
    auto row = [&](const char* name, TLogMode mode, const QString& prefix, TSpeaker speaker,
                   QRgb fill, int icon, int iconTop, int textX) {
      QTest::newRow(name) << mode << prefix + move << speaker << fill << icon << iconTop << textX;
    };
    const TSpeaker machine = TSpeaker::Machine, peer = TSpeaker::Peer;
    const TSpeaker human1 = TSpeaker::Human1, human2 = TSpeaker::Human2;
    row("machine", TLogMode::Machine, "[MACHINE", machine, kLilac, 2, -1, 18);
    row("machine, two humans", TLogMode::TwoHumans, "[MACHINE", machine, kLilac, 2, -1, 18);
    row("opponent, network", TLogMode::Network, "[ADVERSAIRE-1", peer, kLilac, 2, -1, 18);
    row("opponent, machine mode", TLogMode::Machine, "[ADVERSAIRE-2", peer, kLilac, 2, -1, 18);
    row("human 1 against the machine", TLogMode::Machine, "[HUMAIN-1", human1, kPale, 1, 0, 20);
    row("human 2 against the machine", TLogMode::Machine, "[HUMAIN-2", human2, kPale, 3, 0, 20);
    row("human 1, two humans", TLogMode::TwoHumans, "[HUMAIN-1", human1, kPale, 1, 0, 18);
    row("human 2, two humans", TLogMode::TwoHumans, "[HUMAIN-2", human2, kLilac, 3, 0, 18);
    row("human 1, network", TLogMode::Network, "[HUMAIN-1", human1, kPale, 1, 0, 18);
    row("human 2, network", TLogMode::Network, "[HUMAIN-2", human2, kLilac, 3, 0, 18);
    row("hint", TLogMode::Network, "[CONSEIL", TSpeaker::Hint, kPale, 0, 0, 20);
    // The speaker decides, never the text: a peer's move whose text looks
    // like ours is still the peer's.
    row("peer, whatever the text", TLogMode::Network, "[HUMAIN-1", peer, kLilac, 2, -1, 18);
  }

  // Fill, icon and the text after the colon in regular weight with the top of
  // its line at y = 3, compared with the same text written on its own.
  void speakerRows() {
    QFETCH(TLogMode, mode);
    QFETCH(QString, line);
    QFETCH(TSpeaker, speaker);
    QFETCH(QRgb, fill);
    QFETCH(int, icon);
    QFETCH(int, iconTop);
    QFETCH(int, textX);
    TLogFixture f;
    f.mode = mode;
    const QImage row = f.Row(line, speaker);
    CheckIcon(row, icon, iconTop);
    CheckFillAndInk(row, fill, 17);

    QImage text(kWidth - textX, TMessageLog::kRowHeight, QImage::Format_RGB32);
    text.fill(fill);
    QPainter painter(&text);
    const QFont font = TMessageLog::RowFont(false);
    QCOMPARE(font.families().first(), QStringLiteral("Tahoma"));
    QCOMPARE(font.pointSize(), 7);
    QVERIFY(!font.bold());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, 3 + QFontMetrics(font).ascent(),
                     QStringLiteral(" Je joue la colonne n° 3"));
    painter.end();
    QCOMPARE(row.copy(textX, 0, kWidth - textX, TMessageLog::kRowHeight), text);
  }

  // Lines without a speaker are plain, whatever their text: the plain fill,
  // bold text (more ink than a speaker's regular text) from the left edge,
  // nothing when empty.
  void plainLines() {
    TLogFixture f;
    const QImage regular = f.Row(QStringLiteral("[MACHINE] : Je réfléchis..."), TSpeaker::Machine);
    const QImage bold = f.Row(QStringLiteral("x: Je réfléchis..."));
    QVERIFY(InkCount(bold, kPlain, 0) > InkCount(regular, kLilac, 17) + 10);
    CheckFillAndInk(f.Row(QStringLiteral("Joueur \"HUMAIN-1\" commence")), kPlain, 0);
    const QImage starts = f.Row(QStringLiteral("DEBUT DE LA PARTIE"));
    CheckFillAndInk(starts, kPlain, 0);
    const int start = TextStart(starts, kPlain, 0);
    QVERIFY2(start >= 1 && start <= 3, qPrintable(QString::number(start)));
    for (TLogMode mode : {TLogMode::TwoHumans, TLogMode::Network}) {
      f.mode = mode;
      CheckFillAndInk(f.Row(QStringLiteral("[MACHINE] : x")), kPlain, 0);
    }
    const QImage empty = f.Row(QString());
    QImage plain(empty.size(), empty.format());
    plain.fill(kPlain);
    QCOMPARE(empty, plain);
    // Of a speaker's line only the part after the first colon is written; a
    // plain line is written whole.
    const TSpeaker machine = TSpeaker::Machine;
    QCOMPARE(f.Row(QStringLiteral("one:two:three"), machine),
             f.Row(QStringLiteral("x:two:three"), machine));
    QVERIFY(f.Row(QStringLiteral("one:two:three"), machine) !=
            f.Row(QStringLiteral("one:two:thre"), machine));
    QVERIFY(f.Row(QStringLiteral("one:two:three")) != f.Row(QStringLiteral("x:two:three")));
  }

  void modeIsReadAtDrawingTime() {
    TLogFixture f;
    QVERIFY(f.Show());
    f.log.AppendLine(QStringLiteral("[HUMAIN-2] : Je joue la colonne n° 1"), TSpeaker::Human2);
    QCoreApplication::processEvents();
    QCOMPARE(f.Shown(100, 1), kPale);
    f.mode = TLogMode::TwoHumans;
    QCOMPARE(f.Shown(100, 1), kLilac);
    f.log.SetModeSource({});  // without a mode source: against the machine
    QCOMPARE(f.Shown(100, 1), kPale);
  }

  // Rows of 18 pixels across the whole width; selecting a row changes nothing
  // drawn (the scroll bar's strip aside).
  void rowsAndSelection() {
    TLogFixture f;
    QVERIFY(f.Show());
    f.log.AppendLine(QStringLiteral("DEBUT DE LA PARTIE"));
    f.log.AppendLine(QStringLiteral("[MACHINE] : Je réfléchis..."), TSpeaker::Machine);
    QCOMPARE(f.log.visualItemRect(f.log.item(1)), QRect(0, 18, f.log.viewport()->width(), 18));
    const QImage before = f.log.viewport()->grab().toImage();
    f.log.setCurrentRow(1);
    QVERIFY(f.log.item(1)->isSelected());
    const QImage after = f.log.viewport()->grab().toImage();
    QCOMPARE(after.copy(0, 0, kWidth - 30, 36), before.copy(0, 0, kWidth - 30, 36));
    QCOMPARE(after.pixel(100, 19), kLilac);
    f.log.ClearLines();
    f.log.ScrollToLastLine();  // nothing to scroll to
  }

  // Only ScrollToLastLine scrolls, and only when the lines do not fit: the last
  // line then sits at the bottom of the box; the selection stays.
  void scrollToLastLine() {
    TLogFixture f;
    QVERIFY(f.Show());
    QScrollBar* bar = f.log.verticalScrollBar();
    for (int i = 0; i < 3; ++i) f.log.AppendLine(QString::number(i));
    f.log.ScrollToLastLine();
    QCOMPARE(bar->value(), 0);
    for (int i = 3; i < 20; ++i) f.log.AppendLine(QString::number(i));
    f.log.setCurrentRow(2);
    QCOMPARE(bar->value(), 0);
    f.log.ScrollToLastLine();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    const QRect last = f.log.visualItemRect(f.log.item(19));
    QVERIFY(f.log.viewport()->rect().contains(last));
    QVERIFY(last.bottom() >= f.log.viewport()->height() - 18);
    QCOMPARE(f.log.selectedItems(), QList<QListWidgetItem*>{f.log.item(2)});
  }
};

QTEST_MAIN(TestMessageLog)
#include "tst_MessageLog.moc"
