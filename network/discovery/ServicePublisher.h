#pragma once

#include <avahi-client/publish.h>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "network/discovery/AvahiSession.h"

namespace zerud {

// The server's announcement on the local network: one service of the game's
// type, under a name, at a port, with the protocol's version in its TXT
// record. It follows the session: made when the daemon runs, made again
// after a restart, renamed when another computer holds the same name.
class TServicePublisher : public QObject {
  Q_OBJECT

 public:
  explicit TServicePublisher(TAvahiSession& session, QObject* parent = nullptr);
  // Withdraws the announcement.
  ~TServicePublisher() override;

  // Announces `name` (cut to what DNS-SD allows) at `port`, in place of any
  // announcement before.
  void Publish(const QString& name, quint16 port);
  void Withdraw();

 private:
  void SessionChanged(TAvahiSession::TState state);
  // Adds the service to the group and commits it, when wanted and possible.
  void Register();
  void Rename();
  void FreeGroup();
  static void GroupCallback(AvahiEntryGroup* group, AvahiEntryGroupState state, void* userdata);

  TAvahiSession& session_;
  bool wanted_ = false;
  // The name as announced, in UTF-8; changes on a collision.
  QByteArray name_;
  quint16 port_ = 0;
  int renames_ = 0;
  AvahiEntryGroup* group_ = nullptr;
};

// The service name for `name`: at most the 63 bytes of UTF-8 that DNS-SD
// allows, cut between two characters; the game's title when nothing is left.
QByteArray ServiceName(const QString& name);

}  // namespace zerud
