#include "network/Sockets.h"

#include <QHostInfo>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <functional>

#include "platform/ErrorDisplay.h"

namespace zerud {
namespace {

constexpr int kListenQueue = 5;

// Handlers may replace the event they run in; call a copy.
void Raise(const TSocketNotifyEvent& event, TSocketConnection* connection) {
  if (TSocketNotifyEvent handler = event) handler(connection);
}

// Raises the error event; a failure the handler did not silence goes to the
// user's error report.
void RaiseError(const TSocketErrorEvent& event, TSocketConnection* connection, TErrorEvent kind,
                QAbstractSocket::SocketError error) {
  const TSystemError system = SystemError(error);
  int code = system.code;
  if (TSocketErrorEvent handler = event) handler(connection, kind, code);
  if (code == 0) return;
  if (kind == TErrorEvent::eeSend || kind == TErrorEvent::eeReceive)
    ShowError(SystemCallErrorText({code, system.text}, kind == TErrorEvent::eeSend
                                                           ? QStringLiteral("send")
                                                           : QStringLiteral("recv")));
  else
    ShowError(AsyncErrorText(code));
}

void NoDelay(QTcpSocket* socket) { socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); }

}  // namespace

// ---------------------------------------------------------------------------
// TSocketConnection

TSocketConnection::TSocketConnection(QTcpSocket* socket, TOwnerEvent owner, QObject* parent)
    : QObject(parent), owner_(std::move(owner)) {
  Attach(socket);
}

TSocketConnection::~TSocketConnection() {
  if (socket_) QObject::disconnect(socket_, nullptr, this, nullptr);
}

void TSocketConnection::Attach(QTcpSocket* socket) {
  socket_ = socket;
  socket->setParent(this);
  socket->setProxy(QNetworkProxy::NoProxy);
  socket->setReadBufferSize(kMaxReadSize);
  established_ = socket->state() == QAbstractSocket::ConnectedState;
  // Each message leaves at once, as its own segment as far as the network
  // allows, without Nagle's delay: an older copy of the game, which splits
  // nothing, then receives a chat line and the move behind it apart. Qt
  // applies an option only to a system socket, so a client's waits for
  // its connection.
  if (established_) NoDelay(socket);
  // channelReadyRead, unlike readyRead, is also emitted while a handler of
  // an earlier read still runs (it may be animating a move), so a message
  // that arrives then is not left waiting in the buffer.
  connect(socket, &QIODevice::channelReadyRead, this, [this](int) { Notify(TEvent::Read); });
  connect(socket, &QAbstractSocket::connected, this, [this, socket] {
    NoDelay(socket);
    Notify(TEvent::Connected);
  });
  connect(socket, &QAbstractSocket::disconnected, this, [this] { Notify(TEvent::Closed); });
  connect(socket, &QAbstractSocket::errorOccurred, this, &TSocketConnection::Failed);
}

bool TSocketConnection::Connected() const {
  return !ended_ && socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

int TSocketConnection::SendText(const QByteArray& text) {
  if (!Connected() || text.isEmpty()) return 0;
  QPointer<TSocketConnection> self(this);
  inSend_ = true;
  ++dispatching_;
  const qint64 sent = socket_->write(text);
  // Push the bytes to the system now rather than at the next loop turn, so a
  // failure shows as a send failure and a close right after loses nothing.
  if (self && !ended_) socket_->flush();
  if (!self) return 0;
  inSend_ = false;
  Leave();
  return sent < 0 ? 0 : static_cast<int>(sent);
}

QByteArray TSocketConnection::ReceiveText() {
  if (ended_ || !socket_) return {};
  QByteArray bytes = socket_->read(kMaxReadSize);
  receivedBytes_ += bytes.size();
  return bytes;
}

quint16 TSocketConnection::PeerPort() const { return Connected() ? socket_->peerPort() : 0; }

void TSocketConnection::Notify(TEvent event, QAbstractSocket::SocketError error) {
  if (ended_ || !owner_) return;
  TErrorEvent kind = TErrorEvent::eeGeneral;
  if (event == TEvent::Failed)
    kind = inSend_ ? TErrorEvent::eeSend
                   : (established_ ? TErrorEvent::eeReceive : TErrorEvent::eeConnect);
  QPointer<TSocketConnection> self(this);
  ++dispatching_;
  TOwnerEvent owner = owner_;
  owner(this, event, kind, error);
  if (self) Leave();
}

// The socket's call or signal has returned; a connection released meanwhile
// goes once the outermost one has.
void TSocketConnection::Leave() {
  if (--dispatching_ == 0 && released_) deleteLater();
}

void TSocketConnection::Failed(QAbstractSocket::SocketError error) {
  // A peer that closes, even abruptly, is a disconnection: Qt follows this
  // error with disconnected().
  if (error == QAbstractSocket::RemoteHostClosedError) return;
  Notify(TEvent::Failed, error);
}

void TSocketConnection::Release() {
  if (released_) return;
  released_ = true;
  ended_ = true;
  if (socket_) QObject::disconnect(socket_, nullptr, this, nullptr);
  // The system socket closes now, so the peer sees the end at once even
  // when a handler below is still animating a move. Neither the QTcpSocket
  // nor this object may be deleted while one of the socket's signals is
  // still on the stack, even if a handler runs an event loop (that loop
  // would delete them): this object, with its child the socket, then goes
  // once the outermost of them has returned.
  if (socket_) socket_->abort();
  if (dispatching_ > 0) return;
  deleteLater();
}

// ---------------------------------------------------------------------------
// TServerSocket

TServerSocket::TServerSocket(QObject* parent) : QObject(parent) {}

TServerSocket::~TServerSocket() { Close(); }

void TServerSocket::SetPort(int port) {
  if (listening_ && port != port_) throw TSocketError(QString::fromUtf8(kTextSocketActive));
  port_ = port;
}

void TServerSocket::Open() {
  if (listening_) throw TSocketError(QString::fromUtf8(kTextServerAlreadyOpen));
  auto* server = new QTcpServer(this);
  server->setProxy(QNetworkProxy::NoProxy);
  server->setListenBacklogSize(kListenQueue);
  if (!server->listen(QHostAddress::AnyIPv4, TcpPort(port_))) {
    const QAbstractSocket::SocketError error = server->serverError();
    delete server;
    if (error == QAbstractSocket::SocketResourceError)
      throw TSocketError(QString::fromUtf8(kTextCannotCreate));
    const bool binding = error == QAbstractSocket::AddressInUseError ||
                         error == QAbstractSocket::SocketAccessError ||
                         error == QAbstractSocket::SocketAddressNotAvailableError;
    throw TSocketError(SystemCallErrorText(
        SystemError(error), binding ? QStringLiteral("bind") : QStringLiteral("listen")));
  }
  connect(server, &QTcpServer::newConnection, this, &TServerSocket::AcceptPending);
  connect(server, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError error) {
    RaiseError(OnClientError, nullptr, TErrorEvent::eeAccept, error);
  });
  server_ = server;
  listening_ = true;
}

void TServerSocket::Close() {
  std::vector<QPointer<TSocketConnection>> connections;
  connections.swap(connections_);
  for (const QPointer<TSocketConnection>& connection : connections) {
    if (!connection) continue;
    connection->Release();
  }
  if (server_) {
    QObject::disconnect(server_, nullptr, this, nullptr);
    server_->close();
    server_->deleteLater();
    server_ = nullptr;
  }
  listening_ = false;
}

quint16 TServerSocket::ListeningPort() const {
  return listening_ && server_ ? server_->serverPort() : 0;
}

TSocketConnection* TServerSocket::Connection(int index) const {
  if (index < 0 || index >= ActiveConnections()) return nullptr;
  return connections_[static_cast<std::size_t>(index)];
}

void TServerSocket::AcceptPending() {
  const QPointer<QTcpServer> server = server_;
  // Every incoming connection is accepted, however many; a handler that
  // closes the server ends the loop.
  while (server && server == server_ && listening_ && server->hasPendingConnections()) {
    QTcpSocket* socket = server->nextPendingConnection();
    if (!socket) break;
    auto* connection =
        new TSocketConnection(socket, std::bind_front(&TServerSocket::ConnectionEvent, this), this);
    connections_.emplace_back(connection);
    Raise(OnAccept, connection);
  }
}

void TServerSocket::Forget(TSocketConnection* connection) {
  connections_.erase(std::remove(connections_.begin(), connections_.end(), connection),
                     connections_.end());
  connection->Release();
}

void TServerSocket::ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                                    TErrorEvent kind, QAbstractSocket::SocketError error) {
  switch (event) {
    case TSocketConnection::TEvent::Connected:  // accepted connections are up already
      break;
    case TSocketConnection::TEvent::Read:
      Raise(OnClientRead, connection);
      break;
    case TSocketConnection::TEvent::Closed:
      Forget(connection);
      Raise(OnClientDisconnect, connection);
      break;
    case TSocketConnection::TEvent::Failed:
      Forget(connection);
      RaiseError(OnClientError, connection, kind, error);
      break;
  }
}

// ---------------------------------------------------------------------------
// TClientSocket

TClientSocket::TClientSocket(QObject* parent) : QObject(parent) {}

TClientSocket::~TClientSocket() { Drop(); }

void TClientSocket::SetHost(const QString& host) {
  if (Active() && host != host_) throw TSocketError(QString::fromUtf8(kTextSocketActive));
  host_ = host;
}

void TClientSocket::SetPort(int port) {
  if (Active() && port != port_) throw TSocketError(QString::fromUtf8(kTextSocketActive));
  port_ = port;
}

void TClientSocket::Open() {
  if (state_ != TState::Idle) throw TSocketError(QString::fromUtf8(kTextClientAlreadyOpen));
  if (host_.isEmpty()) throw TSocketError(QString::fromUtf8(kTextNoAddress));
  state_ = TState::LookingUp;
  // A dotted address comes back as itself, without asking any name server.
  // An abandoned lookup runs to its end and is ignored then: cancelling it,
  // or handing Qt a lambda, leaks Qt's callback in this version.
  lookupId_ = QHostInfo::lookupHost(host_, this, SLOT(LookedUp(QHostInfo)));
}

void TClientSocket::LookedUp(const QHostInfo& info) {
  if (info.lookupId() != lookupId_ || state_ != TState::LookingUp) return;
  lookupId_ = -1;
  QHostAddress address;
  for (const QHostAddress& candidate : info.addresses()) {
    if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
      address = candidate;
      break;
    }
  }
  if (address.isNull()) {
    Fail(nullptr, TErrorEvent::eeLookup, QAbstractSocket::HostNotFoundError);
    return;
  }
  auto* socket = new QTcpSocket(this);
  auto* connection =
      new TSocketConnection(socket, std::bind_front(&TClientSocket::ConnectionEvent, this), this);
  connection_ = connection;
  state_ = TState::Connecting;
  socket->connectToHost(address, TcpPort(port_));
}

void TClientSocket::Established() {
  state_ = TState::Connected;
  connection_->established_ = true;
  Raise(OnConnect, connection_);
}

void TClientSocket::Close() {
  lookupId_ = -1;
  const bool wasConnected = Connected();
  TSocketConnection* connection = connection_;
  Drop();
  if (wasConnected) Raise(OnDisconnect, connection);
}

void TClientSocket::Drop() {
  state_ = TState::Idle;
  if (!connection_) return;
  connection_->Release();
  connection_ = nullptr;
}

void TClientSocket::Fail(TSocketConnection* connection, TErrorEvent kind,
                         QAbstractSocket::SocketError error) {
  Drop();
  RaiseError(OnError, connection, kind, error);
}

void TClientSocket::ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                                    TErrorEvent kind, QAbstractSocket::SocketError error) {
  if (connection != connection_) return;
  switch (event) {
    case TSocketConnection::TEvent::Connected:
      Established();
      break;
    case TSocketConnection::TEvent::Read:
      if (Connected()) Raise(OnRead, connection);
      break;
    case TSocketConnection::TEvent::Closed:
      Drop();
      Raise(OnDisconnect, connection);
      break;
    case TSocketConnection::TEvent::Failed:
      Fail(connection, kind, error);
      break;
  }
}

}  // namespace zerud
