// The game without its window: the grid, the turn, the end, the machine
// player, and the moves of both sides and of the peer. It shows all it does
// through a TGameView and tells the peer through a TNetworkLink.
//
// Every move lets the window handle its events while the piece falls, the
// machine thinks or the end is shown, so other handlers run in the middle of
// a move. The column targets are disabled during a move; a new game asked
// for meanwhile is refused (start button) or held back until the move is
// over (a game, a move or a game end sent by the peer, in the order sent).
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "game/GameView.h"
#include "game/NetworkLink.h"
#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"
#include "rules/Search.h"

namespace zerud {

class TGame : public QObject {
 public:
  // Pieces of a game: slot k of the board shows piece k.
  static constexpr int kPieceCount = kCells;
  // Peer messages held back while a move runs; more are dropped.
  static constexpr std::size_t kDeferredLimit = 64;

  explicit TGame(TGameView& view);

  // State of the current game.
  int MoveNumber = 1;     // number of the next piece, 1..43
  int CurrentPlayer = 1;  // 1 red, 2 yellow
  bool GameOver = false;
  // Set by the network window while a connection is open or opening.
  bool NetworkGame = false;

  // The machine player: its pattern table, level and random source.
  TPatternTable PatternTable;
  TSearchState Search;
  TRandomSource Random;

  const TBoard& Grid() const { return grid_; }

  // The network window, reached through its interface; may stay null.
  void SetNetworkLink(TNetworkLink* link) { network_ = link; }
  TNetworkLink* NetworkLink() const { return network_; }

  // The start button: a local game, or a network game when a peer is there.
  // Refused while a move runs.
  void StartGame();
  // A click on the target of `column`.
  void PlayHumanMove(int column);
  void PlayMachineMove();
  // What the peer sent: a game it begins, its move (the column as received),
  // the end of the game.
  void StartPeerGame();
  void PlayPeerMove(const QString& text);
  void EndAnnouncedByPeer();

  // On: the targets of the columns with room; off: none.
  void EnableColumns(bool on);
  // True while a move, an animation or the machine's search runs.
  bool MoveUnderWay() const { return busy_ > 0 || view_.Animating(); }
  // True while messages of the peer held back during a move wait their turn.
  bool PeerMessagesWaiting() const { return !deferred_.empty(); }
  // Nodes visited by the machine's last search (each one called the pump).
  long LastSearchNodes() const { return searchNodes_; }

 private:
  friend class TMoveScope;
  enum class TMover { Human, Machine, Peer };

  // The one way a piece is played, whoever plays it. Returns false, changing
  // nothing, when the column has no room or every piece is played.
  bool PlayMove(TMover mover, int column, const QString& peerText = {});
  void Log(const QString& line);
  void LogGameEnd(const QString& result);
  // Holds a peer's message back while a move runs or earlier ones wait.
  bool HoldBack(std::function<void()> action);
  void RunDeferred();

  TGameView& view_;
  TNetworkLink* network_ = nullptr;
  TBoard grid_;
  int busy_ = 0;
  long searchNodes_ = 0;
  std::vector<std::function<void()>> deferred_;
  bool resuming_ = false;
};

}  // namespace zerud
