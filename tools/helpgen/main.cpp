// Writes the help document Aide.pdf from its French source text.
//   zerud-helpgen <source.txt> <Aide.pdf>
// Runs without a display (QT_QPA_PLATFORM=offscreen); the PDF is written
// under a temporary name and renamed, so an interrupted build never leaves a
// half-written document in the program folder.

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

#include "assets/help/HelpText.h"

namespace {

constexpr int kResolutionDpi = 300;
constexpr qreal kLigatureBreakingSpacing = 0.05;

int Fail(const QString& message) {
  std::fprintf(stderr, "zerud-helpgen: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3)
    return Fail(QStringLiteral("usage: zerud-helpgen <source.txt> <out.pdf>"));

  QFile source(arguments[1]);
  if (!source.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read ") + arguments[1]);
  const QString text = QString::fromUtf8(source.readAll());
  if (text.trimmed().isEmpty()) return Fail(arguments[1] + QStringLiteral(" is empty"));

  QSaveFile output(arguments[2]);
  if (!output.open(QIODevice::WriteOnly))
    return Fail(QStringLiteral("cannot write ") + arguments[2]);
  {
    QPdfWriter writer(&output);
    writer.setResolution(kResolutionDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Zerud uravizera4"));

    QTextDocument document;
    document.setHtml(zerud::help::HelpTextToHtml(text));
    // No ligatures, so that a reader's search finds "réflexion" and
    // "Effacer": any letter spacing turns them off, this one is invisible.
    QTextCursor everything(&document);
    everything.select(QTextCursor::Document);
    QTextCharFormat spacing;
    spacing.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    spacing.setFontLetterSpacing(kLigatureBreakingSpacing);
    everything.mergeCharFormat(spacing);
    // Printing an unpaginated document lays it out on the writer's pages with
    // margins of two centimetres and numbers the pages.
    document.print(&writer);
  }
  if (!output.commit()) return Fail(QStringLiteral("cannot write ") + arguments[2]);
  return 0;
}
