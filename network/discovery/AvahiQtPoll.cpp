// Avahi's watches and timeouts on Qt's event loop.
#include "network/discovery/AvahiQtPoll.h"

#include <sys/time.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

// Avahi leaves these two types to the main loop that implements them.
struct AvahiWatch {
  zerud::TAvahiQtPoll* poll;
  int fd;
  AvahiWatchCallback callback;
  void* userdata;
  QSocketNotifier* reader;
  QSocketNotifier* writer;
  // What woke the watch, while its callback runs; nothing otherwise.
  AvahiWatchEvent happened = static_cast<AvahiWatchEvent>(0);
  // Avahi may free a watch or a timeout from inside its own callback: it
  // then goes once the callback has returned.
  int dispatching = 0;
  bool freed = false;
};

struct AvahiTimeout {
  zerud::TAvahiQtPoll* poll;
  QTimer* timer;
  AvahiTimeoutCallback callback;
  void* userdata;
  int dispatching = 0;
  bool freed = false;
};

namespace zerud {
namespace {

// A day: Avahi never waits longer, and the milliseconds fit an int.
constexpr long long kLongestWaitMs = 24LL * 3600 * 1000;

// Avahi's times are absolute, on the wall clock gettimeofday reads.
int MillisecondsUntil(const struct timeval& when) {
  struct timeval now {};
  gettimeofday(&now, nullptr);
  const long long micro =
      (static_cast<long long>(when.tv_sec) - now.tv_sec) * 1000000LL + (when.tv_usec - now.tv_usec);
  if (micro <= 0) return 0;
  return static_cast<int>(std::min((micro + 999) / 1000, kLongestWaitMs));
}

// Made silent: Qt warns of two notifiers of one kind on one descriptor, and
// D-Bus gives its socket a watch for reading and another for writing.
QSocketNotifier* SilentNotifier(int fd, QSocketNotifier::Type type, QObject* parent) {
  auto* notifier = new QSocketNotifier(type, parent);
  notifier->setSocket(fd);  // and stays off until armed
  return notifier;
}

void Arm(AvahiWatch* watch, AvahiWatchEvent events) {
  watch->reader->setEnabled((events & AVAHI_WATCH_IN) != 0);
  watch->writer->setEnabled((events & AVAHI_WATCH_OUT) != 0);
}

void Arm(AvahiTimeout* timeout, const struct timeval* when) {
  if (when == nullptr)
    timeout->timer->stop();
  else
    timeout->timer->start(MillisecondsUntil(*when));
}

}  // namespace

TAvahiQtPoll::TAvahiQtPoll(QObject* parent) : QObject(parent) {
  api_.userdata = this;
  api_.watch_new = WatchNew;
  api_.watch_update = WatchUpdate;
  api_.watch_get_events = WatchGetEvents;
  api_.watch_free = WatchFree;
  api_.timeout_new = TimeoutNew;
  api_.timeout_update = TimeoutUpdate;
  api_.timeout_free = TimeoutFree;
}

TAvahiQtPoll::~TAvahiQtPoll() {
  // The notifiers and timers are children of this object and go with it.
  qDeleteAll(watches_);
  qDeleteAll(timeouts_);
}

AvahiWatch* TAvahiQtPoll::WatchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                                   AvahiWatchCallback callback, void* userdata) {
  auto* poll = static_cast<TAvahiQtPoll*>(api->userdata);
  auto* watch = new AvahiWatch{poll,
                               fd,
                               callback,
                               userdata,
                               SilentNotifier(fd, QSocketNotifier::Read, poll),
                               SilentNotifier(fd, QSocketNotifier::Write, poll)};
  // A hang-up or an error wakes the reader or the writer, whichever is on:
  // the callback then finds it reading or writing.
  connect(watch->reader, &QSocketNotifier::activated, poll,
          [watch] { DispatchWatch(watch, AVAHI_WATCH_IN); });
  connect(watch->writer, &QSocketNotifier::activated, poll,
          [watch] { DispatchWatch(watch, AVAHI_WATCH_OUT); });
  Arm(watch, events);
  poll->watches_.insert(watch);
  return watch;
}

void TAvahiQtPoll::WatchUpdate(AvahiWatch* watch, AvahiWatchEvent events) {
  if (!watch->freed) Arm(watch, events);
}

AvahiWatchEvent TAvahiQtPoll::WatchGetEvents(AvahiWatch* watch) { return watch->happened; }

void TAvahiQtPoll::WatchFree(AvahiWatch* watch) {
  Arm(watch, static_cast<AvahiWatchEvent>(0));
  watch->freed = true;
  if (watch->dispatching == 0) DestroyWatch(watch);
}

void TAvahiQtPoll::DispatchWatch(AvahiWatch* watch, AvahiWatchEvent event) {
  if (watch->freed) return;
  ++watch->dispatching;
  watch->happened = event;
  watch->callback(watch, watch->fd, event, watch->userdata);
  if (--watch->dispatching > 0) return;
  if (watch->freed)
    DestroyWatch(watch);
  else
    watch->happened = static_cast<AvahiWatchEvent>(0);
}

void TAvahiQtPoll::DestroyWatch(AvahiWatch* watch) {
  watch->poll->watches_.remove(watch);
  // The notifier may be the one whose signal is being delivered: it only
  // goes quiet now, and goes later.
  watch->reader->disconnect();
  watch->writer->disconnect();
  watch->reader->deleteLater();
  watch->writer->deleteLater();
  delete watch;
}

AvahiTimeout* TAvahiQtPoll::TimeoutNew(const AvahiPoll* api, const struct timeval* when,
                                       AvahiTimeoutCallback callback, void* userdata) {
  auto* poll = static_cast<TAvahiQtPoll*>(api->userdata);
  auto* timeout = new AvahiTimeout{poll, new QTimer(poll), callback, userdata};
  // A timeout fires once; Avahi arms it again if it wants more.
  timeout->timer->setSingleShot(true);
  connect(timeout->timer, &QTimer::timeout, poll, [timeout] { DispatchTimeout(timeout); });
  Arm(timeout, when);
  poll->timeouts_.insert(timeout);
  return timeout;
}

void TAvahiQtPoll::TimeoutUpdate(AvahiTimeout* timeout, const struct timeval* when) {
  if (!timeout->freed) Arm(timeout, when);
}

void TAvahiQtPoll::TimeoutFree(AvahiTimeout* timeout) {
  timeout->timer->stop();
  timeout->freed = true;
  if (timeout->dispatching == 0) DestroyTimeout(timeout);
}

void TAvahiQtPoll::DispatchTimeout(AvahiTimeout* timeout) {
  if (timeout->freed) return;
  ++timeout->dispatching;
  timeout->callback(timeout, timeout->userdata);
  if (--timeout->dispatching == 0 && timeout->freed) DestroyTimeout(timeout);
}

void TAvahiQtPoll::DestroyTimeout(AvahiTimeout* timeout) {
  timeout->poll->timeouts_.remove(timeout);
  timeout->timer->disconnect();
  timeout->timer->deleteLater();
  delete timeout;
}

}  // namespace zerud
