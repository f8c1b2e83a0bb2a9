#pragma once

#include <QString>

// This machine's name and address, as the network window shows them.
namespace zerud {

// The computer's name (at most 255 bytes of it).
QString LocalComputerName();

// The first IPv4 address a blocking lookup of name yields, as "a.b.c.d"; a
// dotted address gives itself. Never fails: an empty text when the name
// cannot be resolved or has no IPv4 address.
QString HostToAddress(const QString& name);

}  // namespace zerud
