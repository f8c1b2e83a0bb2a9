// zerud-hostile-campaign [--messages N] [--seed S] [--folder DIR] [--progress]
//
// Drives a real main window and network window through a real socket with N
// hostile messages (1,000,000 unless told) and checks the game against a
// model of the rules after every read. Prints the figures; exit status 0 when
// the game followed the model throughout, 1 otherwise.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "Campaign.h"
#include "tests/support/ProgramFolder.h"

int main(int argc, char** argv) {
  // The windows are real, but need no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  zerud::campaign::TSettings settings;
  settings.ProgramFolder = zerud::test::BuiltProgramFolder();
  const QStringList arguments = QApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--messages" && hasValue) {
      settings.Messages = arguments[++i].toLong();
    } else if (argument == "--seed" && hasValue) {
      settings.Seed = arguments[++i].toULongLong();
    } else if (argument == "--folder" && hasValue) {
      settings.ProgramFolder = arguments[++i];
    } else if (argument == "--progress") {
      settings.Progress = true;
    } else {
      std::fprintf(stderr,
                   "usage: zerud-hostile-campaign [--messages N] [--seed S] [--folder DIR] "
                   "[--progress]\n");
      return 2;
    }
  }
  const zerud::campaign::TResult result = zerud::campaign::Run(settings);
  std::printf(
      "hostile-peer campaign, seed %llu: %ld messages in %ld reads (%ld during falls), "
      "%ld disconnections, %ld moves played, %ld games ended, %ld bad columns reported; "
      "%.1f s: %s\n",
      static_cast<unsigned long long>(settings.Seed), result.Messages, result.Reads, result.MidFall,
      result.Disconnections, result.MovesPlayed, result.GamesEnded, result.Reports, result.Seconds,
      result.Passed ? "PASSED" : "FAILED");
  if (!result.Passed) std::printf("%s\n", qPrintable(result.Failure));
  return result.Passed ? 0 : 1;
}
