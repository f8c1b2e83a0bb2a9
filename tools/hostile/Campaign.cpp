#include "Campaign.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSlider>
#include <QTcpSocket>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <memory>

#include "Model.h"
#include "PeerText.h"
#include "game/model/Pause.h"
#include "game/window/FormMain.h"
#include "network/FormReseau.h"
#include "network/Protocol.h"
#include "network/Sockets.h"
#include "platform/ErrorDisplay.h"
#include "tests/support/WindowControls.h"

namespace zerud::campaign {
namespace {

constexpr int kWaitMs = 10000;
constexpr long kBlock = 10'000;
constexpr long kPaintedBlocks = 10;
// A port setting whose low 16 bits are 0: the server listens on a free port.
constexpr int kAnyPort = 7 * 65536;

class TCampaign {
 public:
  explicit TCampaign(const TSettings& settings) : settings_(settings), text_(settings.Seed) {}

  TResult Run() {
    QElapsedTimer clock;
    clock.start();
    SetPauseScale(0);
    const TErrorDisplay previous = SetErrorDisplay([this](const QString&) { ++reports_; });
    main_ = std::make_unique<TFormMain>(settings_.ProgramFolder);
    main_->SetProcessEnd([](int) {});
    test::Control<QSlider>(*main_, "tbVitesse")
        ->setValue(test::Control<QSlider>(*main_, "tbVitesse")->maximum());
    main_->SeedRandom(static_cast<unsigned>(settings_.Seed));
    reseau_ = std::make_unique<TFormReseau>(main_->GameLink());
    main_->show();
    reports_ = 0;  // what the window's creation reported (a missing file) is no peer's doing

    bool ok = Connect();
    long nextProgress = 100'000;
    for (long step = 0; ok && result_.Messages < settings_.Messages; ++step) {
      lastReads_.clear();
      // The main window is shown, and every frame of the falls painted, for
      // one block of messages in kPaintedBlocks; hidden the rest of the
      // time, where painting would take three quarters of the time.
      const bool painted = result_.Messages / kBlock % kPaintedBlocks == 0;
      if (painted != main_->isVisible()) main_->setVisible(painted);
      ok = Step() && Settle() && Check(step);
      if (settings_.Progress && result_.Messages >= nextProgress) {
        fprintf(stderr, "%ld messages, %.0f s\n", result_.Messages, clock.elapsed() / 1000.0);
        nextProgress += 100'000;
      }
      if (step % 256 == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    peer_.reset();
    reseau_.reset();
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetErrorDisplay(previous);
    SetPauseScale(1);
    result_.Passed = ok;
    result_.Failure = failure_;
    result_.MovesPlayed = model_.MovesPlayed;
    result_.GamesEnded = model_.GamesEnded;
    result_.Reports = model_.Reports;
    result_.Seconds = clock.nsecsElapsed() / 1e9;
    return result_;
  }

 private:
  bool Fail(const QString& why) {
    if (failure_.isEmpty()) {
      failure_ = why;
      for (const QByteArray& read : lastReads_)
        failure_ += QStringLiteral("\n  read: ") + QString::fromLatin1(read.left(200).toHex(' '));
    }
    return false;
  }

  bool WaitFor(const std::function<bool()>& done, const QString& what, int ms = kWaitMs) {
    if (done()) return true;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (done()) return true;
      if (clock.elapsed() > ms) return Fail(QStringLiteral("hang: no ") + what);
    }
  }

  // Connexion in the server role on a free port; the peer joins.
  bool Connect() {
    reseau_->EditNumeroPort->setText(QString::number(kAnyPort));
    reseau_->bnConnexionClick();
    const quint16 port = reseau_->ServerSocket->ListeningPort();
    if (port == 0) return Fail(QStringLiteral("the server does not listen"));
    peer_ = std::make_unique<QTcpSocket>();
    peer_->connectToHost(QHostAddress::LocalHost, port);
    if (!WaitFor(
            [this] {
              return peer_->state() == QAbstractSocket::ConnectedState &&
                     reseau_->ConnectionState() == TFormReseau::TConnectionState::ServerConnected;
            },
            QStringLiteral("connection")))
      return false;
    peer_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connection_ = reseau_->ServerSocket->Connection(0);
    sent_ = 0;
    // Connexion and the accepted peer both turn the column targets off.
    model_.TargetsOn = false;
    return true;
  }

  // One write, taken by the window as one read (a write far over the
  // largest read may be taken in several; only overlong chat lines are).
  bool SendRead(const QByteArray& bytes) {
    lastReads_ << bytes;
    ++result_.Reads;
    model_.Receive(bytes);
    peer_->write(bytes);
    peer_->flush();
    sent_ += bytes.size();
    return WaitFor([this] { return connection_ && connection_->ReceivedBytes() >= sent_; },
                   QStringLiteral("read of what was sent"));
  }

  // Every move played and every held-back message handled.
  bool Settle() {
    return WaitFor([this] { return !main_->MoveUnderWay() && !main_->PeerMessagesWaiting(); },
                   QStringLiteral("end of the move"));
  }

  bool Disconnected() { return reseau_->ConnectionState() == TFormReseau::TConnectionState::Idle; }

  bool Reconnect() {
    if (!WaitFor([this] { return Disconnected(); }, QStringLiteral("disconnection")) || !Settle())
      return false;
    ++result_.Disconnections;
    model_.ConnectionLost();
    peer_.reset();
    return Connect();
  }

  bool Step() {
    // A chat line far over the cut: rare, as laying out 64 KiB of text in
    // the memo takes the game a good part of a second.
    if (text_.Below(10000) == 0) {
      ++result_.Messages;
      return SendRead(text_.OverlongChat());
    }
    const int kind = text_.Below(1000);
    if (kind < 500) {  // one message, one read
      ++result_.Messages;
      return SendRead(text_.Message(model_));
    }
    if (kind < 640) {  // several messages joined in one read
      QByteArray read;
      for (int n = 2 + text_.Below(4); n > 0; --n, ++result_.Messages)
        read += text_.Message(model_);
      return SendRead(read);
    }
    if (kind < 700) {  // a chat line and the moves or starts sent right behind it
      QByteArray read = "DATA_CHAT|" + text_.Payload();
      ++result_.Messages;
      for (int n = 1 + text_.Below(3); n > 0; --n, ++result_.Messages)
        read += text_.Chance(80) ? text_.Move() : QByteArray("INIT|xxx");
      return SendRead(read);
    }
    if (kind < 800) {  // one message cut across two or three reads
      const QByteArray message = text_.Message(model_);
      ++result_.Messages;
      int start = 0;
      for (int pieces = 1 + text_.Below(3); pieces > 1 && message.size() - start > 1; --pieces) {
        const int cut = start + 1 + text_.Below(static_cast<int>(message.size()) - start - 1);
        if (!SendRead(message.mid(start, cut - start))) return false;
        start = cut;
      }
      return SendRead(message.mid(start));
    }
    if (kind < 980) return MidFall();
    if (kind < 998) {  // the peer leaves in the middle of a message
      const QByteArray message = text_.Message(model_);
      ++result_.Messages;
      if (message.size() > 1 &&
          !SendRead(message.left(1 + text_.Below(static_cast<int>(message.size()) - 1))))
        return false;
      peer_->abort();
      return Reconnect();
    }
    ++result_.Messages;
    return SendRead(text_.Message(model_));
  }

  // A move that falls now, and while it falls, reads of new games, ends,
  // moves and anything else; sometimes the connection ends then too.
  bool MidFall() {
    int column = -1;
    for (int c = text_.Below(kColumns), tries = 0; tries < kColumns;
         c = (c + 1) % kColumns, ++tries)
      if (LandingRow(model_.Grid, c) != -1) column = c;
    if (column < 0 || model_.MoveNumber > kCells) {
      ++result_.Messages;
      return SendRead("INIT|xxx");
    }
    QList<QByteArray> reads;
    for (int n = 1 + text_.Below(4); n > 0; --n) {
      QByteArray read;
      for (int m = text_.Chance(75) ? 1 : 2 + text_.Below(2); m > 0; --m, ++result_.Messages)
        read += text_.DuringFall(model_);
      reads << read;
    }
    const int ending = text_.Below(20);  // 0: the peer leaves, 1: Déconnexion, else none
    bool injected = false, ok = true, leaving = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (injected || !main_->MoveUnderWay()) return;
      injected = true;
      poll.stop();
      ++result_.MidFall;
      for (const QByteArray& read : reads)
        if (ok) ok = SendRead(read);
      if (!ok) return;
      if (ending == 0) {
        leaving = true;
        peer_->abort();
        ok = WaitFor([this] { return Disconnected(); }, QStringLiteral("disconnection seen"));
      } else if (ending == 1) {
        // The local Déconnexion: the peer sees the end while the move falls.
        leaving = true;
        reseau_->bnDeconnexionClick();
        ok = WaitFor([this] { return peer_->state() == QAbstractSocket::UnconnectedState; },
                     QStringLiteral("end seen by the peer during the fall"), 2000);
        if (ok && !main_->MoveUnderWay()) ok = Fail(QStringLiteral("the fall ended early"));
      }
    });
    poll.start();
    ++result_.Messages;
    // The game plays what it read from the event loop: the poll injects the
    // reads while the move falls, before the move is over.
    if (!SendRead("DATA_GAME|" + QByteArray::number(column)) || !ok) return false;
    if (!WaitFor([&] { return injected || !main_->PeerMessagesWaiting(); },
                 QStringLiteral("start of the move")) ||
        !ok)
      return false;
    poll.stop();
    if (!injected) {
      for (const QByteArray& read : reads)
        if (!SendRead(read)) return false;
    }
    if (!ok) return false;
    return !leaving || Reconnect();
  }

  bool Check(long step) {
    auto wrong = [&](const QString& what, const QString& seen, const QString& expected) {
      return Fail(QStringLiteral("step %1, message %2: %3 is %4, the rules say %5")
                      .arg(step)
                      .arg(result_.Messages)
                      .arg(what, seen, expected));
    };
    const QString grid = QString::fromStdString(model_.Grid.ToString());
    if (main_->GridText() != grid) return wrong("the grid", main_->GridText(), grid);
    if (main_->Game().MoveNumber() != model_.MoveNumber)
      return wrong("MoveNumber", QString::number(main_->Game().MoveNumber()),
                   QString::number(model_.MoveNumber));
    if (main_->Game().CurrentPlayer() != model_.Player)
      return wrong("the player", QString::number(main_->Game().CurrentPlayer()),
                   QString::number(model_.Player));
    if (main_->Game().GameOver() != model_.GameOver)
      return wrong("GameOver", QString::number(main_->Game().GameOver()),
                   QString::number(model_.GameOver));
    QString targets, expected;
    for (int c = 0; c < kColumns; ++c) {
      targets += test::ColumnControl<TColumnTarget>(*main_, c)->isEnabled() ? u'1' : u'0';
      expected += model_.TargetOn(c) ? u'1' : u'0';
    }
    if (targets != expected) return wrong("the column targets", targets, expected);
    // What a peer sends never opens a box.
    if (reports_ != 0)
      return wrong("the count of error boxes", QString::number(reports_), QStringLiteral("0"));
    if (reseau_->ConnectionState() != TFormReseau::TConnectionState::ServerConnected)
      return wrong("the connection", QStringLiteral("lost"), QStringLiteral("up"));
    if (test::Control<TChatMemo>(*main_, "MemoChat")->document()->characterCount() - 1 >
        TFormMain::kChatTextLimit)
      return wrong("the chat memo",
                   QString::number(
                       test::Control<TChatMemo>(*main_, "MemoChat")->document()->characterCount()),
                   QStringLiteral("at most 1 MiB"));
    return true;
  }

  TSettings settings_;
  TPeerText text_;
  TModel model_;
  std::unique_ptr<TFormMain> main_;
  std::unique_ptr<TFormReseau> reseau_;
  std::unique_ptr<QTcpSocket> peer_;
  QPointer<TSocketConnection> connection_;
  qint64 sent_ = 0;
  long reports_ = 0;
  TResult result_;
  QString failure_;
  QList<QByteArray> lastReads_;
};

}  // namespace

TResult Run(const TSettings& settings) { return TCampaign(settings).Run(); }

}  // namespace zerud::campaign
