#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QElapsedTimer>
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

Q_DECLARE_METATYPE(zerud::TLocalInterface)

namespace {

// A port setting whose low 16 bits are 0: the system picks a free port.
constexpr int kAnyPort = 7 * 65536;

quint16 FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::AnyIPv4, 0);
  return probe.serverPort();
}

// A server socket that records its events, and plain peers joining it.
struct TServer {
  TServerSocket server;
  int accepts = 0, reads = 0, disconnects = 0, errors = 0;
  QByteArray received;
  TServer() {
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
    server.SetPort(kAnyPort);
  }
  quint16 Listen() {
    server.Open();
    return server.ListeningPort();
  }
  bool Join(QTcpSocket& peer) {
    peer.connectToHost(QHostAddress::LocalHost, server.ListeningPort());
    return peer.waitForConnected(2000) && QTest::qWaitFor([&] {
             for (int i = 0; i < server.ActiveConnections(); ++i)
               if (server.Connection(i)->PeerPort() == peer.localPort()) return true;
             return false;
           });
  }
};

// A client socket that records its events, opened towards a plain listening
// socket.
struct TClient {
  QTcpServer peerServer;
  TClientSocket client;
  int connects = 0, disconnects = 0, errors = 0;
  TErrorEvent lastKind = TErrorEvent::eeGeneral;
  int lastCode = 0;
  bool silence = true;
  QStringList reports;  // the failures left for the owner to show
  QByteArray received;
  std::unique_ptr<QTcpSocket> peer;

  explicit TClient(quint16 port = 0) {
    client.OnConnect = [this](TSocketConnection*) { ++connects; };
    client.OnRead = [this](TSocketConnection* c) { received += c->ReceiveText(); };
    client.OnDisconnect = [this](TSocketConnection*) { ++disconnects; };
    client.OnError = [this](TSocketConnection*, TErrorEvent kind, int& code) {
      ++errors;
      lastKind = kind;
      lastCode = code;
      if (silence) code = 0;
    };
    client.OnErrorReport = [this](const QString& text) { reports << text; };
    if (port == 0) {
      peerServer.listen(QHostAddress::LocalHost, 0);
      port = peerServer.serverPort();
    }
    client.SetHost("127.0.0.1");
    client.SetPort(port);
  }
  // Waits for the listening side to see the connection and takes it.
  bool Accept() {
    if (!QTest::qWaitFor([&] { return peerServer.hasPendingConnections(); })) return false;
    peer.reset(peerServer.nextPendingConnection());
    return QTest::qWaitFor([&] { return connects == 1; });
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

// A server whose queue is full lets a connection attempt hang.
struct TStuckServer : QTcpServer {
  std::vector<std::unique_ptr<QTcpSocket>> fillers;

  TStuckServer() {
    setListenBacklogSize(0);
    if (!listen(QHostAddress::LocalHost, 0)) return;
    pauseAccepting();
    for (int i = 0; i < 8; ++i) {
      fillers.push_back(std::make_unique<QTcpSocket>());
      fillers.back()->connectToHost(QHostAddress::LocalHost, serverPort());
    }
    Pump(100);
  }
  bool Listening() const { return isListening(); }
};

class SocketsTest : public QObject {
  Q_OBJECT

 private slots:
  // Server and client given different settings with the same low 16 bits meet.
  void portRule() {
    QCOMPARE(TcpPort(290672), 28528);
    QCOMPARE(TcpPort(INT_MIN), 0);
    for (int multiple : {0, 4, -3, -32768}) {
      const quint16 port = FreePort();
      TServer s;
      s.server.SetPort(static_cast<int>(static_cast<qint64>(multiple) * 65536 + port));
      QCOMPARE(s.Listen(), port);
      TClient c(port);
      c.client.SetPort(static_cast<int>(port) - 65536 * 2);
      c.client.Open();
      QTRY_COMPARE(c.connects, 1);
      QTRY_COMPARE(s.accepts, 1);
    }
  }

  void serverAcceptsEveryPeerInOrderReadsSendsAndSeesThemLeave() {
    TServer s;
    s.Listen();
    QTcpSocket first, second;
    QVERIFY(s.Join(first));
    QVERIFY(s.Join(second));
    QCOMPARE(s.accepts, 2);
    QCOMPARE(s.server.Connection(0)->PeerPort(), first.localPort());
    QCOMPARE(s.server.Connection(1)->PeerPort(), second.localPort());

    first.write("INIT|xxx");
    QTRY_COMPARE(s.received, QByteArray("INIT|xxx"));
    QCOMPARE(s.server.Connection(0)->SendText("DATA_GAME|3"), 11);
    QTRY_COMPARE(first.bytesAvailable(), 11);
    QCOMPARE(first.readAll(), QByteArray("DATA_GAME|3"));

    first.disconnectFromHost();
    QTRY_COMPARE(s.disconnects, 1);
    QCOMPARE(s.server.ActiveConnections(), 1);
    QCOMPARE(s.server.Connection(0)->PeerPort(), second.localPort());
    QCOMPARE(s.server.Connection(1), nullptr);
    QCOMPARE(s.errors, 0);
    QVERIFY(s.server.Active());
  }

  void closingTheServerEndsPeersWithoutDisconnectEvents() {
    TServer s;
    const quint16 port = s.Listen();
    QTcpSocket peer;
    QSignalSpy peerGone(&peer, &QTcpSocket::disconnected);
    QVERIFY(s.Join(peer));
    s.server.Close();
    QVERIFY(!s.server.Active());
    QCOMPARE(s.server.ActiveConnections(), 0);
    QTRY_COMPARE(peerGone.count(), 1);
    Pump(50);
    QCOMPARE(s.disconnects + s.errors, 0);

    // Nobody listens any more.
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!late.waitForConnected(2000));
    QCOMPARE(late.error(), QAbstractSocket::ConnectionRefusedError);
    QCOMPARE(s.accepts, 1);
  }

  void clientConnectsReadsAndRaisesDisconnectInsideClose() {
    TClient c;
    c.client.Open();
    QVERIFY(c.client.Opening());
    QVERIFY(!c.client.Active());
    // Nothing is sent before the connection is made, nor queued for later.
    QTRY_VERIFY(c.client.Connection() != nullptr);
    if (!c.client.Connected()) QCOMPARE(c.client.Connection()->SendText("DATA_GAME|2"), 0);
    QVERIFY(c.Accept());
    QVERIFY(c.client.Connected());

    QCOMPARE(c.client.Connection()->SendText(QByteArray("DATA_CHAT|\xE9t\xE9")), 13);
    QTRY_COMPARE(c.peer->bytesAvailable(), 13);
    QCOMPARE(c.peer->readAll(), QByteArray("DATA_CHAT|\xE9t\xE9"));
    c.peer->write("DATA_GAME|0");
    QTRY_COMPARE(c.received, QByteArray("DATA_GAME|0"));

    QSignalSpy peerGone(c.peer.get(), &QTcpSocket::disconnected);
    c.client.Close();
    QCOMPARE(c.disconnects, 1);  // raised inside Close, before any event ran
    QVERIFY(!c.client.Opening());
    QTRY_COMPARE(peerGone.count(), 1);
    c.client.Close();
    QCOMPARE(c.disconnects, 1);
  }

  void clientSeesTheServerLeave() {
    TClient c;
    c.client.Open();
    QVERIFY(c.Accept());
    c.peer.reset();
    QTRY_COMPARE(c.disconnects, 1);
    QCOMPARE(c.errors, 0);
    QVERIFY(!c.client.Active());
  }

  void abandonedAttemptsLeaveNoLaterEvent() {
    TStuckServer stuck;
    QVERIFY(stuck.Listening());

    TClient c(stuck.serverPort());
    // Abandoned during the lookup.
    c.client.Open();
    c.client.Close();
    // Abandoned while connecting: the lookup is done, the connection not yet.
    c.client.Open();
    QTRY_VERIFY(c.client.Connection() != nullptr);
    Pump(100);
    QVERIFY(!c.client.Connected());
    c.client.Close();
    // A name that cannot be found, abandoned.
    c.client.SetHost("no-such-host.invalid");
    c.client.Open();
    c.client.Close();
    stuck.resumeAccepting();
    Pump(300);
    QCOMPARE(c.connects + c.errors + c.disconnects, 0);
    QVERIFY(!c.client.Opening());
  }

  // An attempt the system would go on with for minutes fails at the limit.
  void anAttemptThatHangsFailsAtItsLimit() {
    TStuckServer stuck;
    QVERIFY(stuck.Listening());
    static_assert(TClientSocket::kAttemptLimitMs <= 20000);
    TClient c(stuck.serverPort());
    c.client.SetAttemptLimit(400);
    QElapsedTimer clock;
    clock.start();
    c.client.Open();
    QTRY_COMPARE_WITH_TIMEOUT(c.errors, 1, 3000);
    QVERIFY(clock.elapsed() >= 400);
    QCOMPARE(c.lastKind, TErrorEvent::eeConnect);
    QCOMPARE(c.lastCode, ETIMEDOUT);
    QVERIFY(!c.client.Opening());
    QCOMPARE(c.connects, 0);
    Pump(200);
    QCOMPARE(c.errors + c.connects + c.disconnects, 1);
  }

  void failedAttemptsRaiseErrorEvents() {
    TClient c(FreePort());
    c.client.Open();
    QTRY_COMPARE(c.errors, 1);
    QCOMPARE(c.lastKind, TErrorEvent::eeConnect);
    QCOMPARE(c.lastCode, ECONNREFUSED);
    QVERIFY(!c.client.Opening());
    QVERIFY(c.reports.isEmpty());

    // Left unsilenced, the failure goes to the owner, who shows it.
    c.silence = false;
    c.client.Open();
    QTRY_COMPARE(c.errors, 2);
    QCOMPARE(c.reports, QStringList{QString("Erreur socket asynchrone %1").arg(ECONNREFUSED)});

    c.silence = true;
    c.client.SetHost("no-such-host.invalid");
    c.client.Open();
    QTRY_VERIFY_WITH_TIMEOUT(c.errors == 3, 15000);
    QCOMPARE(c.lastKind, TErrorEvent::eeLookup);
    QCOMPARE(c.connects, 0);
    // After a failure a new attempt starts afresh.
    c.client.Open();
    QVERIFY(c.client.Opening());
    c.client.Close();
  }

  void openFailuresAreThrownWithTheirTexts() {
    const QString active("Ne peut modifier la valeur lorsque le socket est actif");
    TClientSocket client;
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Aucune adresse spécifiée"));
    QVERIFY(!client.Opening());

    TServer s;
    s.Listen();
    QCOMPARE(ThrownText([&] { s.server.Open(); }), QString("Ne peut écouter sur un socket ouvert"));
    QCOMPARE(ThrownText([&] { s.server.SetPort(1234); }), active);
    QCOMPARE(ThrownText([&] { s.server.SetPort(kAnyPort); }), QString());

    TServerSocket rival;
    rival.SetPort(s.server.ListeningPort());
    QCOMPARE(ThrownText([&] { rival.Open(); }),
             QString("Erreur socket Windows : Adresse déjà utilisée (%1), avec l'API 'bind'")
                 .arg(EADDRINUSE));
    QVERIFY(!rival.Active());
    rival.SetPort(kAnyPort);
    rival.Open();
    QVERIFY(rival.Active());

    client.SetHost("127.0.0.1");
    client.SetPort(s.server.ListeningPort());
    client.Open();
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Socket déjà ouvert"));
    QTRY_VERIFY(client.Connected());
    QCOMPARE(ThrownText([&] { client.SetHost("localhost"); }), active);
    QCOMPARE(ThrownText([&] { client.SetPort(1); }), active);
    QCOMPARE(ThrownText([&] { client.Open(); }), QString("Socket déjà ouvert"));
  }

  // A read handler closes the server, or the peer leaves while a read
  // handler waits in a loop of its own (a move falling, a message box) and the
  // disconnect handler closes the server, as the network window does when a
  // reset runs during a move. The ended connection must stay harmless to the
  // outer handler, and raise nothing more.
  void closingInsideEventsIsSafe_data() {
    QTest::addColumn<bool>("readCloses");
    QTest::addColumn<bool>("modal");
    QTest::newRow("read handler closes") << true << false;
    QTest::newRow("disconnect handler closes, pumping") << false << false;
    QTest::newRow("disconnect handler closes, modal loop") << false << true;
  }
  void closingInsideEventsIsSafe() {
    QFETCH(bool, readCloses);
    QFETCH(bool, modal);
    bool ended = false;
    TServer s;
    QTcpSocket peer;
    QSignalSpy peerGone(&peer, &QTcpSocket::disconnected);
    s.server.OnClientRead = [&](TSocketConnection* c) {
      ++s.reads;
      c->ReceiveText();
      if (readCloses) {
        s.server.Close();
      } else {
        peer.abort();
      }
      if (modal) {
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
      } else {
        Pump(300);
      }
      ended = !c->Connected() && c->ReceiveText().isEmpty() && c->SendText("x") == 0;
    };
    s.server.OnClientDisconnect = [&](TSocketConnection*) {
      ++s.disconnects;
      s.server.Close();
    };
    s.Listen();
    QVERIFY(s.Join(peer));
    peer.write("DATA_GAME|1");
    peer.flush();
    QTRY_COMPARE(s.reads, 1);
    if (readCloses) {
      peer.write("DATA_GAME|2");
      QTRY_COMPARE(peerGone.count(), 1);
    }
    QTRY_VERIFY(!s.server.Active());
    Pump(50);
    QCOMPARE(s.disconnects, readCloses ? 0 : 1);
    QCOMPARE(s.reads, 1);
    QVERIFY(ended);
  }

  // On the client side OnDisconnect comes inside Close, also from a read.
  void closingTheClientInsideAReadIsSafe() {
    TClient c;
    c.client.OnRead = [&](TSocketConnection* connection) {
      connection->ReceiveText();
      c.client.Close();
      QCOMPARE(c.disconnects, 1);
      Pump(30);
    };
    c.client.Open();
    QVERIFY(c.Accept());
    QSignalSpy clientGone(c.peer.get(), &QTcpSocket::disconnected);
    c.peer->write("INIT|xxx");
    QTRY_COMPARE(clientGone.count(), 1);
    QCOMPARE(c.disconnects, 1);
  }

  // A megabyte arrives in reads no larger than kMaxReadSize, all of it.
  void largeTransfersArriveWhole() {
    TServer s;
    qint64 largest = 0;
    s.server.OnClientRead = [&](TSocketConnection* c) {
      const QByteArray part = c->ReceiveText();
      largest = std::max<qint64>(largest, part.size());
      s.received += part;
    };
    s.Listen();
    QTcpSocket peer;
    QVERIFY(s.Join(peer));
    peer.write(QByteArray(1 << 20, 'a'));
    QTRY_COMPARE_WITH_TIMEOUT(s.received.size(), 1 << 20, 10000);
    QVERIFY(largest <= kMaxReadSize);
  }

  // The address shown to the other player: the looked-up one unless it is
  // loopback or missing, then the first IPv4 address of an interface that is
  // up, running and not loopback, then the looked-up one anyway.
  void reachableAddress_data() {
    QTest::addColumn<QString>("lookedUp");
    QTest::addColumn<QList<TLocalInterface>>("interfaces");
    QTest::addColumn<QString>("shown");
    const auto with = [](bool up, bool running, bool loopback, QStringList addresses) {
      TLocalInterface i{up, running, loopback, {}};
      for (const QString& a : addresses) i.Addresses << QHostAddress(a);
      return i;
    };
    const TLocalInterface lo = with(true, true, true, {"127.0.0.1", "::1"});
    const TLocalInterface eth = with(true, true, false, {"fe80::1", "192.168.1.20"});
    const TLocalInterface down = with(false, false, false, {"10.0.0.5"});
    const TLocalInterface notRunning = with(true, false, false, {"10.0.0.6"});
    const TLocalInterface wifi = with(true, true, false, {"172.16.0.9"});
    const TLocalInterface onlyV6 = with(true, true, false, {"2001:db8::7"});
    using L = QList<TLocalInterface>;
    QTest::newRow("name resolves outward") << "10.1.2.3" << L{lo, eth} << "10.1.2.3";
    QTest::newRow("Debian's 127.0.1.1") << "127.0.1.1" << L{lo, eth} << "192.168.1.20";
    QTest::newRow("127.0.0.1") << "127.0.0.1" << L{lo, down, eth, wifi} << "192.168.1.20";
    QTest::newRow("unresolved") << "" << L{lo, wifi, eth} << "172.16.0.9";
    QTest::newRow("down and not running skipped")
        << "127.0.0.1" << L{down, notRunning, onlyV6, wifi} << "172.16.0.9";
    QTest::newRow("only loopback") << "127.0.1.1" << L{lo, down} << "127.0.1.1";
    QTest::newRow("nothing at all") << "" << L{lo, onlyV6} << "";
  }
  void reachableAddress() {
    QFETCH(QString, lookedUp);
    QFETCH(QList<TLocalInterface>, interfaces);
    QFETCH(QString, shown);
    QCOMPARE(ReachableAddress(lookedUp, interfaces), shown);
  }

  // Every connection, accepted or made, sends without Nagle's delay and
  // notices a dead link within a minute: the system probes a quiet link, and
  // gives up on data left unacknowledged. A client's options wait for its
  // connection, so they must be checked on a connected descriptor.
  void connectionsCarryTheirOptions_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("value");
    QTest::newRow("no delay") << int(IPPROTO_TCP) << int(TCP_NODELAY) << 1;
    QTest::newRow("keep-alive") << int(SOL_SOCKET) << int(SO_KEEPALIVE) << 1;
    QTest::newRow("quiet seconds before probing") << int(IPPROTO_TCP) << int(TCP_KEEPIDLE) << 10;
    QTest::newRow("seconds between probes") << int(IPPROTO_TCP) << int(TCP_KEEPINTVL) << 5;
    QTest::newRow("probes unanswered") << int(IPPROTO_TCP) << int(TCP_KEEPCNT) << 5;
    QTest::newRow("unacknowledged ms") << int(IPPROTO_TCP) << int(TCP_USER_TIMEOUT) << 30000;
  }
  void connectionsCarryTheirOptions() {
    QFETCH(int, level);
    QFETCH(int, option);
    QFETCH(int, value);
    TServer s;
    s.Listen();
    TClientSocket client;
    client.SetHost("127.0.0.1");
    client.SetPort(s.server.ListeningPort());
    client.Open();
    QTRY_VERIFY(client.Connected() && s.server.ActiveConnections() == 1);
    for (TSocketConnection* connection : {client.Connection(), s.server.Connection(0)}) {
      auto* socket = connection->findChild<QTcpSocket*>();
      QVERIFY(socket != nullptr);
      int got = -1;
      socklen_t size = sizeof got;
      QCOMPARE(getsockopt(static_cast<int>(socket->socketDescriptor()), level, option, &got, &size),
               0);
      QCOMPARE(got, value);
    }
  }

  // A server that takes one peer at a time closes a stranger at once while
  // its peer is connected: what the stranger sent is never read, no event
  // tells of it, and the peer goes on. Once the peer has left, the next one
  // is taken.
  void oneAtATimeTurnsStrangersAway() {
    TServer s;
    s.server.SetMaxConnections(1);
    s.Listen();
    QTcpSocket first;
    QVERIFY(s.Join(first));

    // The stranger's bytes wait in the system before the server takes it.
    QTcpSocket stranger;
    QSignalSpy strangerGone(&stranger, &QTcpSocket::disconnected);
    stranger.connectToHost(QHostAddress::LocalHost, s.server.ListeningPort());
    QVERIFY(stranger.waitForConnected(2000));
    stranger.write("DATA_GAME|0");
    QVERIFY(stranger.waitForBytesWritten(2000));
    QTRY_COMPARE(strangerGone.count(), 1);
    Pump(100);
    QCOMPARE(s.accepts, 1);
    QCOMPARE(s.reads + s.disconnects + s.errors, 0);
    QCOMPARE(s.server.ActiveConnections(), 1);
    QCOMPARE(s.server.Connection(0)->PeerPort(), first.localPort());

    first.write("DATA_GAME|3");
    QTRY_COMPARE(s.received, QByteArray("DATA_GAME|3"));
    QCOMPARE(s.server.Connection(0)->SendText("DATA_GAME|4"), 11);
    QTRY_COMPARE(first.bytesAvailable(), 11);

    first.disconnectFromHost();
    QTRY_COMPARE(s.disconnects, 1);
    QTcpSocket next;
    QVERIFY(s.Join(next));
    QCOMPARE(s.accepts, 2);
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
#include "tst_Sockets.moc"
