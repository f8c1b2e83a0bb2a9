// What the ordered search remembers of the grids it has met: for each grid
// and depth limit, the bounds found on its value and its best column. Grids
// met again by another order of the same moves are then not searched twice.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace zerud {

class TTranspositionTable {
 public:
  // The grid's key takes 49 bits (7 per column); the depth limit and the
  // best column go in the bits above it.
  static constexpr int kKeyBits = 49;
  static constexpr int kMaxDepthLimit = 63;
  static constexpr int kNoColumn = 7;

  struct TEntry {
    std::uint64_t Tag = 0;  // 0: an empty slot (no grid has key 0)
    std::int32_t Lower = 0;
    std::int32_t Upper = 0;
  };

  // 2^sizeBits slots of 16 bytes, zero-filled by the system: the pages a
  // small search never touches cost nothing.
  explicit TTranspositionTable(int sizeBits)
      : shift_(64 - sizeBits),
        slots_(static_cast<TEntry*>(std::calloc(std::size_t{1} << sizeBits, sizeof(TEntry)))) {
    if (!slots_) throw std::bad_alloc();
  }

  TEntry& Slot(std::uint64_t key) { return slots_.get()[(key * 0x9E3779B97F4A7C15ULL) >> shift_]; }

  static std::uint64_t Tag(std::uint64_t key, int depthLimit, int column) {
    return key | std::uint64_t(depthLimit) << kKeyBits | std::uint64_t(column) << (kKeyBits + 6);
  }
  static std::uint64_t KeyOf(std::uint64_t tag) {
    return tag & ((std::uint64_t{1} << kKeyBits) - 1);
  }
  static int DepthLimitOf(std::uint64_t tag) { return int(tag >> kKeyBits) & kMaxDepthLimit; }
  static int ColumnOf(std::uint64_t tag) { return int(tag >> (kKeyBits + 6)) & 7; }

 private:
  struct TFree {
    void operator()(TEntry* slots) const { std::free(slots); }
  };
  int shift_;
  std::unique_ptr<TEntry, TFree> slots_;
};

}  // namespace zerud
