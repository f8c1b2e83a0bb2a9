// The game without its window: the grid, the mode, whose turn it is, the
// phase of the game, the moves played, the machine player and the peer. It
// shows all it does through a TGameView and tells the peer through a
// TNetworkLink.
//
// Every move lets the window handle its events while the piece falls, the
// machine thinks or the end is shown, so clicks, keys and the peer's
// messages arrive in the middle of a move. The phase decides what each of
// them does then: a local move is taken only when a local player is to move
// and nothing runs; a new game is refused while a move runs; what the peer
// sends waits in one queue and is handled from the event loop, in the order
// sent, once no move runs; the end of the connection waits behind them.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "game/model/GameView.h"
#include "links/NetworkLink.h"
#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "sound/Sound.h"

namespace zerud {

enum class TPhase {
  NoGame,       // nothing started yet, or a network start without a peer
  Starting,     // the last game's pieces are being cleared away
  Waiting,      // waiting for a move (the turn says whose)
  Falling,      // a piece is falling, the end test follows
  Thinking,     // the machine's pause and search
  EndShown,     // the winning line blinks, the grid fades
  Over,         // the game has ended (a result, the peer's end, a lost peer)
  Interrupted,  // frozen by a change of mode or a machine that cannot play
};

// Who plays a move.
enum class TMover { Local, Machine, Peer };

// Games won since the program started, or since the opponent changed: red
// then yellow at one screen; this player then the peer over the network,
// where whoever starts plays red.
struct TScore {
  int First = 0;
  int Second = 0;
  int Draws = 0;
};

// The connection as the game sees it: none, being opened (listening or
// connecting), or open with a peer there.
enum class TConnection { None, Opening, PeerThere };

struct TPlayedMove {
  int Column;
  int Player;  // 1 red, 2 yellow
  TMover By;
};

class TGame : public QObject {
 public:
  // Pieces of a game: slot k of the board shows piece k.
  static constexpr int kPieceCount = kCells;
  // Peer messages waiting behind a move; more are dropped.
  static constexpr std::size_t kDeferredLimit = 64;

  explicit TGame(TGameView& view);

  // State of the current game.
  int MoveNumber() const { return moveNumber_; }        // number of the next piece, 1..43
  int CurrentPlayer() const { return currentPlayer_; }  // 1 red, 2 yellow
  // The end is being shown or the game has ended.
  bool GameOver() const { return phase_ == TPhase::EndShown || phase_ == TPhase::Over; }

  // The machine player: its pattern table, level (the search's depth is
  // twice the level; a search under way reads it at every node) and the
  // random source behind who begins and the machine's opening column.
  const TPatternTable& PatternTable() const { return patternTable_; }
  void SetPatternTable(TPatternTable table) { patternTable_ = std::move(table); }
  int MaxDepth() const { return search_.MaxDepth; }
  void SetLevel(int level) { search_.MaxDepth = 2 * level; }
  void SeedRandom(unsigned seed) { random_.Seed(seed); }
  void ResetRandom() { random_ = TRandomSource(); }

  const TBoard& Grid() const { return grid_; }
  // The mode of the game under way (or of the last one).
  TPlayMode Mode() const { return mode_; }
  // The local mode the mode boxes show: Machine or TwoHumans.
  TPlayMode SelectedMode() const { return selectedMode_; }
  // The mode the window shows: the network's while a connection is open or
  // opening, else the selected one.
  TPlayMode ShownMode() const {
    return connection_ != TConnection::None ? TPlayMode::Network : selectedMode_;
  }
  TPhase Phase() const { return phase_; }
  // Whose move it is in the current game.
  TMover Turn() const { return turn_; }
  const std::vector<TPlayedMove>& Moves() const { return moves_; }
  // A click or a key may play now.
  bool LocalMayMove() const { return phase_ == TPhase::Waiting && turn_ == TMover::Local; }
  // ... and the column has room.
  bool MayPlay(int column) const { return LocalMayMove() && LandingRow(grid_, column) != -1; }
  // True while a move, an animation or the machine's search runs.
  bool MoveUnderWay() const;
  // True while messages of the peer wait their turn.
  bool PeerMessagesWaiting() const { return !queue_.empty(); }
  // Nodes visited by the machine's last search (each one called the pump).
  long LastSearchNodes() const { return searchNodes_; }

  // The network window, reached through its interface; may stay null.
  void SetNetworkLink(TNetworkLink* link) { network_ = link; }
  TNetworkLink* NetworkLink() const { return network_; }
  // What plays the game's sounds; may stay null.
  void SetSoundPlayer(TSoundPlayer* player) { sounds_ = player; }
  // Called whenever a move (or a start) is over and the game waits again.
  void SetMoveOverHandler(std::function<void()> handler) { moveOver_ = std::move(handler); }

  // What the local player may ask for now. Nothing of the sort while the
  // options panel covers the board.
  bool MayStartGame() const;
  bool CanUndo() const;
  // A hint asked for during a move comes once the move is over.
  bool MayAskHint() const { return !optionsOpen_ && (LocalMayMove() || MoveUnderWay()); }

  // The options panel is shown (it covers the board) or put away.
  void SetOptionsOpen(bool open) { optionsOpen_ = open; }
  bool OptionsOpen() const { return optionsOpen_; }

  // The local player's requests.
  // The start button: a local game in the selected mode, or a network game
  // when a connection is open and a peer is there. Refused unless
  // MayStartGame().
  void StartGame();
  // A click on a column's target or its key; false when nothing was played.
  bool PlayHumanMove(int column);
  // A click on a mode box (Machine or TwoHumans): the game under way
  // freezes; another mode than the score's starts the count again. Also how
  // the kept settings set the mode at start, before any game.
  void SelectMode(TPlayMode mode);
  // Takes back the last move: against the machine its reply and your move
  // (a first piece of the machine's stays), with two humans one move. A
  // finished game reopens. Waits for a fall or a search under way; never in
  // a network game.
  void UndoLastMove();
  // Plays again, one by one, the moves undo took back (against the machine
  // your move and its reply, as they were), until a new move is made. Only
  // in a local game, when you are to move.
  void RedoMove();
  bool CanRedo() const;
  // The record of the game shown: its columns from 1 to 7, "4453".
  QString Record() const;
  // Sets up the position of a record in the selected local mode, red having
  // begun; against the machine, it takes the side whose turn it is not. A
  // record that is no game is refused with one line in the log, and the
  // game stays as it was. Not while a move runs or a connection is open.
  void PasteRecord(const QString& text);
  bool CanPaste() const;

  // The connection's side.
  // A connection is being opened: the local game under way freezes.
  void ConnectionOpening();
  // A peer is there (accepted or reached): no move until a game starts.
  void PeerConnected();
  // The connection is gone: a network game under way ends where it stands.
  void ConnectionLost();
  TConnection Connection() const { return connection_; }
  bool ConnectionOpen() const { return connection_ != TConnection::None; }
  bool PeerThere() const { return connection_ == TConnection::PeerThere; }
  // The network window's hold on the start button.
  void AllowNewGame(bool on);
  // This side listens as the server (true) or connects as the client; the
  // network window's role boxes show it.
  void SetServerRole(bool server) { serverRole_ = server; }
  bool ServerRole() const { return serverRole_; }

  // Games won against the current opponent.
  const TScore& Score() const { return score_; }

  // What the peer sent, in the order it came: a game it begins, its move
  // (the column as received), the end of the game, a chat line.
  void StartPeerGame();
  void PlayPeerMove(const QString& text);
  void EndAnnouncedByPeer();
  void ShowPeerChat(const QString& line);

 private:
  enum class TPeerEvent { Start, Move, End, Lost };
  struct TPeerMessage {
    TPeerEvent Event;
    QString Text;
  };

  // The one way a piece is played, whoever plays it. Returns false, changing
  // nothing, when the column has no room or every piece is played.
  bool PlayMove(TMover side, int column, const QString& peerText = {});
  // The machine's move, from the phase Thinking; a pattern table it cannot
  // use leaves the game interrupted.
  void MachineMove();
  void ClearLastGame();
  void TakeSelectedMode();
  // After a move: the game goes on, ends, or freezes as asked meanwhile.
  void FinishMove();
  void FreezeGame();
  void Freeze();
  void EndWithLostPeer();
  void TakeBack();
  // The end of a game: its result counted, logged and shown.
  void CountResult(int winner);
  void ResetScore();
  // The score's count of a result: 1 red, 2 yellow, 0 a draw.
  int& Tally(int winner);
  void ShowScore();
  QString ResultText(int winner, TMover side) const;
  TSound ResultSound(int winner, TMover side) const;
  void Sound(TSound sound);
  void ShowControls();
  void Log(const QString& line, TSpeaker speaker = TSpeaker::None);
  void LogGameEnd(const QString& result);

  void Deliver(TPeerEvent event, const QString& text);
  void ScheduleDrain();
  void Drain();
  void Handle(const TPeerMessage& message);
  void StartPeerGameNow();
  void PlayPeerMoveNow(const QString& text);

  TGameView& view_;
  TNetworkLink* network_ = nullptr;
  int moveNumber_ = 1;
  int currentPlayer_ = 1;
  TPatternTable patternTable_;
  TSearchState search_;
  TRandomSource random_;
  TSoundPlayer* sounds_ = nullptr;
  std::function<void()> moveOver_;
  TBoard grid_;
  TPlayMode mode_ = TPlayMode::Machine;
  TPlayMode selectedMode_ = TPlayMode::Machine;
  TPhase phase_ = TPhase::NoGame;
  TMover turn_ = TMover::Local;
  std::vector<TPlayedMove> moves_;
  TConnection connection_ = TConnection::None;
  bool serverRole_ = true;
  bool optionsOpen_ = false;
  // A local game that a connection found: it stays as it is for good.
  bool localGameClosed_ = false;
  // The colour this player has in the network game under way.
  int localColour_ = 1;
  // The moves undo took back, the next one to play again last.
  std::vector<TPlayedMove> redo_;
  bool startHeld_ = false;
  // Asked for while a move ran; done when it is over.
  bool freezeAsked_ = false;
  bool undoAsked_ = false;
  TScore score_;
  // The local mode the score counts, and the winner the current game added
  // to it (-1: none yet; 0: a draw).
  TPlayMode scoreMode_ = TPlayMode::Machine;
  int countedWinner_ = -1;
  bool machineFailed_ = false;
  std::deque<TPeerMessage> queue_;
  bool draining_ = false;
  bool drainScheduled_ = false;
  long searchNodes_ = 0;
};

}  // namespace zerud
