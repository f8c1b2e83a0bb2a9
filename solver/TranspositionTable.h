// What the solver has learnt of grids it has searched, shared by every
// thread of a search: a bound on each grid's score. Lock-free: each entry is
// one 32-bit word read and written whole, so a thread sees either an older
// entry or a newer one, never a mix.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zerud {

class TTranspositionTable {
 public:
  // A table of `mebibytes` MiB rounded down to a power of two (a few
  // entries for 0). Throws
  // std::bad_alloc when the system has no memory for it.
  explicit TTranspositionTable(std::size_t mebibytes);

  // A bound of a grid's score: an upper bound (the score is at most
  // `Value`) or a lower one (at least).
  struct TBound {
    bool Lower = false;
    int Value = 0;
  };

  // The bound kept for `key` (below 2^49), if any.
  bool Find(std::uint64_t key, TBound& bound) const {
    std::size_t index;
    std::uint32_t tag;
    if (!Locate(key, index, tag)) return false;
    const std::uint32_t entry = entries_[index].load(std::memory_order_relaxed);
    if ((entry & ~kBoundMask) != tag) return false;
    const int code = static_cast<int>(entry & kBoundMask);
    bound.Lower = code >= kLowerOffset - 21;
    bound.Value = code - (bound.Lower ? kLowerOffset : kUpperOffset);
    return true;
  }
  // Keeps `bound` (from -21 to 21) for `key`, in place of whatever grid
  // the entry held.
  void Store(std::uint64_t key, const TBound& bound) {
    std::size_t index;
    std::uint32_t tag;
    if (!Locate(key, index, tag)) return;
    const int code = bound.Value + (bound.Lower ? kLowerOffset : kUpperOffset);
    entries_[index].store(tag | static_cast<std::uint32_t>(code), std::memory_order_relaxed);
  }
  // The grids some thread is searching at this moment, so that another
  // thread searching the same grid's parent takes a different move first.
  // A slot holds one key; two grids meeting in a slot only cost a little
  // order.
  bool Busy(std::uint64_t key) const {
    return busy_[BusySlot(key)].load(std::memory_order_relaxed) == key;
  }
  void MarkBusy(std::uint64_t key) { busy_[BusySlot(key)].store(key, std::memory_order_relaxed); }
  void ClearBusy(std::uint64_t key) {
    std::uint64_t expected = key;
    busy_[BusySlot(key)].compare_exchange_strong(expected, 0, std::memory_order_relaxed);
  }

  // Fetches the entry of `key` into the cache ahead of a Find.
  void Prefetch(std::uint64_t key) const {
    __builtin_prefetch(&entries_[(key ^ Scatter(key >> bits_)) & mask_]);
  }

 private:
  // Entry (low bits of the key, scattered by the high ones) holds the
  // key's high bits + 1 above the bound, which with the index give back the
  // whole key: four bytes hold twice the entries of a plain key and bound.
  // The bound is 0 in an empty entry, else an upper bound + 22 (1 to 43) or
  // a lower bound + 65 (44 to 86).
  static constexpr int kBoundBits = 7;
  static constexpr std::uint32_t kBoundMask = (1u << kBoundBits) - 1;
  static constexpr int kUpperOffset = 22;
  static constexpr int kLowerOffset = 65;
  static constexpr std::uint64_t kHighLimit = std::uint64_t{1} << (32 - kBoundBits);

  // Grids that differ only in their last columns get entries far apart.
  static std::uint64_t Scatter(std::uint64_t high) { return (high * 0x9E3779B97F4A7C15ull) >> 32; }

  // A small table cannot tell every key by its high bits: those go without.
  bool Locate(std::uint64_t key, std::size_t& index, std::uint32_t& tag) const {
    const std::uint64_t high = key >> bits_;
    if (high + 1 >= kHighLimit) return false;
    index = static_cast<std::size_t>((key ^ Scatter(high)) & mask_);
    tag = static_cast<std::uint32_t>(high + 1) << kBoundBits;
    return true;
  }

  static constexpr std::size_t kBusySlots = 1 << 12;
  static std::size_t BusySlot(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 52);
  }
  struct TRelease {
    void* Mapping;
    std::size_t Bytes;
    void operator()(std::atomic<std::uint32_t>* entries) const;
  };
  int bits_;  // the table holds 2^bits_ entries
  std::uint64_t mask_;
  std::unique_ptr<std::atomic<std::uint32_t>[], TRelease> entries_;
  // Written by the threads near the root; on cache lines of their own, away
  // from the fields every look-up reads.
  alignas(64) std::array<std::atomic<std::uint64_t>, kBusySlots> busy_{};
};

}  // namespace zerud
