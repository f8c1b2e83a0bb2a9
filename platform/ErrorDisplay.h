#pragma once

#include <QString>
#include <functional>

// The game's one way to tell the user that something failed: a plain message
// box titled "Zerud uravizera4". Tests replace the display to read the text
// instead of blocking on a dialog.
namespace zerud {

using TErrorDisplay = std::function<void(const QString& text)>;

// Shows the text to the user through the current display.
void ShowError(const QString& text);

// Replaces the display; returns the previous one so a test can restore it.
// An empty function restores the message box.
TErrorDisplay SetErrorDisplay(TErrorDisplay display);

}  // namespace zerud
