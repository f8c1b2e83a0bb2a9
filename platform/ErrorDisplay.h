#pragma once

#include <QString>
#include <functional>

// The game's one way to tell the user that something failed: a plain message
// box titled "Zerud uravizera4". The text is shown as plain text, never as
// markup: it often holds what a peer sent or a file held. Tests replace the
// display to read the text instead of blocking on a dialog.
namespace zerud {

using TErrorDisplay = std::function<void(const QString& text)>;

// Shows the text to the user through the current display: an error box.
void ShowError(const QString& text);

// A lone carriage return separates lines in the game's texts; a label only
// breaks at line feeds, so every CR, CR LF or LF becomes one line feed.
QString WithLineFeeds(const QString& text);

// Replaces the display; returns the previous one so a test can restore it.
// An empty function restores the message box.
TErrorDisplay SetErrorDisplay(TErrorDisplay display);

}  // namespace zerud
