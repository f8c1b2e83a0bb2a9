#pragma once

#include <QString>

class QWidget;

// What the network window may do to the game: the network mode and role,
// the connection's state, the start button, and what the peer sends. The
// main window implements it, so the network code does not depend on the game.
namespace zerud {

class TNetworkLink;

class TGameLink {
 public:
  virtual ~TGameLink() = default;

  // The window the network window centres on.
  virtual QWidget* GameWindow() = 0;
  // Registers the network window with the game (null: it is gone).
  virtual void SetNetworkLink(TNetworkLink* link) = 0;
  virtual TNetworkLink* NetworkLink() const = 0;

  // A connection is being opened: no move and no change of mode meanwhile.
  virtual void EnterNetworkMode() = 0;
  // The connection is gone: the local modes are back.
  virtual void LeaveNetworkMode() = 0;
  // This side plays the server (true) or the client.
  virtual void SetServerRole(bool server) = 0;
  virtual bool ServerRole() const = 0;
  // The connection's state, shown in the main window.
  virtual void ShowNetworkStatus(const QString& text) = 0;
  // The start button on or off.
  virtual void AllowNewGame(bool on) = 0;
  // No column target takes a click until the game says so.
  virtual void StopMoves() = 0;

  // What the peer sent: a game it begins, its move (the column's text as
  // received), the end it announces, a line of chat.
  virtual void StartPeerGame() = 0;
  virtual void PlayPeerMove(const QString& column) = 0;
  virtual void EndPeerGame() = 0;
  virtual void ShowPeerChat(const QString& line) = 0;
};

}  // namespace zerud
