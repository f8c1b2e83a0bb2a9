#include "network/SocketEvents.h"

namespace zerud {

void RaiseNotify(const TSocketNotifyEvent& event, TSocketConnection* connection) {
  if (TSocketNotifyEvent handler = event) handler(connection);
}

void RaiseError(const TSocketErrorEvent& event, const TSocketReportEvent& report,
                TSocketConnection* connection, TErrorEvent kind,
                QAbstractSocket::SocketError error) {
  const TSystemError system = SystemError(error);
  int code = system.code;
  // Copied first: the error handler may destroy the socket that holds it.
  const TSocketReportEvent reporter = report;
  if (TSocketErrorEvent handler = event) handler(connection, kind, code);
  if (code == 0 || !reporter) return;
  if (kind == TErrorEvent::eeSend || kind == TErrorEvent::eeReceive)
    reporter(SystemCallErrorText({code, system.text}, kind == TErrorEvent::eeSend
                                                          ? QStringLiteral("send")
                                                          : QStringLiteral("recv")));
  else
    reporter(AsyncErrorText(code));
}

}  // namespace zerud
