#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <functional>

#include "network/SocketEvents.h"

class QTcpSocket;

namespace zerud {

// The largest read handed over at once; more waiting data comes with the
// next read event.
inline constexpr qint64 kMaxReadSize = 256 * 1024;

// One TCP connection: the client's, or one the server accepted. Its events
// go to the socket that owns it, on the UI thread; a handler may close that
// socket and pump the event loop from inside any of them.
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

}  // namespace zerud
