#include "game/window/WindowLink.h"

#include <QLabel>
#include <QRadioButton>

#include "game/model/Game.h"
#include "game/window/FormMain.h"

namespace zerud {

QWidget* TWindowLink::GameWindow() { return &window_; }

void TWindowLink::SetNetworkLink(TNetworkLink* link) { game_.SetNetworkLink(link); }

TNetworkLink* TWindowLink::NetworkLink() const { return game_.NetworkLink(); }

// No change of mode while a connection is open or opening.
void TWindowLink::EnterNetworkMode() {
  game_.ConnectionOpening();
  window_.cbJoueursHumains->setEnabled(false);
  window_.cbMachine->setEnabled(false);
}

void TWindowLink::LeaveNetworkMode() {
  game_.ConnectionLost();
  window_.cbJoueursHumains->setEnabled(true);
  window_.cbMachine->setEnabled(true);
}

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
  window_.StartOpponentGame();
}

void TWindowLink::PlayPeerMove(const QString& column) {
  AskAttention();
  window_.PlayOpponentMove(column);
}

void TWindowLink::EndPeerGame() { window_.EndAnnouncedByPeer(); }

void TWindowLink::ShowPeerChat(const QString& line) { game_.ShowPeerChat(line); }

}  // namespace zerud
