#pragma once

// What the game announces on the local network and looks for there.
namespace zerud {

// The DNS-SD service type of a game waiting for its other player.
inline constexpr char kServiceType[] = "_zerud4._tcp";
// The TXT record's one entry: the version of the wire protocol.
inline constexpr char kServiceVersion[] = "version=1";

}  // namespace zerud
