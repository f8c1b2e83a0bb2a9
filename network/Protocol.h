#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The messages two copies of the game exchange: "<command>|<payload>", no
// terminator, no length, single bytes in Windows-1252. These functions build
// and take apart the texts; the network window moves them.
namespace zerud {

inline constexpr char kCommandInit[] = "INIT";
inline constexpr char kCommandMove[] = "DATA_GAME";
inline constexpr char kCommandEnd[] = "DATA_FIN";
inline constexpr char kCommandChat[] = "DATA_CHAT";
// The payload of a game start; the receiver ignores it.
inline constexpr char kInitPayload[] = "xxx";
inline constexpr QChar kFieldSeparator = u'|';

// A received chat line longer than this many characters is cut, so a peer
// cannot make the chat memo swallow all memory.
inline constexpr qsizetype kMaxChatLength = 64 * 1024;

// Field n (counted from 1) of text split at separator; a field that does not
// exist is empty. A separator that stands last is not doubled: "a|b|" splits
// as "a|b" does.
QString GetField(QChar separator, const QString& text, int n);

// The text sent for a command: "INIT|", "DATA_GAME|" and "DATA_FIN|" keep
// their command, anything else is sent as "DATA_CHAT|"; the payload follows.
QString BuildNetMessage(const QString& command, const QString& payload);

// The bytes on the wire, Windows-1252 both ways. A character that the code
// page lacks is sent as '?'; the five bytes it leaves undefined decode to the
// control characters of the same value, so every byte survives a round trip.
QByteArray ToWire(const QString& text);
QString FromWire(const QByteArray& bytes);

// The messages held by one read, in the order they arrived. The wire has no
// terminator, so the split follows two rules, and only these:
//  - From the front: a read is one message, except that a complete
//    "DATA_GAME|<digit>" or "INIT|xxx" followed by the start of another
//    command is taken as that message followed by the rest, read the same way.
//  - From the back of a chat line: where what is left is a "DATA_CHAT|" line
//    that ends with one or more complete "DATA_GAME|<digit>" or "INIT|xxx"
//    (the two forms this game sends right after a chat line), those are taken
//    apart: the chat line first, then each of them. A chat line that holds
//    those words anywhere but at its very end stays whole.
QStringList SplitReceivedText(const QString& text);

// The column of a move's payload, or -1 unless it is one digit from 0 to 6.
int MoveColumn(const QString& payload);

// A received chat payload as the memo shows it: cut at kMaxChatLength.
QString ChatLine(const QString& payload);

}  // namespace zerud
