#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// This machine's name and address, as the network window shows them.
namespace zerud {

// The computer's name (at most 255 bytes of it).
QString LocalComputerName();

// The first IPv4 address a blocking lookup of name yields, as "a.b.c.d"; a
// dotted address gives itself. Never fails: an empty text when the name
// cannot be resolved or has no IPv4 address.
QString HostToAddress(const QString& name);

// One network interface of this machine, as the address choice sees it.
struct TLocalInterface {
  bool Up = false;
  bool Running = false;
  bool Loopback = false;
  QList<QHostAddress> Addresses;
};

// The machine's interfaces, in the system's order.
QList<TLocalInterface> LocalInterfaces();

// The address the network window tells the other player. The lookup of the
// computer's name (HostToAddress) comes first; when it gives nothing or a
// loopback address (Debian writes "127.0.1.1 <name>" into /etc/hosts), the
// first IPv4 address of an interface that is up, running and not loopback,
// and only then the looked-up address. Empty when there is none at all.
QString ReachableAddress(const QString& lookedUp, const QList<TLocalInterface>& interfaces);

}  // namespace zerud
