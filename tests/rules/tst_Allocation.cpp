// The search allocates nothing per node: whatever a search allocates is a
// fixed amount, the same for a search of a few hundred nodes and one of
// many thousands. Counts every operator new of this program (the search's
// memory of grids comes from calloc, once per search).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "rules/Search.h"

namespace {
std::atomic<long long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace zerud {
namespace {

struct TCount {
  long long Allocations;
  long long Nodes;
};

TCount Search(const TBoard& board, int level, const TPatternTable& table) {
  TSearchState state;
  state.MaxDepth = 2 * level;
  TRandomSource random(1);
  long long nodes = 0;
  const TEventPump pump = [&nodes] { ++nodes; };
  const long long before = allocations;
  ChooseMachineColumn(board, 2, state, table, random, pump);
  return {allocations - before, nodes};
}

TEST(AllocationTest, SearchAllocatesTheSameWhateverItsSize) {
  const TPatternTable table = TPatternTable::FromFile(ZERUD_SCORES_FILE);
  TBoard board;
  board.Set(5, 3, '1');
  const TCount small = Search(board, 2, table);
  const TCount large = Search(board, 5, table);
  ASSERT_GT(large.Nodes, 30 * small.Nodes);
  EXPECT_EQ(large.Allocations, small.Allocations);
  EXPECT_LE(small.Allocations, 2);
  // Grids with floating pieces take the careful road; it allocates nothing
  // per node either.
  TBoard floating;
  floating.Set(0, 0, '2');
  floating.Set(3, 4, '1');
  EXPECT_EQ(Search(floating, 4, table).Allocations, small.Allocations);
}

}  // namespace
}  // namespace zerud
