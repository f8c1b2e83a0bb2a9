#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "network/SocketErrors.h"

class QTcpServer;
class QTcpSocket;
class QHostInfo;

// The game's two sockets: a server that listens and accepts peers, a client
// that connects to one. Everything is reported through events on the UI
// thread; handlers may close either socket and pump the event loop from
// inside any event, and the sockets stay consistent when they do.
namespace zerud {

// The TCP port of a port setting: its low 16 bits (290672 gives 28528,
// negative settings by their two's complement).
constexpr std::uint16_t TcpPort(int setting) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(setting) & 0xFFFFu);
}
static_assert(TcpPort(290672) == 28528 && TcpPort(65536) == 0 && TcpPort(-1) == 65535);

// The largest read handed over at once; more waiting data comes with the
// next read event.
inline constexpr qint64 kMaxReadSize = 256 * 1024;

class TSocketConnection;
using TSocketNotifyEvent = std::function<void(TSocketConnection* socket)>;
// errorCode is the system's number; a handler that sets it to 0 silences the
// failure, otherwise it is shown to the user.
using TSocketErrorEvent =
    std::function<void(TSocketConnection* socket, TErrorEvent kind, int& errorCode)>;

// One TCP connection: the client's, or one the server accepted.
class TSocketConnection : public QObject {
  Q_OBJECT

 public:
  ~TSocketConnection() override;

  bool Connected() const;
  // Hands all the bytes to the system at once. Returns the number of bytes
  // sent; sends nothing and reports nothing when not connected.
  int SendText(const QByteArray& text);
  // Everything waiting (at most kMaxReadSize bytes); empty when nothing
  // waits or the connection is not open.
  QByteArray ReceiveText();
  // The peer's port, for tests and diagnostics; 0 when not connected.
  quint16 PeerPort() const;
  // Bytes handed over by ReceiveText so far, for tests and tools that need
  // to know a read has been taken.
  qint64 ReceivedBytes() const { return receivedBytes_; }

 private:
  friend class TServerSocket;
  friend class TClientSocket;

  enum class TEvent { Connected, Read, Closed, Failed };
  // What the owning socket hears: the connection established, data
  // waiting, closed by the peer, or a failure of the given kind.
  using TOwnerEvent =
      std::function<void(TSocketConnection*, TEvent, TErrorEvent, QAbstractSocket::SocketError)>;

  TSocketConnection(QTcpSocket* socket, TOwnerEvent owner, QObject* parent);
  void Attach(QTcpSocket* socket);
  // Ends the connection on this side without any event: the system socket
  // closes at once, and this object is deleted later. Safe inside the
  // socket's own calls and signals, also from an event loop run by a
  // handler: the object then goes once the outermost of them has returned.
  void Release();
  void Notify(TEvent event,
              QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError);
  void Failed(QAbstractSocket::SocketError error);
  void Leave();

  QPointer<QTcpSocket> socket_;
  TOwnerEvent owner_;
  bool ended_ = false;
  bool released_ = false;
  bool established_ = false;  // the connection was up at some point
  bool inSend_ = false;
  int dispatching_ = 0;  // depth of this socket's calls and signals on the stack
  qint64 receivedBytes_ = 0;
};

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

  int ActiveConnections() const { return static_cast<int>(connections_.size()); }
  TSocketConnection* Connection(int index) const;

  TSocketNotifyEvent OnAccept;
  TSocketNotifyEvent OnClientRead;
  TSocketNotifyEvent OnClientDisconnect;
  // socket is null for a failed accept.
  TSocketErrorEvent OnClientError;

 private:
  void AcceptPending();
  void ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                       TErrorEvent kind, QAbstractSocket::SocketError error);
  void Forget(TSocketConnection* connection);

  int port_ = 0;
  bool listening_ = false;
  QPointer<QTcpServer> server_;
  std::vector<QPointer<TSocketConnection>> connections_;
};

class TClientSocket : public QObject {
  Q_OBJECT

 public:
  explicit TClientSocket(QObject* parent = nullptr);
  ~TClientSocket() override;

  // Both refused with TSocketError while active with another value.
  void SetHost(const QString& host);
  void SetPort(int port);
  const QString& Host() const { return host_; }
  int Port() const { return port_; }

  // Looks the host up and connects in the background; OnConnect or OnError
  // follows. Throws TSocketError for an empty host or when already open.
  void Open();
  // Ends the connection, raising OnDisconnect inside the call when it was
  // connected; a lookup or a connection attempt under way is abandoned
  // without any later event.
  void Close();
  // True from OnConnect until the connection ends.
  bool Active() const { return Connected(); }
  // True from Open until the connection ends or the attempt fails.
  bool Opening() const { return state_ != TState::Idle; }
  bool Connected() const { return state_ == TState::Connected; }
  TSocketConnection* Connection() const { return connection_; }

  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnRead;
  TSocketNotifyEvent OnDisconnect;
  // socket is null for a failed lookup.
  TSocketErrorEvent OnError;

 private:
  enum class TState { Idle, LookingUp, Connecting, Connected };

  Q_SLOT void LookedUp(const QHostInfo& info);
  void Established();
  void ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                       TErrorEvent kind, QAbstractSocket::SocketError error);
  void Fail(TSocketConnection* connection, TErrorEvent kind, QAbstractSocket::SocketError error);
  void Drop();

  QString host_;
  int port_ = 0;
  TState state_ = TState::Idle;
  int lookupId_ = -1;  // the lookup under way; others are ignored
  QPointer<TSocketConnection> connection_;
};

}  // namespace zerud
