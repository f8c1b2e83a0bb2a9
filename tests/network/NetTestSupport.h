#pragma once
// What the network window's tests share: the network window over a recording
// game, or a main window with its network window set up for the fastest
// animations; a raw peer, and waiting.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include "SocketTestSupport.h"
#include "game/log/MessageLog.h"
#include "game/window/FormMain.h"
#include "network/FormReseau.h"
#include "network/Sockets.h"
#include "platform/ErrorDisplay.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/WindowControls.h"

namespace zerud::test {

// Collects the texts shown to the user instead of opening message boxes.
struct TShownErrors {
  QStringList texts;
  TErrorDisplay previous;
  TShownErrors() {
    previous = SetErrorDisplay([this](const QString& text) { texts << text; });
  }
  ~TShownErrors() { SetErrorDisplay(previous); }
};

// A port text whose low 16 bits are 0: the server listens on a free port.
inline const QString kAnyPortText = QString::number(7 * 65536);

// Connexion in the server role on a free port; returns the port.
inline quint16 Listen(TFormReseau& reseau) {
  reseau.EditNumeroPort->setText(kAnyPortText);
  reseau.bnConnexionClick();
  return reseau.ServerSocket->ListeningPort();
}

// Connexion in the client role towards 127.0.0.1.
inline void Join(TFormReseau& reseau, quint16 port) {
  reseau.RadioClientClick();
  reseau.EditNomServeur->setEditText(QStringLiteral("127.0.0.1"));
  reseau.EditNumeroPort->setText(QString::number(port));
  reseau.bnConnexionClick();
}

// The game as the network window sees it: what the window does to it is
// recorded, what the peer sends as "start", "move <text>", "end", "chat <line>".
class TRecordingGame : public TGameLink {
 public:
  QWidget Window;
  TNetworkLink* Link = nullptr;
  bool NetworkGame = false;
  bool ModesEnabled = true;
  bool IsServer = false;
  bool StartEnabled = false;
  bool MovesStopped = false;
  QString Status;
  QStringList Received;

  QWidget* GameWindow() override { return &Window; }
  void SetNetworkLink(TNetworkLink* link) override { Link = link; }
  TNetworkLink* NetworkLink() const override { return Link; }
  void EnterNetworkMode() override {
    MovesStopped = true;
    NetworkGame = true;
    ModesEnabled = false;
  }
  void LeaveNetworkMode() override {
    NetworkGame = false;
    ModesEnabled = true;
  }
  void SetServerRole(bool server) override { IsServer = server; }
  bool ServerRole() const override { return IsServer; }
  void ShowNetworkStatus(const QString& text) override { Status = text; }
  void AllowNewGame(bool on) override { StartEnabled = on; }
  void StopMoves() override { MovesStopped = true; }
  void StartPeerGame() override { Received << QStringLiteral("start"); }
  void PlayPeerMove(const QString& column) override {
    Received << QStringLiteral("move ") + column;
  }
  void EndPeerGame() override { Received << QStringLiteral("end"); }
  void ShowPeerChat(const QString& line) override { Received << QStringLiteral("chat ") + line; }
};

// The network window alone, over a recording game.
struct TLoneWindow {
  TRecordingGame game;
  std::unique_ptr<TFormReseau> reseau = std::make_unique<TFormReseau>(&game);

  QString Status() const { return game.Status; }
  bool Idle() const { return true; }
  quint16 Listen() { return test::Listen(*reseau); }
  void Join(quint16 port) { test::Join(*reseau, port); }
};

// One copy of the game: a main window and its network window.
struct TSide {
  std::unique_ptr<TFormMain> main;
  std::unique_ptr<TFormReseau> reseau;

  TSide() {
    main = std::make_unique<TFormMain>(BuiltProgramFolder());
    test::Control<QSlider>(*main, "tbVitesse")
        ->setValue(test::Control<QSlider>(*main, "tbVitesse")->maximum());
    main->SeedRandom(1);
    reseau = std::make_unique<TFormReseau>(main->GameLink());
  }

  QString Status() const { return test::Control<QLabel>(*main, "lbReseau")->text(); }
  QStringList Log() const {
    QStringList lines;
    for (int i = 0; i < test::Control<TMessageLog>(*main, "MemoMessages")->LineCount(); ++i)
      lines << test::Control<TMessageLog>(*main, "MemoMessages")->Line(i);
    return lines;
  }
  bool Idle() const { return !main->MoveUnderWay(); }

  quint16 Listen() { return test::Listen(*reseau); }
  void Join(quint16 port) { test::Join(*reseau, port); }
};

// A plain socket standing for the other copy of the game.
struct TRawPeer {
  QTcpSocket socket;
  QByteArray received;
  qint64 sent = 0;  // bytes written since the connection was made

  TRawPeer() {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
  }
  bool Connect(quint16 port) {
    sent = 0;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(3000);
  }
  void Send(const QByteArray& bytes) {
    sent += socket.write(bytes);
    socket.flush();
  }
  // Waits for exactly these bytes to have arrived, then forgets them.
  bool Expect(const QByteArray& bytes) {
    const bool arrived = QTest::qWaitFor([&] { return received == bytes; });
    if (!arrived) qWarning() << "received" << received << "instead of" << bytes;
    received.clear();
    return arrived;
  }
};

// A game in the server role with a plain socket connected to it.
template <class Side>
struct TServedPeerOf {
  TShownErrors shown;
  Side side;
  TRawPeer peer;

  bool Connect() {
    if (!peer.Connect(side.Listen())) return false;
    return QTest::qWaitFor([&] {
      return side.reseau->ConnectionState() == TFormReseau::TConnectionState::ServerConnected;
    });
  }
  // Waits until the window has read everything and finished every move.
  bool Settle() {
    return QTest::qWaitFor(
        [&] {
          // Written by the peer is not yet read by the window: wait for the
          // window's own count, unless it has closed the connection.
          const TSocketConnection* connection = side.reseau->ServerSocket->Connection(0);
          if (connection != nullptr && connection->ReceivedBytes() < peer.sent) return false;
          if (!side.Idle()) return false;
          Pump(2);
          return side.Idle();
        },
        20000);
  }
  // Sends a message and waits for the window to have dealt with it.
  bool SendAndSettle(const QByteArray& bytes) {
    peer.Send(bytes);
    return Settle();
  }
};

using TServedPeer = TServedPeerOf<TSide>;

}  // namespace zerud::test
