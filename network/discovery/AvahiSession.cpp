// The connection to the Avahi daemon and its states.
#include "network/discovery/AvahiSession.h"

namespace zerud {
namespace {

// Without a system bus, how long before the next try.
constexpr int kRetryMs = 10000;

}  // namespace

TAvahiSession::TAvahiSession(QObject* parent) : QObject(parent) {
  retry_.setSingleShot(true);
  connect(&retry_, &QTimer::timeout, this, &TAvahiSession::Reconnect);
  Connect();
}

TAvahiSession::~TAvahiSession() {
  if (client_) avahi_client_free(client_);
}

void TAvahiSession::Connect() {
  // With NO_FAIL the client waits for a daemon that is not there yet, or
  // that restarts, instead of failing; only a missing bus stops it.
  int error = 0;
  AvahiClient* client =
      avahi_client_new(poll_.Api(), AVAHI_CLIENT_NO_FAIL, ClientCallback, this, &error);
  client_ = client;
  if (client == nullptr) {
    SetState(TState::Gone);
    retry_.start(kRetryMs);
  }
}

void TAvahiSession::Reconnect() {
  if (client_) {
    avahi_client_free(client_);
    client_ = nullptr;
  }
  Connect();
}

void TAvahiSession::SetState(TState state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged(state);
}

void TAvahiSession::ClientCallback(AvahiClient* client, AvahiClientState state, void* userdata) {
  auto* session = static_cast<TAvahiSession*>(userdata);
  // The first call comes from inside avahi_client_new, before it returns.
  session->client_ = client;
  switch (state) {
    case AVAHI_CLIENT_S_RUNNING:
      session->SetState(TState::Running);
      break;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
      session->SetState(TState::Busy);
      break;
    case AVAHI_CLIENT_CONNECTING:
      session->SetState(TState::Gone);
      break;
    case AVAHI_CLIENT_FAILURE:
      // The bus itself went away. The client cannot be freed from inside
      // its own callback: a new one is made from the event loop.
      session->SetState(TState::Gone);
      session->retry_.start(0);
      break;
  }
}

}  // namespace zerud
