#pragma once

#include <avahi-client/client.h>

#include <QObject>
#include <QTimer>

#include "network/discovery/AvahiQtPoll.h"

namespace zerud {

// The game's one connection to the Avahi daemon, kept through the daemon's
// restarts. Where there is no daemon or no system bus it stays Gone in
// silence and tries again now and then; the game plays on without it.
class TAvahiSession : public QObject {
  Q_OBJECT

 public:
  enum class TState {
    Gone,     // no daemon: nothing can be published or browsed
    Busy,     // the daemon is settling this computer's own name
    Running,  // publish and browse
  };

  explicit TAvahiSession(QObject* parent = nullptr);
  ~TAvahiSession() override;

  TState State() const { return state_; }
  // The client to make browsers and entry groups with, while Running.
  AvahiClient* Client() const { return state_ == TState::Running ? client_ : nullptr; }

 signals:
  // On Gone, every browser, resolver and entry group made with the client
  // is dead and must be freed at once; on Running they may be made again.
  void StateChanged(TState state);

 private:
  void Connect();
  void Reconnect();
  void SetState(TState state);
  static void ClientCallback(AvahiClient* client, AvahiClientState state, void* userdata);

  // Declared first: the client, freed in the destructor, still needs it.
  TAvahiQtPoll poll_;
  AvahiClient* client_ = nullptr;
  TState state_ = TState::Gone;
  QTimer retry_;
};

}  // namespace zerud
