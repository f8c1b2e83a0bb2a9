#include "game/model/SearchPump.h"

namespace zerud {

TSearchPump::TSearchPump(std::function<void()> handleEvents)
    : handleEvents_(std::move(handleEvents)) {}

void TSearchPump::Restart() {
  last_ = TClock::time_point{};
  countdown_ = 1;
  rounds_ = 0;
}

}  // namespace zerud
