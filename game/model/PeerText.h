#pragma once

#include <QString>

// A text the peer chose, made fit for one line of the message log.
namespace zerud {

// The longest part of a peer's text that a log line repeats.
inline constexpr qsizetype kShownPeerTextLength = 64;

// text with every control character shown as a visible sign (a line break
// as "␊", a C1 control or a line or direction mark as "<U+0085>"), cut after
// kShownPeerTextLength characters, "…" marking the cut.
QString ShownPeerText(const QString& text);

}  // namespace zerud
