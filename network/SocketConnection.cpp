#include "network/SocketConnection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QNetworkProxy>
#include <QTcpSocket>

namespace zerud {
namespace {

// A dead link (a cut cable, a peer whose machine went off) must end the
// connection within a minute, with nothing new on the wire: an older copy of
// the game sends nothing between moves and would not understand a message of
// ours, so there is no heartbeat of the game's own, and a peer that is only
// thinking, however long, must never be dropped. The system's keep-alive
// probes do it below the game: a link that stays quiet for kKeepAliveIdle
// seconds is probed every kKeepAliveInterval seconds, and a peer that
// answers none of kKeepAliveProbes probes is gone (Linux ends it sooner, once
// kUnacknowledgedLimitMs have passed without a word and a probe is out: about
// 30 s). A healthy peer's system answers them, whatever the game on it does.
constexpr int kKeepAliveIdle = 10;
constexpr int kKeepAliveInterval = 5;
constexpr int kKeepAliveProbes = 5;
// Keep-alive sends no probe while data waits for its acknowledgement, and a
// move sent into a dead cable does: the system would retry it for a quarter
// of an hour. Data left unacknowledged this long (milliseconds) ends the
// connection instead.
constexpr int kUnacknowledgedLimitMs = 30000;
static_assert(kKeepAliveIdle + kKeepAliveInterval * kKeepAliveProbes <= 60 &&
              kUnacknowledgedLimitMs <= 60000);

void SetOption(int descriptor, int level, int name, int value) {
  // A system that refuses an option leaves the connection as it was: the
  // game still plays, it only notices a dead link later.
  setsockopt(descriptor, level, name, &value, sizeof value);
}

// Qt applies an option only to a system socket, so a client's connection
// gets these once it is made.
void TuneConnected(QTcpSocket* socket) {
  // Each message leaves at once, as its own segment as far as the network
  // allows, without Nagle's delay: an older copy of the game, which splits
  // nothing, then receives a chat line and the move behind it apart.
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  const int descriptor = static_cast<int>(socket->socketDescriptor());
  if (descriptor < 0) return;
  SetOption(descriptor, SOL_SOCKET, SO_KEEPALIVE, 1);
  SetOption(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdle);
  SetOption(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveInterval);
  SetOption(descriptor, IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
  SetOption(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, kUnacknowledgedLimitMs);
}

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
  if (established_) TuneConnected(socket);
  // channelReadyRead, unlike readyRead, is also emitted while a handler of
  // an earlier read still runs (it may be animating a move), so a message
  // that arrives then is not left waiting in the buffer.
  connect(socket, &QIODevice::channelReadyRead, this, [this](int) { Notify(TEvent::Read); });
  connect(socket, &QAbstractSocket::connected, this, [this, socket] {
    TuneConnected(socket);
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
