#include "network/LocalAddress.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

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

QList<TLocalInterface> LocalInterfaces() {
  QList<TLocalInterface> interfaces;
  for (const QNetworkInterface& system : QNetworkInterface::allInterfaces()) {
    TLocalInterface local;
    const QNetworkInterface::InterfaceFlags flags = system.flags();
    local.Up = flags.testFlag(QNetworkInterface::IsUp);
    local.Running = flags.testFlag(QNetworkInterface::IsRunning);
    local.Loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
    for (const QNetworkAddressEntry& entry : system.addressEntries())
      local.Addresses.append(entry.ip());
    interfaces.append(local);
  }
  return interfaces;
}

QString ReachableAddress(const QString& lookedUp, const QList<TLocalInterface>& interfaces) {
  if (!lookedUp.isEmpty() && !QHostAddress(lookedUp).isLoopback()) return lookedUp;
  for (const TLocalInterface& candidate : interfaces) {
    if (!candidate.Up || !candidate.Running || candidate.Loopback) continue;
    for (const QHostAddress& address : candidate.Addresses) {
      if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
        return address.toString();
    }
  }
  return lookedUp;
}

}  // namespace zerud
