#include "rules/Random.h"

#include <chrono>

namespace zerud {

TRandomSource::TRandomSource()
    : engine_(static_cast<std::uint32_t>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

}  // namespace zerud
