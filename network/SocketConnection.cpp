#include "network/SocketConnection.h"

#include <QNetworkProxy>
#include <QTcpSocket>

namespace zerud {
namespace {

void NoDelay(QTcpSocket* socket) { socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); }

}  // namespace

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

}  // namespace zerud
