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
    if (address.protocol() == QAbstractSocket::IPv4Protocol) return address.toString();
  }
  return {};
}

}  // namespace zerud
