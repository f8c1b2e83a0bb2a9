#pragma once
// What the network window's tests share: a main window with its network
// window, set up for the fastest animations, a raw peer, and waiting.

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include "SocketTestSupport.h"
#include "game/FormMain.h"
#include "game/log/MessageLog.h"
#include "network/FormReseau.h"
#include "network/Sockets.h"
#include "platform/ErrorDisplay.h"

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

// One copy of the game: a main window and its network window.
struct TSide {
  std::unique_ptr<TFormMain> main;
  std::unique_ptr<TFormReseau> reseau;

  TSide() {
    main = std::make_unique<TFormMain>(QStringLiteral(ZERUD_TEST_PROGRAM_DIR));
    main->tbVitesse->setValue(main->tbVitesse->maximum());
    main->SeedRandom(1);
    reseau = std::make_unique<TFormReseau>(main.get());
  }

  QString Status() const { return main->lbReseau->text(); }
  QStringList Log() const {
    QStringList lines;
    for (int i = 0; i < main->MemoMessages->LineCount(); ++i) lines << main->MemoMessages->Line(i);
    return lines;
  }
  bool Idle() const { return !main->MoveUnderWay(); }

  // Connexion in the server role on a free port; returns the port.
  quint16 Listen() {
    reseau->EditNumeroPort->setText(kAnyPortText);
    reseau->bnConnexionClick();
    return reseau->ServerSocket->ListeningPort();
  }
  // Connexion in the client role towards 127.0.0.1.
  void Join(quint16 port) {
    reseau->RadioClientClick();
    reseau->EditNomServeur->setText(QStringLiteral("127.0.0.1"));
    reseau->EditNumeroPort->setText(QString::number(port));
    reseau->bnConnexionClick();
  }
};

// A plain socket standing for the other copy of the game.
struct TRawPeer {
  QTcpSocket socket;
  QByteArray received;

  TRawPeer() {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
  }
  bool Connect(quint16 port) {
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(3000);
  }
  void Send(const QByteArray& bytes) {
    socket.write(bytes);
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
struct TServedPeer {
  TShownErrors shown;
  TSide side;
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
          if (peer.socket.bytesToWrite() > 0 || !side.Idle()) return false;
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

}  // namespace zerud::test
