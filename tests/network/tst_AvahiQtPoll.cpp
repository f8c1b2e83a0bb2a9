// Avahi's main-loop interface on Qt's event loop: watches woken by their
// file descriptor, timeouts that fire once at their time, and both freed or
// changed from inside their own callbacks, as the Avahi client does.
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <functional>

#include "network/discovery/AvahiQtPoll.h"

using namespace zerud;

namespace {

// What the callbacks saw, and what a case makes them do.
struct TSeen {
  const AvahiPoll* api = nullptr;
  int calls = 0;
  AvahiWatchEvent event{};
  AvahiWatchEvent eventsInside{};
  std::function<void(AvahiWatch*)> onWatch;
  std::function<void(AvahiTimeout*)> onTimeout;
};

void WatchCalled(AvahiWatch* watch, int fd, AvahiWatchEvent event, void* userdata) {
  auto* seen = static_cast<TSeen*>(userdata);
  ++seen->calls;
  seen->event = event;
  seen->eventsInside = seen->api->watch_get_events(watch);
  char byte;
  if (event & AVAHI_WATCH_IN) (void)read(fd, &byte, 1);
  if (seen->onWatch) seen->onWatch(watch);
}

void TimeoutCalled(AvahiTimeout* timeout, void* userdata) {
  auto* seen = static_cast<TSeen*>(userdata);
  ++seen->calls;
  if (seen->onTimeout) seen->onTimeout(timeout);
}

struct timeval In(int ms) {
  struct timeval when {};
  gettimeofday(&when, nullptr);
  when.tv_usec += ms * 1000L;
  when.tv_sec += when.tv_usec / 1000000;
  when.tv_usec %= 1000000;
  return when;
}

}  // namespace

class AvahiQtPollTest : public QObject {
  Q_OBJECT

 private slots:
  void watches() {
    const struct {
      const char* name;
      AvahiWatchEvent events;
      bool freeInside;    // the callback frees its watch
      bool silenceAfter;  // watch_update(0) after the first call
      int bytes;
      int calls;
      AvahiWatchEvent event;
    } cases[] = {
        {"readable: IN, seen inside the callback", AVAHI_WATCH_IN, false, false, 1, 1,
         AVAHI_WATCH_IN},
        {"freed inside its callback", AVAHI_WATCH_IN, true, false, 2, 1, AVAHI_WATCH_IN},
        {"silenced by an update", AVAHI_WATCH_IN, false, true, 2, 1, AVAHI_WATCH_IN},
        {"writable: OUT", AVAHI_WATCH_OUT, true, false, 0, 1, AVAHI_WATCH_OUT},
    };
    for (const auto& c : cases) {
      TAvahiQtPoll poll;
      TSeen seen;
      seen.api = poll.Api();
      int fds[2];
      QVERIFY(pipe2(fds, O_NONBLOCK) == 0);
      const int fd = (c.events & AVAHI_WATCH_OUT) ? fds[1] : fds[0];
      AvahiWatch* watch = poll.Api()->watch_new(poll.Api(), fd, c.events, WatchCalled, &seen);
      bool freed = false;
      seen.onWatch = [&](AvahiWatch* w) {
        if (c.freeInside) {
          poll.Api()->watch_free(w);
          freed = true;
        } else if (c.silenceAfter) {
          poll.Api()->watch_update(w, static_cast<AvahiWatchEvent>(0));
        }
      };
      for (int i = 0; i < c.bytes; ++i) QVERIFY(write(fds[1], "x", 1) == 1);
      QTRY_VERIFY2(seen.calls >= 1, c.name);
      QTest::qWait(100);
      QVERIFY2(seen.calls == c.calls, c.name);
      QVERIFY2(seen.event == c.event && seen.eventsInside == c.event, c.name);
      if (!freed) {
        QVERIFY2(poll.Api()->watch_get_events(watch) == 0, c.name);
        poll.Api()->watch_free(watch);
      }
      close(fds[0]);
      close(fds[1]);
    }
  }

  void timeouts() {
    using TInside = std::function<void(const AvahiPoll*, AvahiTimeout*, int call)>;
    const TInside again = [](const AvahiPoll* api, AvahiTimeout* t, int call) {
      if (call == 3) return;
      const struct timeval when = In(50);
      api->timeout_update(t, &when);
    };
    const TInside disarm = [](const AvahiPoll* api, AvahiTimeout* t, int) {
      const struct timeval when = In(0);
      api->timeout_update(t, &when);
      api->timeout_update(t, nullptr);
    };
    const TInside free = [](const AvahiPoll* api, AvahiTimeout* t, int) { api->timeout_free(t); };
    const struct {
      const char* name;
      int dueMs;  // from now; -1: made disarmed
      TInside inside;
      bool freesItself;
      int calls;
      int firstNotBeforeMs;
    } cases[] = {
        {"fires once, not before its time", 150, {}, false, 1, 140},
        {"due in the past: at once", -500, {}, false, 1, 0},
        {"made disarmed: never", -1, {}, false, 0, 0},
        {"armed again from its callback", 50, again, false, 3, 40},
        {"disarmed from its callback", 0, disarm, false, 1, 0},
        {"freed inside its callback", 0, free, true, 1, 0},
    };
    for (const auto& c : cases) {
      TAvahiQtPoll poll;
      TSeen seen;
      QElapsedTimer clock;
      qint64 firstAt = -1;
      seen.onTimeout = [&](AvahiTimeout* t) {
        if (firstAt < 0) firstAt = clock.elapsed();
        if (c.inside) c.inside(poll.Api(), t, seen.calls);
      };
      clock.start();
      const struct timeval due = In(c.dueMs);
      AvahiTimeout* timeout =
          poll.Api()->timeout_new(poll.Api(), c.dueMs == -1 ? nullptr : &due, TimeoutCalled, &seen);
      QVERIFY(
          QTest::qWaitFor([&] { return seen.calls >= c.calls && clock.elapsed() > 300; }, 2000));
      QVERIFY2(seen.calls == c.calls, c.name);
      if (c.calls > 0) QVERIFY2(firstAt >= c.firstNotBeforeMs, c.name);
      if (!c.freesItself) poll.Api()->timeout_free(timeout);
    }
  }
};

QTEST_MAIN(AvahiQtPollTest)
#include "tst_AvahiQtPoll.moc"
