#include "network/ServerSocket.h"

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <functional>

namespace zerud {
namespace {

constexpr int kListenQueue = 5;

}  // namespace

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
    RaiseError(OnClientError, OnErrorReport, nullptr, TErrorEvent::eeAccept, error);
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
  // Every incoming connection is taken from the system's queue; a handler
  // that closes the server ends the loop.
  while (server && server == server_ && listening_ && server->hasPendingConnections()) {
    QTcpSocket* socket = server->nextPendingConnection();
    if (!socket) break;
    if (maxConnections_ > 0 && ActiveConnections() >= maxConnections_) {
      // No room: the peer sees its connection end at once, before anything
      // it sent is read.
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto* connection =
        new TSocketConnection(socket, std::bind_front(&TServerSocket::ConnectionEvent, this), this);
    connections_.emplace_back(connection);
    RaiseNotify(OnAccept, connection);
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
      RaiseNotify(OnClientRead, connection);
      break;
    case TSocketConnection::TEvent::Closed:
      Forget(connection);
      RaiseNotify(OnClientDisconnect, connection);
      break;
    case TSocketConnection::TEvent::Failed:
      Forget(connection);
      RaiseError(OnClientError, OnErrorReport, connection, kind, error);
      break;
  }
}

}  // namespace zerud
