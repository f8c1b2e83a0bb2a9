#pragma once

#include <QString>

// A chat line on its way out. The wire has no terminator, so a receiver that
// finds "DATA_GAME|3" at the end of a chat line may take it for a move of its
// own; our chat lines never hold a command word followed by "|".
namespace zerud {

// The "¦" (Windows-1252 has it) that stands for "|" after a command word.
inline constexpr QChar kEscapedSeparator = u'\u00A6';

// text with every "|" that follows "INIT", "DATA_GAME", "DATA_FIN" or
// "DATA_CHAT" turned into "¦"; any other "|" stays.
QString EscapeChatText(const QString& text);

// What the peer's chat shows of the line we send for text: escaped, through
// Windows-1252 and back, up to its first "|", cut as the receiver cuts.
QString ChatLineAsReceived(const QString& text);

}  // namespace zerud
