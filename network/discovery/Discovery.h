#pragma once

#include <QObject>
#include <QString>

#include "network/discovery/AvahiSession.h"
#include "network/discovery/ServerList.h"
#include "network/discovery/ServiceBrowser.h"
#include "network/discovery/ServicePublisher.h"

namespace zerud {

// The game on the local network: its own announcement while it waits as
// server, and the list of the servers it finds. Silent and empty where
// there is no Avahi daemon or no system bus.
class TDiscovery : public QObject {
  Q_OBJECT

 public:
  explicit TDiscovery(QObject* parent = nullptr) : QObject(parent) {}

  // This computer waits for a player under `name` at `port`.
  void Announce(const QString& name, quint16 port) { publisher_.Publish(name, port); }
  void Withdraw() { publisher_.Withdraw(); }

  TServerList& Servers() { return servers_; }

 private:
  // In this order: the browser and the publisher free what they made with
  // the session's client before the session frees the client.
  TAvahiSession session_;
  TServerList servers_;
  TServicePublisher publisher_{session_};
  TServiceBrowser browser_{session_, servers_};
};

}  // namespace zerud
