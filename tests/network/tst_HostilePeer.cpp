// Peers that do not play by the rules: random bytes, huge chat lines, bad
// columns, a new game or a disconnection in the middle of a move. The game
// must neither crash nor hang, and its grid may change only as the rules
// allow.
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <random>

#include "NetTestSupport.h"
#include "network/Protocol.h"
#include "rules/Board.h"
#include "tests/support/WindowControls.h"
#include "tools/hostile/Model.h"

using namespace zerud;
using namespace zerud::test;
using State = TFormReseau::TConnectionState;

namespace {

// A random text made mostly of pieces of real messages.
QByteArray Garbage(std::mt19937& random) {
  static const char* const pieces[] = {
      "INIT|xxx", "INIT", "DATA_GAME|", "DATA_GAME|", "DATA_GAME|", "DATA_FIN|", "DATA_CHAT|",
      "|",        "0",    "1",          "2",          "3",          "4",         "5",
      "6",        "7",    "9",          "-",          "x",          "init|xxx",  "DATA_",
      "\xE9",     "\x80", "\xFF",       " ",          "10"};
  QByteArray text;
  for (int count = 1 + static_cast<int>(random() % 4); count > 0; --count) {
    if (random() % 6 != 0) {
      text.append(pieces[random() % std::size(pieces)]);
      continue;
    }
    for (int j = 1 + static_cast<int>(random() % 12); j > 0; --j)
      text.append(static_cast<char>(random() % 256));
  }
  return text;
}

// No floating piece, only '0', '1' and '2', and player 1 never behind.
bool GridFollowsTheRules(const QString& grid) {
  if (grid.size() != 42) return false;
  int ones = 0, twos = 0;
  for (int column = 0; column < 7; ++column) {
    bool empty = false;
    for (int row = 5; row >= 0; --row) {
      const QChar cell = grid[row * 7 + column];
      if (cell != u'0' && cell != u'1' && cell != u'2') return false;
      if (cell == u'0')
        empty = true;
      else if (empty)
        return false;
      ones += cell == u'1';
      twos += cell == u'2';
    }
  }
  return ones == twos || ones == twos + 1;
}

struct THostileSetup : TServedPeer {
  // Slow falls and a game begun by the peer, so that a move lasts long
  // enough to be interrupted.
  bool StartSlowGame() {
    test::Control<QSlider>(*side.main, "tbVitesse")->setValue(1);
    return Connect() && SendAndSettle("INIT|xxx");
  }
  // Sends `move` and runs `action` once, from inside the event loop, as soon
  // as the move is falling (the fall pumps events, so the action lands in its
  // middle); then waits for everything to settle.
  bool InterruptMove(const QByteArray& move, std::function<void()> action) {
    auto ran = std::make_shared<bool>(false);
    auto* poll = new QTimer(side.main.get());
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll, action, ran] {
      if (!side.main->MoveUnderWay()) return;
      poll->stop();
      poll->deleteLater();
      *ran = true;
      action();
    });
    poll->start(5);
    peer.Send(move);
    return QTest::qWaitFor([&] { return *ran; }, 5000) && Settle();
  }
};

// Closes every message box that shows, from inside its own event loop, and
// keeps what it held.
struct TBoxCloser {
  QStringList texts;
  QList<Qt::TextFormat> formats;
  QList<Qt::TextFormat> labelFormats;
  QTimer timer;
  TBoxCloser() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || !box->isVisible()) continue;
        texts << box->text();
        formats << box->textFormat();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        labelFormats << (label ? label->textFormat() : Qt::AutoText);
        box->done(QMessageBox::Ok);
      }
    });
    timer.start(5);
  }
};

}  // namespace

class HostilePeerTest : public QObject {
  Q_OBJECT

 private slots:
  // One random text at a time: the game follows the model exactly.
  void randomTextsOneByOneFollowTheRules() {
    THostileSetup s;
    QVERIFY(s.Connect());
    campaign::TModel model;
    std::mt19937 garbage(20261207);
    for (int i = 0; i < 1500; ++i) {
      const QByteArray text = Garbage(garbage);
      s.peer.Send(text);
      QVERIFY(s.Settle());
      model.Receive(text);
      const QString grid = QString::fromStdString(model.Grid.ToString());
      QVERIFY2(s.side.main->GridText() == grid,
               qPrintable(QString("after %1: %2").arg(i).arg(QString::fromLatin1(text.toHex()))));
      QCOMPARE(s.side.main->Game().MoveNumber(), model.MoveNumber);
      QCOMPARE(s.side.main->Game().GameOver(), model.GameOver);
      if (model.MoveNumber > 1 || model.GameOver)
        QCOMPARE(s.side.main->Game().CurrentPlayer(), model.Player);
    }
    QCOMPARE(test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText().count(u'\n'),
             model.ChatLines);
    QCOMPARE(s.side.reseau->ConnectionState(), State::ServerConnected);
  }

  // Thousands of texts as fast as they can go: reads run together, and the
  // grid still only ever holds what the rules allow.
  void floodOfRandomBytes() {
    THostileSetup s;
    QVERIFY(s.Connect());
    std::mt19937 garbage(7), random(11);
    for (int i = 0; i < 5000; ++i) {
      QByteArray text = Garbage(garbage);
      if (i % 50 == 0) {
        text.resize(1 + static_cast<int>(random() % 4000));
        for (char& b : text) b = static_cast<char>(random() % 256);
      }
      s.peer.socket.write(text);
      if (i % 100 == 0) {
        s.peer.socket.flush();
        QCoreApplication::processEvents();
        QVERIFY(GridFollowsTheRules(s.side.main->GridText()));
      }
    }
    QVERIFY(s.Settle());
    QVERIFY(GridFollowsTheRules(s.side.main->GridText()));
    QCOMPARE(s.side.reseau->ConnectionState(), State::ServerConnected);
    // The game is still usable: a fresh start from the peer clears the grid.
    QVERIFY(s.SendAndSettle("INIT|xxx"));
    QCOMPARE(s.side.main->GridText(), QString(42, u'0'));
    QVERIFY(s.SendAndSettle("DATA_GAME|6"));
    QCOMPARE(s.side.main->GridText().mid(35), QString("0000001"));
  }

  void oversizeChatLinesAreCut() {
    THostileSetup s;
    QVERIFY(s.Connect());
    s.peer.Send("DATA_CHAT|" + QByteArray(3 * 1024 * 1024, 'a'));
    QVERIFY(s.Settle());
    // The tail of the huge line may still be on its way and swallow a short
    // message sent right behind it; send it until it shows.
    for (int attempt = 0;
         attempt < 10 &&
         !test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText().endsWith("\nfin\n");
         ++attempt) {
      Pump(200);
      QVERIFY(s.SendAndSettle("DATA_CHAT|fin"));
      Pump(100);
    }
    QVERIFY(test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText().endsWith("\nfin\n"));
    const QStringList lines =
        test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText().split(u'\n');
    for (const QString& line : lines) QVERIFY(line.size() <= kMaxChatLength);
    QCOMPARE(lines.first().size(), kMaxChatLength);
    QCOMPARE(s.side.reseau->ConnectionState(), State::ServerConnected);
  }

  // A new game announced while the peer's move is still falling: the move
  // ends, then the new game starts on an empty grid.
  void initDuringAnAnimation() {
    THostileSetup s;
    QVERIFY(s.StartSlowGame());
    QVERIFY(s.InterruptMove("DATA_GAME|3", [&] {
      s.peer.Send("INIT|xxx");
      Pump(50);
      s.peer.Send("DATA_CHAT|pendant la chute");
    }));
    QCOMPARE(s.side.main->GridText(), QString(42, u'0'));
    QCOMPARE(s.side.main->Game().MoveNumber(), 1);
    QCOMPARE(s.side.Log().value(2), QString("Votre adversaire commence la partie"));
    QVERIFY(test::Control<TChatMemo>(*s.side.main, "MemoChat")
                ->toPlainText()
                .contains("pendant la chute"));
    QVERIFY(s.SendAndSettle("DATA_GAME|0"));
    QCOMPARE(s.side.main->GridText().mid(35), QString("1000000"));
  }

  // A read holding a move and a chat line, then a chat line arriving while
  // that move falls: the lines show in the order they were sent.
  void messagesKeepTheirOrderAcrossReads() {
    THostileSetup s;
    QVERIFY(s.StartSlowGame());
    QVERIFY(s.InterruptMove("DATA_GAME|3DATA_CHAT|a", [&] {
      s.peer.Send("DATA_CHAT|b");
      Pump(100);
    }));
    QCOMPARE(test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText(), QString("a\nb\n"));
    QCOMPARE(s.side.main->GridText().mid(35), QString("0001000"));
  }

  // The move under way is played out; the game stays on the screen.
  void disconnectionDuringAnAnimation() {
    THostileSetup s;
    QVERIFY(s.StartSlowGame());
    QVERIFY(s.InterruptMove("DATA_GAME|5", [&] { s.peer.socket.abort(); }));
    QTRY_COMPARE(s.side.reseau->ConnectionState(), State::Idle);
    QCOMPARE(s.side.Status(), QString(" Déconnecté"));
    QVERIFY(!s.side.main->NetworkGame());
    QCOMPARE(s.side.main->GridText().mid(35), QString("0000010"));
    QVERIFY(s.shown.texts.isEmpty());
  }

  // Text from a file reaches the real error box as plain text: no heading,
  // no picture loaded (a file naming /dev/zero would eat the memory). A
  // peer's text never reaches a box: it is one plain line of the log.
  void peerAndFileTextIsShownLiterally_data() {
    QTest::addColumn<bool>("fromPeer");
    QTest::newRow("peer's column") << true;
    QTest::newRow("scores.txt weight") << false;
  }
  void peerAndFileTextIsShownLiterally() {
    QFETCH(bool, fromPeer);
    const QByteArray markup = "<h1>PERDU</h1><img src=/dev/zero>";
    const QString expected = QString("'%1' n'est pas une valeur entière correcte").arg(markup);
    TBoxCloser boxes;
    if (fromPeer) {
      THostileSetup s;
      QVERIFY(s.Connect());
      const TErrorDisplay collector = SetErrorDisplay({});  // the real box
      QVERIFY(s.SendAndSettle("DATA_GAME|" + markup));
      Pump(100);
      SetErrorDisplay(collector);
      QCOMPARE(s.side.Log(), QStringList{expected});
      QCOMPARE(s.side.main->GridText(), QString(42, u'0'));
      QVERIFY(boxes.texts.isEmpty());
      return;
    }
    const TProgramFolder folder(TProgramFolder::kBoth, "0|" + markup + "\n");
    TFormMain form(folder.Path());
    test::Control<QSlider>(form, "tbVitesse")
        ->setValue(test::Control<QSlider>(form, "tbVitesse")->maximum());
    const TErrorDisplay previous = SetErrorDisplay({});
    bool started = false;
    for (unsigned seed = 0; seed < 64 && !started; ++seed) {
      form.SeedRandom(seed);
      form.bnStartClick();
      started = form.Game().MoveNumber() == 1;
    }
    QVERIFY(started && boxes.texts.isEmpty());
    form.Colonne0Click(3);  // the machine scores a grid with the bad weight
    SetErrorDisplay(previous);
    QVERIFY(!form.MoveUnderWay());
    QCOMPARE(boxes.texts, QStringList{expected});
    QCOMPARE(boxes.formats, QList<Qt::TextFormat>{Qt::PlainText});
    QCOMPARE(boxes.labelFormats, QList<Qt::TextFormat>{Qt::PlainText});
  }

  // Long lines, through the real receiving path: the memo keeps the newest
  // MiB of text, whole lines, the oldest dropped first.
  void chatMemoKeepsTheNewestMebibyte() {
    THostileSetup s;
    QVERIFY(s.Connect());
    constexpr int kLength = 30000, kLines = 50;
    for (int i = 0; i < kLines; ++i)
      QVERIFY(s.SendAndSettle("DATA_CHAT|" + QByteArray(kLength, char('a' + i % 26))));
    const QString text = test::Control<TChatMemo>(*s.side.main, "MemoChat")->toPlainText();
    QVERIFY(text.size() <= TFormMain::kChatTextLimit);
    QStringList lines = text.split(u'\n');
    QCOMPARE(lines.takeLast(), QString());
    const int kept = TFormMain::kChatTextLimit / (kLength + 1);
    QCOMPARE(lines.size(), kept);
    for (int i = 0; i < kept; ++i)
      QCOMPARE(lines[i], QString(kLength, QChar(u'a' + (kLines - kept + i) % 26)));
  }

  // Déconnexion while the peer's move falls: the peer sees the end at once,
  // not when the fall is over; the move still ends in its cell.
  void deconnexionDuringAReceivedFallClosesAtOnce() {
    THostileSetup s;
    QVERIFY(s.StartSlowGame());
    QSignalSpy gone(&s.peer.socket, &QTcpSocket::disconnected);
    bool seenDuringFall = false;
    QVERIFY(s.InterruptMove("DATA_GAME|3", [&] {
      s.side.reseau->bnDeconnexionClick();
      seenDuringFall =
          QTest::qWaitFor([&] { return gone.count() == 1; }, 300) && s.side.main->MoveUnderWay();
    }));
    QVERIFY(seenDuringFall);
    QCOMPARE(s.side.reseau->ConnectionState(), State::Idle);
    QCOMPARE(s.side.main->GridText().mid(35), QString("0001000"));
  }

  // A stranger's bad columns while the server waits for no game: one line
  // each in the log, never a box, and the connection goes on.
  void badColumnsAreLogLinesNotBoxes() {
    THostileSetup s;
    QVERIFY(s.Connect());
    TBoxCloser boxes;
    const TErrorDisplay collector = SetErrorDisplay({});  // the real box
    for (int i = 0; i < 5; ++i) QVERIFY(s.SendAndSettle("DATA_GAME|0\n"));
    Pump(100);
    SetErrorDisplay(collector);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(s.side.Log(),
             QStringList(5, QString("'0\u240A' n'est pas une valeur entière correcte")));
    QCOMPARE(s.side.reseau->ConnectionState(), State::ServerConnected);
    QVERIFY(s.SendAndSettle("INIT|xxx"));
    QVERIFY(s.SendAndSettle("DATA_GAME|3"));
    QCOMPARE(s.side.main->GridText().mid(35), QString("0001000"));
  }
};

QTEST_MAIN(HostilePeerTest)
#include "tst_HostilePeer.moc"
