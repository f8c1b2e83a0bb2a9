#pragma once

#include "links/GameLink.h"

namespace zerud {

class TFormMain;
class TGame;

// What the network window does to the game, through the main window: the
// connection's state, the role, the start button and what the peer sends.
class TWindowLink : public TGameLink {
 public:
  TWindowLink(TFormMain& window, TGame& game) : window_(window), game_(game) {}

  QWidget* GameWindow() override;
  void SetNetworkLink(TNetworkLink* link) override;
  TNetworkLink* NetworkLink() const override;
  void EnterNetworkMode() override;
  void LeaveNetworkMode() override;
  void SetServerRole(bool server) override;
  bool ServerRole() const override;
  void ShowNetworkStatus(const QString& text) override;
  void AllowNewGame(bool on) override;
  void StopMoves() override;
  void StartPeerGame() override;
  void PlayPeerMove(const QString& column) override;
  void EndPeerGame() override;
  void ShowPeerChat(const QString& line) override;

 private:
  // A peer's game start or move behind another window marks ours.
  void AskAttention();

  TFormMain& window_;
  TGame& game_;
};

}  // namespace zerud
