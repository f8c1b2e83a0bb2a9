#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "network/SocketConnection.h"
#include "network/SocketEvents.h"

class QTcpServer;

namespace zerud {

// Listens on a port and accepts the peers that join, every one of them or as
// many at a time as it is told. Its events run on the UI thread; a handler
// may close the server from inside any of them.
class TServerSocket : public QObject {
  Q_OBJECT

 public:
  explicit TServerSocket(QObject* parent = nullptr);
  ~TServerSocket() override;

  // Refused with TSocketError while active with another value.
  void SetPort(int port);
  int Port() const { return port_; }

  // Listens on every local IPv4 address at TcpPort(Port()) with a queue of
  // 5. Throws TSocketError when already listening or when the system
  // refuses; the socket then stays closed.
  void Open();
  // Closes every accepted connection, without their disconnect events, then
  // stops listening.
  void Close();
  bool Active() const { return listening_; }
  // The port actually listened on (differs from TcpPort(Port()) for port 0).
  quint16 ListeningPort() const;

  // The most peers connected at once; 0, the default, for no limit. While
  // that many are connected, a further one is closed as soon as it joins:
  // nothing it sends is read and no event tells of it.
  void SetMaxConnections(int most) { maxConnections_ = most; }

  int ActiveConnections() const { return static_cast<int>(connections_.size()); }
  TSocketConnection* Connection(int index) const;

  TSocketNotifyEvent OnAccept;
  TSocketNotifyEvent OnClientRead;
  TSocketNotifyEvent OnClientDisconnect;
  // socket is null for a failed accept.
  TSocketErrorEvent OnClientError;
  TSocketReportEvent OnErrorReport;

 private:
  void AcceptPending();
  void ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                       TErrorEvent kind, QAbstractSocket::SocketError error);
  void Forget(TSocketConnection* connection);

  int port_ = 0;
  int maxConnections_ = 0;
  bool listening_ = false;
  QPointer<QTcpServer> server_;
  std::vector<QPointer<TSocketConnection>> connections_;
};

}  // namespace zerud
