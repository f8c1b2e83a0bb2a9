// Keeps the window alive while the machine thinks. The search calls the pump
// at every node; handling the window's events costs far more than a node, so
// the pump lets them through only once a millisecond has passed since it last
// did. A click on the level track bar therefore reaches the search within
// about a millisecond, and the nodes after it use the new depth.
#pragma once

#include <chrono>
#include <functional>

namespace zerud {

class TSearchPump {
 public:
  using TClock = std::chrono::steady_clock;
  // Shortest time between two rounds of event handling.
  static constexpr auto kInterval = std::chrono::milliseconds(1);
  // Nodes between two readings of the clock. Reading it costs about as much
  // as half a node; a node takes well under a tenth of a microsecond, so 256
  // of them pass in a few microseconds, far below the interval.
  static constexpr int kNodesPerClockReading = 256;

  // `handleEvents` processes the pending window events.
  explicit TSearchPump(std::function<void()> handleEvents);

  // Called at every node.
  void operator()() {
    if (--countdown_ > 0) return;
    countdown_ = kNodesPerClockReading;
    const TClock::time_point now = TClock::now();
    if (now - last_ < kInterval) return;
    handleEvents_();
    ++rounds_;
    last_ = TClock::now();
  }

  // Starts a new search: the first node handles the events at once.
  void Restart();
  // Rounds of event handling since the last Restart.
  long Rounds() const { return rounds_; }

 private:
  std::function<void()> handleEvents_;
  TClock::time_point last_{};
  int countdown_ = 1;
  long rounds_ = 0;
};

}  // namespace zerud
