#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "network/SocketConnection.h"
#include "network/SocketEvents.h"

class QHostInfo;
class QTimer;

namespace zerud {

// Connects to one server, found by name or dotted address. Its events run on
// the UI thread; a handler may close the client from inside any of them.
class TClientSocket : public QObject {
  Q_OBJECT

 public:
  // An attempt (lookup and connection) that has not succeeded by then fails
  // with OnError, whatever the system would still try.
  static constexpr int kAttemptLimitMs = 15000;

  explicit TClientSocket(QObject* parent = nullptr);
  ~TClientSocket() override;

  // Both refused with TSocketError while active with another value.
  void SetHost(const QString& host);
  void SetPort(int port);
  const QString& Host() const { return host_; }
  int Port() const { return port_; }

  // The limit of the next attempts, in milliseconds (tests shorten it).
  void SetAttemptLimit(int ms);

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
  TSocketReportEvent OnErrorReport;

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
  // Runs from Open until the connection is made or the attempt is dropped.
  QTimer* attempt_;
  QPointer<TSocketConnection> connection_;
};

}  // namespace zerud
