#include "solver/Solver.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "rules/MoveOrder.h"

namespace zerud {

namespace {

// Most grids are answered in well under a millisecond, sooner than other
// threads could start: the first thread searches alone for about this many
// nodes (some 20 ms). What it has learnt by then stays in the table.
constexpr std::uint64_t kNodesBeforeHelpers = std::uint64_t{1} << 17;

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

TSolver::TSolver(const TSolverOptions& options)
    : book_(options.Book), table_(std::make_unique<TTranspositionTable>(options.TableMib)) {
  const int threads = std::max(1, options.Threads);
  searchers_.reserve(static_cast<std::size_t>(threads));
  for (int i = 0; i < threads; ++i) {
    searchers_.emplace_back(*table_, book_.get(), threads > 1, !options.PlainInstructions);
  }
}

std::uint64_t TSolver::Nodes() const {
  std::uint64_t nodes = 0;
  for (const TSearcher& searcher : searchers_) nodes += searcher.Nodes();
  return nodes;
}

// Every thread searches the same grid over the one table, each taking first
// the moves no other thread is in: what one learns, the others find in the
// table, and the first to finish answers for all. The first tries alone
// before the others start.
int TSolver::Search(const TBitPosition& position, int low, int high, const TSolveLimit* limit) {
  {
    TSearcher& searcher = searchers_.front();
    searcher.SetLimit(limit, nullptr,
                      searchers_.size() == 1 ? TSearcher::kNoCheck : kNodesBeforeHelpers);
    struct TReset {
      TSearcher& Searcher;
      ~TReset() { Searcher.SetLimit(nullptr, nullptr); }
    } reset{searcher};
    try {
      return searcher.Search(position, low, high);
    } catch (const TStopped&) {
      if (searchers_.size() == 1 || (limit != nullptr && limit->Reached())) throw;
    }
  }
  std::atomic<bool> done{false};
  std::mutex mutex;
  std::optional<int> answer;
  const auto run = [&](TSearcher& searcher) {
    searcher.SetLimit(limit, &done);
    try {
      const int score = searcher.Search(position, low, high);
      const std::lock_guard lock(mutex);
      if (!answer) answer = score;
    } catch (const TStopped&) {
      // Another thread answered, or the limit came.
    }
    done.store(true, std::memory_order_relaxed);
    searcher.SetLimit(nullptr, nullptr);
  };
  {
    std::vector<std::jthread> helpers;
    for (std::size_t i = 1; i < searchers_.size(); ++i) {
      helpers.emplace_back(run, std::ref(searchers_[i]));
    }
    run(searchers_.front());
  }
  if (!answer) throw TStopped{};
  return *answer;
}

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
  // Step 2. When the book knows the grid's score, the answer is the first
  // column, the middle first, that keeps it: one narrow search each.
  if (book_ != nullptr) {
    if (const std::optional<int> score = book_->Find(position)) {
      try {
        for (const int column : kCentreFirst) {
          if (!position.CanPlay(column)) continue;
          TBitPosition after = position;
          after.PlayColumn(column);
          const bool keeps = after.Pieces() == kCells ? *score == 0
                             : after.CanWinNow()
                                 ? *score == -WinNowScore(after.Pieces())
                                 : Search(after, -*score, 1 - *score, &limit) <= -*score;
          if (keeps) return TSolverChoice{column, *score};
        }
      } catch (const TStopped&) {
        return std::nullopt;
      }
    }
  }
  // Step 3. Each column in turn, the middle first: a later one is chosen
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
        score = -Search(after, low, high, &limit);
      }
      if (best.Column < 0 || score > best.Score) best = TSolverChoice{column, score};
    }
  } catch (const TStopped&) {
    return std::nullopt;
  }
  return best;
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
