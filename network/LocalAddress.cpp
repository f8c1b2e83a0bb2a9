#include "network/LocalAddress.h"

#include <QHostAddress>
#include <QHostInfo>

namespace zerud {

QString LocalComputerName() {
  // The name is read into a 256-byte buffer, up to its first zero byte.
  constexpr int kNameBuffer = 256;
  QByteArray name = QHostInfo::localHostName().toLocal8Bit();
  const qsizetype zero = name.indexOf('\0');
  if (zero >= 0) name.truncate(zero);
  if (name.size() > kNameBuffer - 1) name.truncate(kNameBuffer - 1);
  return QString::fromLocal8Bit(name);
}

QString HostToAddress(const QString& name) {
  if (name.isEmpty()) return {};
  const QHostInfo info = QHostInfo::fromName(name);
  for (const QHostAddress& address : info.addresses()) {
    bool ok = false;
    const quint32 ip = address.toIPv4Address(&ok);
    if (!ok || address.protocol() != QAbstractSocket::IPv4Protocol) continue;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ip >> 24)
        .arg((ip >> 16) & 0xFF)
        .arg((ip >> 8) & 0xFF)
        .arg(ip & 0xFF);
  }
  return {};
}

}  // namespace zerud
