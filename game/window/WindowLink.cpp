#include "game/window/WindowLink.h"

#include <QLabel>

#include "game/model/Game.h"
#include "game/window/FormMain.h"

namespace zerud {

QWidget* TWindowLink::GameWindow() { return &window_; }

void TWindowLink::SetNetworkLink(TNetworkLink* link) { game_.SetNetworkLink(link); }

TNetworkLink* TWindowLink::NetworkLink() const { return game_.NetworkLink(); }

void TWindowLink::EnterNetworkMode() { game_.ConnectionOpening(); }

void TWindowLink::LeaveNetworkMode() { game_.ConnectionLost(); }

void TWindowLink::SetServerRole(bool server) {
  if (server == game_.ServerRole()) return;
  game_.SetServerRole(server);
  emit window_.SettingsChanged();
}

bool TWindowLink::ServerRole() const { return game_.ServerRole(); }

void TWindowLink::ShowNetworkStatus(const QString& text) { window_.lbReseau->setText(text); }

void TWindowLink::AllowNewGame(bool on) { game_.AllowNewGame(on); }

void TWindowLink::StopMoves() { game_.PeerConnected(); }

void TWindowLink::AskAttention() {
  if (!window_.isActiveWindow()) window_.AskAttention();
}

void TWindowLink::StartPeerGame() {
  AskAttention();
  game_.StartPeerGame();
}

void TWindowLink::PlayPeerMove(const QString& column) {
  AskAttention();
  game_.PlayPeerMove(column);
}

void TWindowLink::EndPeerGame() { game_.EndAnnouncedByPeer(); }

void TWindowLink::ShowPeerChat(const QString& line) { game_.ShowPeerChat(line); }

}  // namespace zerud
