#pragma once

#include <QAbstractSocket>
#include <QString>
#include <cstdint>
#include <functional>

#include "network/SocketErrors.h"

// What the game's sockets tell their owner, and the port rule they share.
// Every event is a std::function the owner sets; an empty one is not raised.
namespace zerud {

// The TCP port of a port setting: its low 16 bits (290672 gives 28528,
// negative settings by their two's complement).
constexpr std::uint16_t TcpPort(int setting) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(setting) & 0xFFFFu);
}
static_assert(TcpPort(290672) == 28528 && TcpPort(65536) == 0 && TcpPort(-1) == 65535);

class TSocketConnection;
using TSocketNotifyEvent = std::function<void(TSocketConnection* socket)>;
// errorCode is the system's number; a handler that sets it to 0 silences the
// failure, otherwise its text goes to the owner's report event.
using TSocketErrorEvent =
    std::function<void(TSocketConnection* socket, TErrorEvent kind, int& errorCode)>;
// A failure no error handler silenced, as the text the user is to read. The
// sockets show nothing themselves: the window that owns them does.
using TSocketReportEvent = std::function<void(const QString& text)>;

// Handlers may replace the event they run in: these call a copy.
void RaiseNotify(const TSocketNotifyEvent& event, TSocketConnection* connection);
// Raises the error event, then reports a failure it left unsilenced.
void RaiseError(const TSocketErrorEvent& event, const TSocketReportEvent& report,
                TSocketConnection* connection, TErrorEvent kind,
                QAbstractSocket::SocketError error);

}  // namespace zerud
