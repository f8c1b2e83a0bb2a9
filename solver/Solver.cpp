#include "solver/Solver.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

#include "rules/MoveOrder.h"

namespace zerud {

namespace {

// The best score still possible for the side to move on a grid holding
// `pieces` pieces when its next piece wins.
constexpr int WinNowScore(int pieces) { return (kCells + 1 - pieces) / 2; }

// A table entry packs the key's quotient above seven bits: 0 for an empty
// entry, else an upper bound + 22 (1 to 43) or a lower bound + 65 (44 to 86).
constexpr int kBoundBits = 7;
constexpr std::uint32_t kBoundMask = (1u << kBoundBits) - 1;
constexpr int kUpperOffset = kCells / 2 + 1;
constexpr int kLowerOffset = kUpperOffset + kCells + 1;
constexpr std::uint64_t kQuotientLimit = std::uint64_t{1} << (32 - kBoundBits);

// Grids with fewer pieces share their table entry with their mirror image;
// later ones are rarely symmetric and not worth the work.
constexpr int kMirroredBelow = 14;

// Looking up every move's grid before searching pays where subtrees are
// large, not in the last few cells.
constexpr int kLookAheadBelow = 36;

// The largest prime below `limit`: keys spread evenly over a prime size.
std::size_t PrimeBelow(std::size_t limit) {
  for (std::size_t n = limit - 1;; --n) {
    bool prime = n > 1;
    for (std::size_t d = 2; prime && d * d <= n; ++d) prime = n % d != 0;
    if (prime) return n;
  }
}

// Every node looks up entries anywhere in the table: in pages of 2 MiB the
// processor keeps the addresses of far more entries at hand (a fifth less
// processor time on long searches).
constexpr std::size_t kLargePage = std::size_t{2} << 20;

// The limit is looked at once every this many nodes: a clock reading at
// every node would cost about as much as the node itself, and a few
// thousand nodes take well under a millisecond.
constexpr std::uint64_t kNodesPerCheck = 4096;

// Unwinds a search whose limit is reached. The nodes it leaves write
// nothing to the table: every entry is the bound of a finished search.
struct TStopped {};

}  // namespace

std::optional<TSolverGrid> ToSolverGrid(const TBoard& board, std::string& why) {
  int count[3] = {0, 0, 0};
  std::uint64_t pieces[3] = {0, 0, 0};
  for (int column = 0; column < kColumns; ++column) {
    bool below = true;  // every cell below this one holds a piece
    for (int height = 0; height < kRows; ++height) {
      const char cell = board.At(kRows - 1 - height, column);
      if (cell == kEmptyCell) {
        below = false;
        continue;
      }
      if (!below) {
        why = "a piece floats above an empty cell";
        return std::nullopt;
      }
      const int player = cell - '0';
      ++count[player];
      pieces[player] |= std::uint64_t{1} << (column * TBitPosition::kStride + height);
    }
  }
  if (count[1] > count[2] + 1 || count[2] > count[1] + 1) {
    why = "the players' piece counts differ by more than one";
    return std::nullopt;
  }
  int direction, c, r, winner = 0;
  bool full;
  if (CheckGameEnd(board, direction, c, r, winner, full) && winner != 0) {
    why = "the grid already holds four in a row";
    return std::nullopt;
  }
  TSolverGrid grid;
  grid.PlayerToMove = count[1] <= count[2] ? 1 : 2;
  grid.Position =
      TBitPosition(pieces[grid.PlayerToMove], pieces[1] | pieces[2], count[1] + count[2]);
  return grid;
}

// Zeroed memory from the system, aligned to a large page and asking for
// large pages where the system grants them on request.
TSolver::TSolver(int tableBits)
    : table_(nullptr, TRelease{nullptr, 0}), tableSize_(PrimeBelow(std::size_t{2} << tableBits)) {
  const std::size_t bytes = tableSize_ * sizeof(std::uint32_t) + kLargePage;
  void* const mapping =
      mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::bad_alloc();
  const auto start =
      (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
  madvise(reinterpret_cast<void*>(start),
          bytes - (start - reinterpret_cast<std::uintptr_t>(mapping)), MADV_HUGEPAGE);
  table_ = std::unique_ptr<std::uint32_t[], TRelease>(reinterpret_cast<std::uint32_t*>(start),
                                                      TRelease{mapping, bytes});
}

void TSolver::TRelease::operator()(std::uint32_t*) const { munmap(Mapping, Bytes); }

int TSolver::Solve(const TBitPosition& position) {
  if (position.CanWinNow()) return WinNowScore(position.Pieces());
  return Search(position, -(kCells - position.Pieces()) / 2, WinNowScore(position.Pieces()));
}

int TSolver::SolveOutcome(const TBitPosition& position) {
  if (position.CanWinNow()) return 1;
  // The search may pass the narrow window it is given: keep only the sign.
  const int score = Search(position, -1, 1);
  return (score > 0) - (score < 0);
}

// Narrows [low, high] around the score with null-window searches, from 0
// outwards one value at a time: most scores lie near 0, and each search
// there leaves the table ready for the next.
int TSolver::Search(const TBitPosition& position, int low, int high) {
  while (low < high) {
    const int guess = low >= 0 ? low : high <= 0 ? high - 1 : 0;
    const int score = NegaMax(position, guess, guess + 1);
    if (score <= guess) {
      high = score;
    } else {
      low = score;
    }
  }
  return low;
}

TColumnScores TSolver::ScoreColumns(const TBitPosition& position, bool outcomeOnly) {
  TColumnScores scores;
  // The middle first: its grids fill the table with the ones the outer
  // columns meet again.
  for (const int column : kCentreFirst) {
    if (!position.CanPlay(column)) continue;
    if (position.WinsAt(column)) {
      scores[column] = outcomeOnly ? 1 : WinNowScore(position.Pieces());
      continue;
    }
    TBitPosition after = position;
    after.PlayColumn(column);
    if (after.Pieces() == kCells) {
      scores[column] = 0;
      continue;
    }
    scores[column] = -(outcomeOnly ? SolveOutcome(after) : Solve(after));
  }
  return scores;
}

std::optional<TSolverChoice> TSolver::BestColumn(const TBitPosition& position,
                                                 const TSolveLimit& limit) {
  const int pieces = position.Pieces();
  // Step 1. A four at once is the quickest win there is.
  if (position.CanWinNow()) {
    for (const int column : kCentreFirst) {
      if (position.CanPlay(column) && position.WinsAt(column)) {
        return TSolverChoice{column, WinNowScore(pieces)};
      }
    }
  }
  limit_ = &limit;
  nextCheck_ = nodes_ + kNodesPerCheck;
  struct TLimitScope {
    TSolver& Solver;
    ~TLimitScope() {
      Solver.limit_ = nullptr;
      Solver.nextCheck_ = kNoCheck;
    }
  } scope{*this};
  // Step 2. Each column in turn, the middle first: a later one is chosen
  // only for a score above the best so far, so its search may stop as soon
  // as the other side is shown to hold it to that score.
  TSolverChoice best;
  try {
    for (const int column : kCentreFirst) {
      if (!position.CanPlay(column)) continue;
      TBitPosition after = position;
      after.PlayColumn(column);
      int score;
      if (after.Pieces() == kCells) {
        score = 0;
      } else if (after.CanWinNow()) {
        score = -WinNowScore(after.Pieces());
      } else {
        const int low = -(kCells - after.Pieces()) / 2;
        int high = WinNowScore(after.Pieces());
        if (best.Column >= 0) high = std::min(high, -best.Score);
        // At or above `high` the search gives a bound, which loses to the best.
        score = -Search(after, low, high);
      }
      if (best.Column < 0 || score > best.Score) best = TSolverChoice{column, score};
    }
  } catch (const TStopped&) {
    return std::nullopt;
  }
  return best;
}

void TSolver::CheckLimit() {
  if ((limit_->Stop != nullptr && limit_->Stop->load(std::memory_order_relaxed)) ||
      std::chrono::steady_clock::now() >= limit_->Deadline) {
    throw TStopped{};
  }
  nextCheck_ = nodes_ + kNodesPerCheck;
}

// The score of a grid whose side to move cannot win at once, clamped to
// [alpha, beta]: a result at or below alpha is an upper bound, at or above
// beta a lower bound.
int TSolver::NegaMax(const TBitPosition& position, int alpha, int beta) {
  if (++nodes_ == nextCheck_) CheckLimit();
  const int pieces = position.Pieces();
  // Step 1. Every move hands the other side a four: lost at its next piece.
  const std::uint64_t safe = position.SafeMoves();
  if (safe == 0) return -(kCells - pieces) / 2;
  // Step 2. Two cells left and neither side wins with them.
  if (pieces >= kCells - 2) return 0;
  // Step 3. Bounds: the other side cannot win at its next piece, nor this
  // side at this one.
  const int lowest = -(kCells - 2 - pieces) / 2;
  if (alpha < lowest) {
    alpha = lowest;
    if (alpha >= beta) return alpha;
  }
  int highest = (kCells - 1 - pieces) / 2;
  std::uint32_t tag = 0;
  std::uint32_t* const entry = Entry(position, tag);
  const int stored = entry && (*entry & ~kBoundMask) == tag ? int(*entry & kBoundMask) : 0;
  if (stored >= kLowerOffset - kCells / 2) {
    if (alpha < stored - kLowerOffset) {
      alpha = stored - kLowerOffset;
      if (alpha >= beta) return alpha;
    }
  } else if (stored != 0) {
    highest = std::min(highest, stored - kUpperOffset);
  }
  if (beta > highest) {
    beta = highest;
    if (alpha >= beta) return beta;
  }
  // The table entries of the grids after each move, fetched from memory
  // while the moves are sorted.
  const bool lookAhead = pieces < kLookAheadBelow;
  std::array<const std::uint32_t*, kColumns> children{};
  std::array<std::uint32_t, kColumns> childTags{};
  if (lookAhead) {
    for (int column = 0; column < kColumns; ++column) {
      const std::uint64_t cell = safe & TBitPosition::ColumnMask(column);
      if (cell == 0) continue;
      TBitPosition after = position;
      after.Play(cell);
      children[column] = Entry(after, childTags[column]);
      if (children[column]) __builtin_prefetch(children[column]);
    }
  }
  // Step 4. Moves that make the most threats first, the centre first among
  // equals.
  std::array<int, kColumns> moves{};  // the columns, best first
  std::array<int, kColumns> threats{};
  int count = 0;
  for (const int column : kCentreFirst) {
    const std::uint64_t cell = safe & TBitPosition::ColumnMask(column);
    if (cell == 0) continue;
    count = InsertByScore(moves.data(), threats.data(), count, column, position.ThreatsAfter(cell));
  }
  // Step 5. A move whose grid the table already knows bad enough for the
  // other side refutes at once, without searching the moves before it.
  if (lookAhead) {
    for (int i = 0; i < count; ++i) {
      const std::uint32_t* const child = children[moves[i]];
      if (!child || (*child & ~kBoundMask) != childTags[moves[i]]) continue;
      const int code = static_cast<int>(*child & kBoundMask);
      if (code >= kLowerOffset - kCells / 2 || kUpperOffset - code < beta) continue;
      if (entry) *entry = tag | static_cast<std::uint32_t>(kUpperOffset - code + kLowerOffset);
      return kUpperOffset - code;
    }
  }
  // Step 6. Search them; a refutation ends the node.
  for (int i = 0; i < count; ++i) {
    TBitPosition after = position;
    after.Play(safe & TBitPosition::ColumnMask(moves[i]));
    const int score = -NegaMax(after, -beta, -alpha);
    if (score >= beta) {
      if (entry) *entry = tag | static_cast<std::uint32_t>(score + kLowerOffset);
      return score;
    }
    alpha = std::max(alpha, score);
  }
  if (entry) *entry = tag | static_cast<std::uint32_t>(alpha + kUpperOffset);
  return alpha;
}

std::uint32_t* TSolver::Entry(const TBitPosition& position, std::uint32_t& tag) {
  // Early grids are met in both mirror images: one entry serves both.
  const std::uint64_t key = position.Pieces() < kMirroredBelow
                                ? std::min(position.Key(), position.MirroredKey())
                                : position.Key();
  // A small table cannot tell every key by its quotient: those go without.
  // One more than the quotient: an empty entry never matches.
  const std::uint64_t quotient = key / tableSize_ + 1;
  if (quotient >= kQuotientLimit) return nullptr;
  tag = static_cast<std::uint32_t>(quotient) << kBoundBits;
  return &table_[key % tableSize_];
}

std::string FormatColumnScores(const TColumnScores& scores) {
  std::string text;
  for (int column = 0; column < kColumns; ++column) {
    if (column > 0) text += ' ';
    text += scores[column] ? std::to_string(*scores[column]) : "x";
  }
  return text;
}

}  // namespace zerud
