#pragma once

#include <QString>

// What the main window needs of the network window: what the game tells the
// peer, and showing the window. The network window
// implements it and alone knows how these become messages on the wire.
namespace zerud {

class TNetworkLink {
 public:
  virtual ~TNetworkLink() = default;

  // Each sends nothing when there is no peer.
  // This side begins a game and plays first.
  virtual void SendGameStart() = 0;
  // This side played `column` (0 .. 6).
  virtual void SendMove(int column) = 0;
  // A line for the peer's chat; returns the line as the peer's chat will
  // show it, which is what our own chat shows.
  virtual QString SendChatLine(const QString& text) = 0;

  // Shows the network window, not modally.
  virtual void ShowNetworkWindow() = 0;
};

}  // namespace zerud
