#pragma once

#include <QString>
#include <cstdint>

// The hostile-peer campaign: a plain socket sends the real network window
// random bytes, every command with random payloads, markup, overlong chat
// lines, columns outside 0-6, game starts and ends in the middle of falls,
// messages cut across reads and joined in one read, and drops the connection
// in the middle of messages. After every read the main window's grid, move
// number, player, end flag and column targets must be those of TModel.
namespace zerud::campaign {

struct TSettings {
  long Messages = 1'000'000;
  std::uint64_t Seed = 1;
  QString ProgramFolder;
  bool Progress = false;
};

struct TResult {
  bool Passed = false;
  QString Failure;
  long Messages = 0;  // complete or cut messages sent
  long Reads = 0;     // writes, each taken as one read
  long MidFall = 0;   // reads that arrived while a move was falling
  long Disconnections = 0;
  long MovesPlayed = 0;
  long GamesEnded = 0;
  long Reports = 0;
  double Seconds = 0;
};

// Runs the campaign against a new main window and network window; needs a
// QApplication.
TResult Run(const TSettings& settings);

}  // namespace zerud::campaign
