#pragma once

#include <QByteArray>
#include <QString>

#include "rules/Board.h"

namespace zerud::campaign {

// What the game must hold after the reads it took, by the rules of a peer's
// messages (GameFlow.cpp, FormReseau.cpp), one message at a time.
struct TModel {
  TBoard Grid;
  int MoveNumber = 1;
  int Player = 1;
  bool GameOver = false;
  bool TargetsOn = false;  // a local player may move
  bool Network = false;    // the peer has begun a network game
  long Reports = 0;        // bad columns written into the log
  long MovesPlayed = 0;
  long GamesEnded = 0;
  long ChatLines = 0;  // DATA_CHAT messages, before the memo's limits

  // One read, split as the receiver splits it.
  void Receive(const QByteArray& read);
  void Apply(const QString& message);
  // The connection has ended: a network game still running ends there.
  void ConnectionLost();
  // The target of column c is enabled.
  bool TargetOn(int column) const;
};

}  // namespace zerud::campaign
