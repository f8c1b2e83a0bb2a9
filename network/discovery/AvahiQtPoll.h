#pragma once

#include <avahi-common/watch.h>

#include <QObject>
#include <QSet>

namespace zerud {

// The Avahi client's main loop is Qt's own: its sockets are watched by
// QSocketNotifier and its timeouts are QTimer, so everything it does runs on
// the user-interface thread, between the game's other events, with no
// thread and no blocking wait of its own.
class TAvahiQtPoll : public QObject {
  Q_OBJECT

 public:
  explicit TAvahiQtPoll(QObject* parent = nullptr);
  // Frees whatever watches and timeouts the client left behind.
  ~TAvahiQtPoll() override;

  const AvahiPoll* Api() const { return &api_; }

 private:
  static AvahiWatch* WatchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                              AvahiWatchCallback callback, void* userdata);
  static void WatchUpdate(AvahiWatch* watch, AvahiWatchEvent events);
  static AvahiWatchEvent WatchGetEvents(AvahiWatch* watch);
  static void WatchFree(AvahiWatch* watch);
  static AvahiTimeout* TimeoutNew(const AvahiPoll* api, const struct timeval* when,
                                  AvahiTimeoutCallback callback, void* userdata);
  static void TimeoutUpdate(AvahiTimeout* timeout, const struct timeval* when);
  static void TimeoutFree(AvahiTimeout* timeout);

  static void DispatchWatch(AvahiWatch* watch, AvahiWatchEvent event);
  static void DispatchTimeout(AvahiTimeout* timeout);
  static void DestroyWatch(AvahiWatch* watch);
  static void DestroyTimeout(AvahiTimeout* timeout);

  AvahiPoll api_{};
  QSet<AvahiWatch*> watches_;
  QSet<AvahiTimeout*> timeouts_;
};

}  // namespace zerud
