// The program's one random source: who begins a game and the machine's
// opening column.
#pragma once

#include <cstdint>
#include <random>

namespace zerud {

class TRandomSource {
 public:
  // Seeded from the clock.
  TRandomSource();
  // Seeded with a fixed value, for tests and tools.
  explicit TRandomSource(std::uint32_t seed) : engine_(seed) {}

  void Seed(std::uint32_t seed) { engine_.seed(seed); }
  // A uniform integer from 0 to n - 1 (n >= 1).
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

 private:
  std::mt19937 engine_;
};

}  // namespace zerud
