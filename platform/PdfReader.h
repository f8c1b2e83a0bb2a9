#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Does this machine have a PDF reader for the help document?
//
// The game looks for the uninstall keys of the PDF readers it knows under
// HKEY_LOCAL_MACHINE, in a fixed order, and stops at the first one found. On
// a desktop without a registry the keys are answered by the desktop itself:
// a reader's key "exists" when the desktop has a program registered for PDF
// files (xdg-mime) or a known PDF viewer is on the PATH.
namespace zerud {

struct TPdfDesktop;

// The keys looked for under HKEY_LOCAL_MACHINE, in the order they are tried.
const QStringList& PdfReaderKeys();

// Answers whether a key exists under HKEY_LOCAL_MACHINE.
using TKeyExists = std::function<bool(const QString& key)>;

// True as soon as one of PdfReaderKeys(), tried in order, exists; the keys
// after the first one found are not asked for.
bool PdfReaderInstalled(const TKeyExists& keyExists);

// The same test against this desktop (DesktopKeyExists with SystemPdfDesktop).
// It waits for xdg-mime (up to kPdfQueryTimeoutMs); the window asks through
// TPdfReaderWatch instead.
bool PdfReaderInstalled();

// The same test against the given desktop's answers.
bool PdfReaderInstalled(const TPdfDesktop& desktop);

// A query of xdg-mime never takes long; this only guards against a hung one.
inline constexpr int kPdfQueryTimeoutMs = 3000;

// Arguments of xdg-mime that ask for the default application of PDF files.
const QStringList& DefaultPdfQueryArguments();

// The desktop file named by xdg-mime's answer: the first of several, empty
// when there is none.
QString DefaultPdfApplicationFrom(const QByteArray& answer);

// What the desktop says about PDF viewers. Each question may be replaced, so
// the test can be run against a made-up desktop.
struct TPdfDesktop {
  // The desktop file of the default application for application/pdf, as
  // `xdg-mime query default application/pdf` prints it; empty when none.
  std::function<QString()> DefaultPdfApplication;
  // Whether a desktop file of that name is installed (so a stale association
  // to a removed program does not count).
  std::function<bool(const QString& desktopFile)> ApplicationInstalled;
  // Whether the program is found on the PATH.
  std::function<bool(const QString& program)> ProgramOnPath;
};

// The questions answered by this machine: xdg-mime, the XDG application
// folders and the PATH.
TPdfDesktop SystemPdfDesktop();

// PDF viewers looked for on the PATH when no default application is set.
const QStringList& KnownPdfViewers();

// One of PdfReaderKeys(), compared without regard to case as the registry
// does.
bool IsPdfReaderKey(const QString& key);

// The desktop has a PDF viewer: an installed default application for PDF
// files, or one of KnownPdfViewers() on the PATH.
bool DesktopHasPdfViewer(const TPdfDesktop& desktop);

// The registry stand-in: true for one of PdfReaderKeys() when the desktop has
// a PDF viewer, false for any other key.
bool DesktopKeyExists(const QString& key, const TPdfDesktop& desktop);

}  // namespace zerud
