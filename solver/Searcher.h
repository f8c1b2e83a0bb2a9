// One thread's search of perfect play, over a table it may share with
// other threads. TSolver runs one or several; the book maker runs one per
// thread on grids of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "solver/BitPosition.h"
#include "solver/OpeningBook.h"
#include "solver/TranspositionTable.h"

namespace zerud {

// When a search gives up before it has its answer: once `Deadline` has
// passed, or once `*Stop` is raised, from any thread. Both are looked at
// every few thousand nodes (a fraction of a millisecond), so a search that
// ends sooner gives its answer whatever they say.
struct TSolveLimit {
  std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::time_point::max();
  const std::atomic<bool>* Stop = nullptr;

  bool Reached() const {
    return (Stop != nullptr && Stop->load(std::memory_order_relaxed)) ||
           std::chrono::steady_clock::now() >= Deadline;
  }
};

// Unwinds a search whose limit is reached. The nodes it leaves write
// nothing to the table: every entry is the bound of a finished search.
struct TStopped {};

// The best score still possible for the side to move on a grid holding
// `pieces` pieces when its next piece wins.
constexpr int WinNowScore(int pieces) { return (kCells + 1 - pieces) / 2; }

// Each searcher has cache lines of its own: a thread counts its nodes at
// every node, and a neighbour's fields on the same line would be fetched
// back from the other core at every one of them.
class alignas(64) TSearcher {
 public:
  // `book` may be null. `shared` when other threads search the same grids
  // over the same table: each then takes first the moves no other thread
  // is in. `bitCount` lets the search count bits in one instruction where
  // the processor can.
  TSearcher(TTranspositionTable& table, const TOpeningBook* book, bool shared = false,
            bool bitCount = true);

  // The exact score of `position`, which must not hold a four. Throws
  // TStopped when the limit set stops it first.
  int Solve(const TBitPosition& position) {
    if (position.CanWinNow()) return WinNowScore(position.Pieces());
    return Search(position, -(kCells - position.Pieces()) / 2, WinNowScore(position.Pieces()));
  }
  // Narrows the score of `position` (no four at once for the side to move)
  // from [low, high]: the exact score when it lies inside, else a bound at
  // or beyond the side it lies. Throws TStopped when stopped.
  int Search(const TBitPosition& position, int low, int high);

  // Looked at every few thousand nodes from now on; `quit` stops the search
  // as the limit does, for a thread whose answer is no longer needed, and so
  // does searching about `nodes` more nodes.
  static constexpr std::uint64_t kNoCheck = ~std::uint64_t{0};
  void SetLimit(const TSolveLimit* limit, const std::atomic<bool>* quit,
                std::uint64_t nodes = kNoCheck);
  std::uint64_t Nodes() const { return nodes_; }

 private:
  // One node of the search, compiled twice: NegaMax runs on any processor,
  // NegaMaxBitCount on those that count a mask's bits in one instruction
  // (the move order counts every move's threats). Each recurses into
  // itself; the searcher picks one for good.
  using TNegaMax = int (TSearcher::*)(const TBitPosition&, int, int);
  template <TNegaMax kRecurse>
  int Node(const TBitPosition& position, int alpha, int beta);
  int NegaMax(const TBitPosition& position, int alpha, int beta);
  int NegaMaxBitCount(const TBitPosition& position, int alpha, int beta);
  void CheckLimit();

  TTranspositionTable& table_;
  const TOpeningBook* book_;
  bool shared_;  // other threads search the same grids
  TNegaMax negaMax_;
  std::uint64_t nodes_ = 0;
  const TSolveLimit* limit_ = nullptr;
  const std::atomic<bool>* quit_ = nullptr;
  std::uint64_t nextCheck_ = kNoCheck;
  std::uint64_t lastNode_ = kNoCheck;
};

}  // namespace zerud
