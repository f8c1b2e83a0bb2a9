#include <QHostInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <climits>
#include <memory>

#include "SocketTestSupport.h"
#include "network/LocalAddress.h"
#include "network/Sockets.h"

using namespace zerud;
using namespace zerud::test;

namespace {

// A port setting whose low 16 bits are 0: the system picks a free port.
constexpr int kAnyPort = 7 * 65536;

quint16 FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::AnyIPv4, 0);
  return probe.serverPort();
}

// Records every event of a server socket.
struct TServerLog {
  int accepts = 0, reads = 0, disconnects = 0, errors = 0;
  QByteArray received;
  explicit TServerLog(TServerSocket& server) {
    server.OnAccept = [this](TSocketConnection*) { ++accepts; };
    server.OnClientRead = [this](TSocketConnection* c) {
      ++reads;
      received += c->ReceiveText();
    };
    server.OnClientDisconnect = [this](TSocketConnection*) { ++disconnects; };
    server.OnClientError = [this](TSocketConnection*, TErrorEvent, int& code) {
      ++errors;
      code = 0;
    };
  }
};

struct TClientLog {
  int connects = 0, reads = 0, disconnects = 0, errors = 0;
  TErrorEvent lastKind = TErrorEvent::eeGeneral;
  int lastCode = 0;
  bool silence = true;
  QByteArray received;
  explicit TClientLog(TClientSocket& client) {
    client.OnConnect = [this](TSocketConnection*) { ++connects; };
    client.OnRead = [this](TSocketConnection* c) {
      ++reads;
      received += c->ReceiveText();
    };
    client.OnDisconnect = [this](TSocketConnection*) { ++disconnects; };
    client.OnError = [this](TSocketConnection*, TErrorEvent kind, int& code) {
      ++errors;
      lastKind = kind;
      lastCode = code;
      if (silence) code = 0;
    };
  }
};

// A client socket opened towards a plain listening socket.
struct TClientAndPeer {
  QTcpServer peerServer;
  TClientSocket client;
  TClientLog log{client};
  std::unique_ptr<QTcpSocket> peer;

  TClientAndPeer() {
    peerServer.listen(QHostAddress::LocalHost, 0);
    client.SetHost("127.0.0.1");
    client.SetPort(peerServer.serverPort());
  }
  // Waits for the listening side to see the connection and takes it.
  bool Accept() {
    if (!QTest::qWaitFor([&] { return peerServer.hasPendingConnections(); })) return false;
    peer.reset(peerServer.nextPendingConnection());
    return true;
  }
};

QString ThrownText(const std::function<void()>& action) {
  try {
    action();
  } catch (const TSocketError& error) {
    return QString::fromUtf8(error.what());
  }
  return {};
}

}  // namespace

class SocketsTest : public QObject {
  Q_OBJECT

 private slots:
  void portRule_data() {
    QTest::addColumn<int>("multiple");
    QTest::newRow("as is") << 0;
    QTest::newRow("plus 4 x 65536") << 4;
    QTest::newRow("negative") << -3;
    QTest::newRow("most negative") << -32768;
  }

  // Server and client given different settings with the same low 16 bits meet.
  void portRule() {
    QFETCH(int, multiple);
    const quint16 port = FreePort();
    const int setting = static_cast<int>(static_cast<qint64>(multiple) * 65536 + port);
    TServerSocket server;
    TServerLog serverLog(server);
    server.SetPort(setting);
    server.Open();
    QCOMPARE(server.ListeningPort(), port);

    TClientSocket client;
    TClientLog clientLog(client);
    client.SetHost("127.0.0.1");
    client.SetPort(static_cast<int>(port) - 65536 * 2);
    client.Open();
    QTRY_COMPARE(clientLog.connects, 1);
    QTRY_COMPARE(serverLog.accepts, 1);
    QVERIFY(client.Active());
    QCOMPARE(TcpPort(290672), 28528);
    QCOMPARE(TcpPort(INT_MIN), 0);
  }

  void serverAcceptsReadsSendsAndSeesThePeerLeave() {
    TServerSocket server;
    TServerLog log(server);
    server.SetPort(kAnyPort);
    server.Open();
    QVERIFY(server.Active());

    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QTRY_COMPARE(log.accepts, 1);
    QCOMPARE(server.ActiveConnections(), 1);
    QVERIFY(peer.waitForConnected(2000));

    peer.write("INIT|xxx");
    QTRY_COMPARE(log.received, QByteArray("INIT|xxx"));
    QCOMPARE(server.Connection(0)->SendText("DATA_GAME|3"), 11);
    QTRY_COMPARE(peer.bytesAvailable(), 11);
    QCOMPARE(peer.readAll(), QByteArray("DATA_GAME|3"));

    peer.disconnectFromHost();
    QTRY_COMPARE(log.disconnects, 1);
    QCOMPARE(server.ActiveConnections(), 0);
    QCOMPARE(server.Connection(0), nullptr);
    QCOMPARE(log.errors, 0);
    QVERIFY(server.Active());
  }

  void everyPeerIsAcceptedInOrder() {
    TServerSocket server;
    TServerLog log(server);
    server.SetPort(kAnyPort);
    server.Open();
    QTcpSocket first, second;
    first.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QTRY_COMPARE(log.accepts, 1);
    second.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QTRY_COMPARE(log.accepts, 2);
    QTRY_VERIFY(first.state() == QAbstractSocket::ConnectedState);
    QCOMPARE(server.ActiveConnections(), 2);
    QCOMPARE(server.Connection(0)->PeerPort(), first.localPort());
    QCOMPARE(server.Connection(1)->PeerPort(), second.localPort());
  }

  void closingTheServerEndsPeersWithoutDisconnectEvents() {
    TServerSocket server;
    TServerLog log(server);
    server.SetPort(kAnyPort);
    server.Open();
    const quint16 port = server.ListeningPort();
    QTcpSocket peer;
    QSignalSpy peerGone(&peer, &QTcpSocket::disconnected);
    peer.connectToHost(QHostAddress::LocalHost, port);
    QTRY_COMPARE(log.accepts, 1);

    server.Close();
    QVERIFY(!server.Active());
    QCOMPARE(server.ActiveConnections(), 0);
    QTRY_COMPARE(peerGone.count(), 1);
    Pump(50);
    QCOMPARE(log.disconnects, 0);
    QCOMPARE(log.errors, 0);

    // Nobody listens any more.
    QTcpSocket late;
    QSignalSpy refused(&late, &QTcpSocket::errorOccurred);
    late.connectToHost(QHostAddress::LocalHost, port);
    QTRY_COMPARE(refused.count(), 1);
    QCOMPARE(late.error(), QAbstractSocket::ConnectionRefusedError);
    QCOMPARE(log.accepts, 1);
  }

  void clientConnectsReadsAndRaisesDisconnectInsideClose() {
    TClientAndPeer pair;
    TClientSocket& client = pair.client;
    TClientLog& log = pair.log;
    client.Open();
    QVERIFY(client.Opening());
    QVERIFY(!client.Active());
    QTRY_COMPARE(log.connects, 1);
    QVERIFY(client.Connected());
    QVERIFY(pair.Accept());
    QTcpSocket* peer = pair.peer.get();

    QCOMPARE(client.Connection()->SendText(QByteArray("DATA_CHAT|\xE9t\xE9")), 13);
    QTRY_COMPARE(peer->bytesAvailable(), 13);
    QCOMPARE(peer->readAll(), QByteArray("DATA_CHAT|\xE9t\xE9"));
    peer->write("DATA_GAME|0");
    QTRY_COMPARE(log.received, QByteArray("DATA_GAME|0"));

    QSignalSpy peerGone(peer, &QTcpSocket::disconnected);
    client.Close();
    QCOMPARE(log.disconnects, 1);  // raised inside Close, before any event ran
    QVERIFY(!client.Active());
    QVERIFY(!client.Opening());
    QTRY_COMPARE(peerGone.count(), 1);
    client.Close();
    QCOMPARE(log.disconnects, 1);
  }

  void clientSeesTheServerLeave() {
    TClientAndPeer pair;
    pair.client.Open();
    QVERIFY(pair.Accept());
    QTRY_COMPARE(pair.log.connects, 1);
    pair.peer.reset();
    QTRY_COMPARE(pair.log.disconnects, 1);
    QCOMPARE(pair.log.errors, 0);
    QVERIFY(!pair.client.Active());
  }

  void sendingBeforeTheConnectionSendsNothing() {
    TClientAndPeer pair;
    TClientSocket& client = pair.client;
    client.Open();
    if (client.Connection()) QCOMPARE(client.Connection()->SendText("DATA_GAME|1"), 0);
    QTRY_VERIFY(client.Connection() != nullptr);
    if (!client.Connected()) QCOMPARE(client.Connection()->SendText("DATA_GAME|2"), 0);
    QTRY_COMPARE(pair.log.connects, 1);
    QVERIFY(pair.Accept());
    client.Connection()->SendText("DATA_GAME|3");
    QTRY_VERIFY(pair.peer->bytesAvailable() > 0);
    Pump(30);
    QCOMPARE(pair.peer->readAll(), QByteArray("DATA_GAME|3"));
    QCOMPARE(pair.log.errors, 0);
  }

  void abandonedAttemptsLeaveNoLaterEvent() {
    // A server whose queue is full lets a connection attempt hang.
    QTcpServer stuck;
    stuck.setListenBacklogSize(0);
    QVERIFY(stuck.listen(QHostAddress::LocalHost, 0));
    stuck.pauseAccepting();
    std::vector<std::unique_ptr<QTcpSocket>> fillers;
    for (int i = 0; i < 8; ++i) {
      fillers.push_back(std::make_unique<QTcpSocket>());
      fillers.back()->connectToHost(QHostAddress::LocalHost, stuck.serverPort());
    }
    Pump(100);

    TClientSocket client;
    TClientLog log(client);
    client.SetPort(stuck.serverPort());
    // Abandoned during the lookup.
    client.SetHost("127.0.0.1");
    client.Open();
    client.Close();
    // Abandoned while connecting: the lookup is done, the connection not yet.
    client.Open();
    QTRY_VERIFY(client.Connection() != nullptr);
    Pump(100);
    QVERIFY(!client.Connected());
    client.Close();
    // A name that cannot be found, abandoned.
    client.SetHost("no-such-host.invalid");
    client.Open();
    client.Close();
    stuck.resumeAccepting();
    Pump(300);
    QCOMPARE(log.connects, 0);
    QCOMPARE(log.errors, 0);
    QCOMPARE(log.disconnects, 0);
    QVERIFY(!client.Opening());
  }

  void failedAttemptsRaiseErrorEvents() {
    TShownErrors shown;
    TClientSocket client;
    TClientLog log(client);
    client.SetHost("127.0.0.1");
    client.SetPort(FreePort());
    client.Open();
    QTRY_COMPARE(log.errors, 1);
    QCOMPARE(log.lastKind, TErrorEvent::eeConnect);
    QCOMPARE(log.lastCode, ECONNREFUSED);
    QVERIFY(!client.Opening());
    QVERIFY(shown.texts.isEmpty());

    // Left unsilenced, the failure reaches the user.
    log.silence = false;
    client.Open();
    QTRY_COMPARE(log.errors, 2);
    QCOMPARE(shown.texts, QStringList{QString("Erreur socket asynchrone %1").arg(ECONNREFUSED)});

    log.silence = true;
    client.SetHost("no-such-host.invalid");
    client.Open();
    QTRY_VERIFY_WITH_TIMEOUT(log.errors == 3, 15000);
    QCOMPARE(log.lastKind, TErrorEvent::eeLookup);
    QCOMPARE(log.connects, 0);
    // After a failure a new attempt starts afresh.
    client.Open();
    QVERIFY(client.Opening());
    client.Close();
  }

  void openFailuresAreThrownWithTheirTexts() {
    TClientSocket client;
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Aucune adresse spécifiée"));
    QVERIFY(!client.Opening());

    TServerSocket server;
    server.SetPort(kAnyPort);
    server.Open();
    QCOMPARE(ThrownText([&] { server.Open(); }), QString("Ne peut écouter sur un socket ouvert"));
    QCOMPARE(ThrownText([&] { server.SetPort(1234); }),
             QString("Ne peut modifier la valeur lorsque le socket est actif"));
    QCOMPARE(ThrownText([&] { server.SetPort(kAnyPort); }), QString());

    TServerSocket rival;
    rival.SetPort(server.ListeningPort());
    QCOMPARE(ThrownText([&] { rival.Open(); }),
             QString("Erreur socket Windows : Adresse déjà utilisée (%1), avec l'API 'bind'")
                 .arg(EADDRINUSE));
    QVERIFY(!rival.Active());
    rival.SetPort(kAnyPort);
    rival.Open();
    QVERIFY(rival.Active());

    client.SetHost("127.0.0.1");
    client.SetPort(server.ListeningPort());
    client.Open();
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Socket déjà ouvert"));
    QTRY_VERIFY(client.Connected());
    QCOMPARE(ThrownText([&] { client.SetHost("localhost"); }),
             QString("Ne peut modifier la valeur lorsque le socket est actif"));
    QCOMPARE(ThrownText([&] { client.SetPort(1); }),
             QString("Ne peut modifier la valeur lorsque le socket est actif"));
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Socket déjà ouvert"));
  }

  // A read handler that closes the server and then keeps pumping events, as
  // the network window does when a reset runs during a move's animation.
  void closingInsideAReadEventIsSafe() {
    TServerSocket server;
    TServerLog log(server);
    int reads = 0;
    server.OnClientRead = [&](TSocketConnection* c) {
      ++reads;
      c->ReceiveText();
      server.Close();
      Pump(30);
      QCOMPARE(c->ReceiveText(), QByteArray());
      QCOMPARE(c->SendText("x"), 0);
    };
    server.SetPort(kAnyPort);
    server.Open();
    QTcpSocket peer;
    QSignalSpy peerGone(&peer, &QTcpSocket::disconnected);
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QVERIFY(peer.waitForConnected(2000));
    QTRY_COMPARE(log.accepts, 1);
    peer.write("DATA_GAME|1");
    peer.flush();
    QTRY_COMPARE(reads, 1);
    peer.write("DATA_GAME|2");
    QTRY_COMPARE(peerGone.count(), 1);
    Pump(50);
    QCOMPARE(reads, 1);
    QCOMPARE(log.disconnects, 0);

    // The same on the client side: OnDisconnect comes inside Close.
    TClientAndPeer pair;
    pair.client.OnRead = [&](TSocketConnection* c) {
      c->ReceiveText();
      pair.client.Close();
      QCOMPARE(pair.log.disconnects, 1);
      Pump(30);
    };
    pair.client.Open();
    QVERIFY(pair.Accept());
    QTRY_COMPARE(pair.log.connects, 1);
    QSignalSpy clientGone(pair.peer.get(), &QTcpSocket::disconnected);
    pair.peer->write("INIT|xxx");
    QTRY_COMPARE(clientGone.count(), 1);
    QCOMPARE(pair.log.disconnects, 1);
  }

  // The peer leaves while a read handler waits in a loop of its own (a move
  // falling, a message box); the disconnect handler closes the server. The
  // ended connection must not be touched when the outer handler returns.
  void closingFromANestedEventIsSafe_data() {
    QTest::addColumn<bool>("modal");
    QTest::newRow("pumping") << false;
    QTest::newRow("modal loop") << true;
  }
  void closingFromANestedEventIsSafe() {
    QFETCH(bool, modal);
    bool ended = false;
    TServerSocket server;
    TServerLog log(server);
    QTcpSocket peer;
    server.OnClientRead = [&](TSocketConnection* c) {
      ++log.reads;
      c->ReceiveText();
      peer.abort();
      if (modal) {
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
      } else {
        Pump(300);
      }
      ended = !c->Connected() && c->ReceiveText().isEmpty() && c->SendText("x") == 0;
    };
    server.OnClientDisconnect = [&](TSocketConnection*) {
      ++log.disconnects;
      server.Close();
    };
    server.SetPort(kAnyPort);
    server.Open();
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QVERIFY(peer.waitForConnected(2000));
    QTRY_COMPARE(log.accepts, 1);
    peer.write("DATA_GAME|1");
    peer.flush();
    QTRY_COMPARE(log.reads, 1);
    QTRY_VERIFY(!server.Active());
    Pump(50);
    QCOMPARE(log.disconnects, 1);
    QCOMPARE(log.reads, 1);
    QVERIFY(ended);
  }

  // Data that arrives while a read handler still runs raises a nested read.
  void readsNestInsideAPumpingHandler() {
    TServerSocket server;
    int depth = 0, deepest = 0;
    QByteArrayList messages;
    QTcpSocket peer;
    server.OnClientRead = [&](TSocketConnection* c) {
      ++depth;
      deepest = std::max(deepest, depth);
      const QByteArray text = c->ReceiveText();
      messages << text;
      if (text == "DATA_GAME|1") {
        peer.write("DATA_CHAT|pendant");
        peer.flush();
        Pump(200);
      }
      --depth;
    };
    server.SetPort(kAnyPort);
    server.Open();
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QVERIFY(peer.waitForConnected(2000));
    QTRY_COMPARE(server.ActiveConnections(), 1);
    peer.write("DATA_GAME|1");
    QTRY_COMPARE(messages.size(), 2);
    QCOMPARE(messages[1], QByteArray("DATA_CHAT|pendant"));
    QCOMPARE(deepest, 2);
  }

  // A megabyte arrives in reads no larger than kMaxReadSize, all of it.
  void largeTransfersArriveWhole() {
    TServerSocket server;
    TServerLog log(server);
    qint64 largest = 0;
    server.OnClientRead = [&](TSocketConnection* c) {
      const QByteArray part = c->ReceiveText();
      largest = std::max<qint64>(largest, part.size());
      log.received += part;
    };
    server.SetPort(kAnyPort);
    server.Open();
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    QVERIFY(peer.waitForConnected(2000));
    const QByteArray big(1 << 20, 'a');
    peer.write(big);
    QTRY_COMPARE_WITH_TIMEOUT(log.received.size(), big.size(), 10000);
    QVERIFY(largest <= kMaxReadSize);
  }

  void localLookups() {
    QCOMPARE(HostToAddress("127.0.0.1"), QString("127.0.0.1"));
    QCOMPARE(HostToAddress("10.200.3.4"), QString("10.200.3.4"));
    QCOMPARE(HostToAddress("no-such-host.invalid"), QString());
    QCOMPARE(HostToAddress(""), QString());
    const QString name = LocalComputerName();
    QVERIFY(!name.isEmpty());
    QVERIFY(name.toLocal8Bit().size() <= 255);
    const QString address = HostToAddress(name);
    if (!address.isEmpty())
      QVERIFY(QHostAddress(address).protocol() == QAbstractSocket::IPv4Protocol);
  }
};

QTEST_GUILESS_MAIN(SocketsTest)
#include "SocketsTest.moc"
