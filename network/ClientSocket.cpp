#include "network/ClientSocket.h"

#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

namespace zerud {

TClientSocket::TClientSocket(QObject* parent) : QObject(parent), attempt_(new QTimer(this)) {
  attempt_->setSingleShot(true);
  attempt_->setInterval(kAttemptLimitMs);
  // A lookup that never answers, or a connection the system keeps trying
  // for minutes, must not leave the player at "Connexion en cours".
  connect(attempt_, &QTimer::timeout, this, [this] {
    if (state_ == TState::LookingUp)
      Fail(nullptr, TErrorEvent::eeLookup, QAbstractSocket::SocketTimeoutError);
    else if (state_ == TState::Connecting)
      Fail(connection_, TErrorEvent::eeConnect, QAbstractSocket::SocketTimeoutError);
  });
}

TClientSocket::~TClientSocket() { Drop(); }

void TClientSocket::SetHost(const QString& host) {
  if (Active() && host != host_) throw TSocketError(QString::fromUtf8(kTextSocketActive));
  host_ = host;
}

void TClientSocket::SetPort(int port) {
  if (Active() && port != port_) throw TSocketError(QString::fromUtf8(kTextSocketActive));
  port_ = port;
}

void TClientSocket::SetAttemptLimit(int ms) { attempt_->setInterval(ms); }

void TClientSocket::Open() {
  if (state_ != TState::Idle) throw TSocketError(QString::fromUtf8(kTextClientAlreadyOpen));
  if (host_.isEmpty()) throw TSocketError(QString::fromUtf8(kTextNoAddress));
  state_ = TState::LookingUp;
  attempt_->start();
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
  attempt_->stop();
  state_ = TState::Connected;
  connection_->established_ = true;
  RaiseNotify(OnConnect, connection_);
}

void TClientSocket::Close() {
  lookupId_ = -1;
  const bool wasConnected = Connected();
  TSocketConnection* connection = connection_;
  Drop();
  if (wasConnected) RaiseNotify(OnDisconnect, connection);
}

void TClientSocket::Drop() {
  attempt_->stop();
  state_ = TState::Idle;
  if (!connection_) return;
  connection_->Release();
  connection_ = nullptr;
}

void TClientSocket::Fail(TSocketConnection* connection, TErrorEvent kind,
                         QAbstractSocket::SocketError error) {
  Drop();
  RaiseError(OnError, OnErrorReport, connection, kind, error);
}

void TClientSocket::ConnectionEvent(TSocketConnection* connection, TSocketConnection::TEvent event,
                                    TErrorEvent kind, QAbstractSocket::SocketError error) {
  if (connection != connection_) return;
  switch (event) {
    case TSocketConnection::TEvent::Connected:
      Established();
      break;
    case TSocketConnection::TEvent::Read:
      if (Connected()) RaiseNotify(OnRead, connection);
      break;
    case TSocketConnection::TEvent::Closed:
      Drop();
      RaiseNotify(OnDisconnect, connection);
      break;
    case TSocketConnection::TEvent::Failed:
      Fail(connection, kind, error);
      break;
  }
}

}  // namespace zerud
