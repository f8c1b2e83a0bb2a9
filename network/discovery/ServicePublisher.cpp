// The server's announcement through Avahi.
#include "network/discovery/ServicePublisher.h"

#include <avahi-common/alternative.h>
#include <avahi-common/domain.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>

#include "network/discovery/ServiceType.h"

namespace zerud {
namespace {

constexpr int kLongestName = 63;
// Two computers may share a name, not a hundred: past this many renames a
// name that collides again stays unannounced rather than loop.
constexpr int kMostRenames = 100;
constexpr char kFallbackName[] = "Zerud uravizera4";

}  // namespace

QByteArray ServiceName(const QString& name) {
  QString kept = name;
  while (kept.toUtf8().size() > kLongestName) {
    kept.chop(1);
    // Never half of a pair of surrogates.
    if (!kept.isEmpty() && kept.back().isHighSurrogate()) kept.chop(1);
  }
  const QByteArray bytes = kept.toUtf8();
  if (bytes.isEmpty() || !avahi_is_valid_service_name(bytes.constData()))
    return QByteArray(kFallbackName);
  return bytes;
}

TServicePublisher::TServicePublisher(TAvahiSession& session, QObject* parent)
    : QObject(parent), session_(session) {
  connect(&session_, &TAvahiSession::StateChanged, this, &TServicePublisher::SessionChanged);
}

TServicePublisher::~TServicePublisher() { FreeGroup(); }

void TServicePublisher::Publish(const QString& name, quint16 port) {
  FreeGroup();
  wanted_ = true;
  name_ = ServiceName(name);
  port_ = port;
  renames_ = 0;
  Register();
}

void TServicePublisher::Withdraw() {
  wanted_ = false;
  FreeGroup();
}

void TServicePublisher::SessionChanged(TAvahiSession::TState state) {
  switch (state) {
    case TAvahiSession::TState::Running:
      Register();
      break;
    case TAvahiSession::TState::Busy:
      // The daemon drops the services while it settles the host's name; they
      // are added again once it runs.
      if (group_) avahi_entry_group_reset(group_);
      break;
    case TAvahiSession::TState::Gone:
      FreeGroup();
      break;
  }
}

void TServicePublisher::Register() {
  AvahiClient* client = session_.Client();
  if (!wanted_ || client == nullptr) return;
  if (group_ == nullptr) group_ = avahi_entry_group_new(client, GroupCallback, this);
  if (group_ == nullptr || !avahi_entry_group_is_empty(group_)) return;
  for (;;) {
    const int added = avahi_entry_group_add_service(
        group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, static_cast<AvahiPublishFlags>(0),
        name_.constData(), kServiceType, nullptr, nullptr, port_, kServiceVersion, nullptr);
    if (added == AVAHI_OK) break;
    // Another service of this computer holds the name: the next one.
    if (added != AVAHI_ERR_COLLISION || renames_ >= kMostRenames) {
      FreeGroup();
      return;
    }
    Rename();
  }
  if (avahi_entry_group_commit(group_) != AVAHI_OK) FreeGroup();
}

void TServicePublisher::Rename() {
  ++renames_;
  char* next = avahi_alternative_service_name(name_.constData());
  name_ = QByteArray(next);
  avahi_free(next);
}

void TServicePublisher::FreeGroup() {
  if (group_ == nullptr) return;
  avahi_entry_group_free(group_);
  group_ = nullptr;
}

void TServicePublisher::GroupCallback(AvahiEntryGroup* group, AvahiEntryGroupState state,
                                      void* userdata) {
  auto* publisher = static_cast<TServicePublisher*>(userdata);
  // The first call may come from inside avahi_entry_group_new.
  publisher->group_ = group;
  switch (state) {
    case AVAHI_ENTRY_GROUP_COLLISION:
      // Another computer on the network announces the same name: ours takes
      // Avahi's next name ("name #2") and goes on.
      if (publisher->renames_ >= kMostRenames) {
        publisher->FreeGroup();
        return;
      }
      publisher->Rename();
      avahi_entry_group_reset(group);
      publisher->Register();
      break;
    case AVAHI_ENTRY_GROUP_FAILURE:
      publisher->FreeGroup();
      break;
    case AVAHI_ENTRY_GROUP_UNCOMMITED:
    case AVAHI_ENTRY_GROUP_REGISTERING:
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
      break;
  }
}

}  // namespace zerud
