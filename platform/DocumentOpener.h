#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The desktop's document opener: performs a verb on a file the way the
// desktop shell would. "OPEN" hands the file to the desktop's default
// application for it through xdg-open.
namespace zerud {

// How the opened document's window should be shown.
enum class TShowCommand { Normal, Maximized };

// Starts a program detached from the game; returns whether it started.
using TLauncher = std::function<bool(const QString& program, const QStringList& arguments)>;

// The verb the help uses.
inline constexpr char kOpenVerb[] = "OPEN";

// Performs the verb on the file (verbs are case-insensitive, as the shell's
// are; only "OPEN" is known). Returns whether the opener was started; the
// help ignores the answer, so a missing file or a viewer that fails is not
// reported by the game.
//
// xdg-open has no show state of its own. For Maximized, when xdotool is on
// the PATH, a short-lived helper waits (at most kMaximizeWaitSeconds) for the
// viewer's window, whose title names the document, and sizes it to the
// screen; a viewer or window manager that refuses keeps its own size.
bool OpenDocument(const QString& verb, const QString& file, TShowCommand show,
                  const TLauncher& launch);

// The same with QProcess::startDetached as the launcher.
bool OpenDocument(const QString& verb, const QString& file,
                  TShowCommand show = TShowCommand::Maximized);

inline constexpr int kMaximizeWaitSeconds = 30;

}  // namespace zerud
