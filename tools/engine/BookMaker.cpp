#include "BookMaker.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <ostream>
#include <random>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "rules/MoveOrder.h"
#include "solver/OpeningBook.h"
#include "solver/Searcher.h"
#include "solver/Solver.h"

namespace zerud {

namespace {

using TScores = std::unordered_map<std::uint32_t, int>;

// Reads the solved grids of a progress file: lines "CODE SCORE", the code
// in hexadecimal. A last line cut short by a stopped run is dropped from
// the file, so that the next line starts clean.
TScores ReadProgress(const std::string& path, const std::unordered_set<std::uint32_t>& wanted) {
  TScores scores;
  std::ifstream file(path, std::ios::binary);
  if (!file) return scores;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  const std::size_t complete = text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1;
  if (complete != text.size()) std::filesystem::resize_file(path, complete);
  std::istringstream lines(text.substr(0, complete));
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    std::istringstream fields(line);
    std::uint32_t code = 0;
    int score = 0;
    if (!(fields >> std::hex >> code >> std::dec >> score) || !wanted.contains(code) ||
        score < -21 || score > 21) {
      throw std::runtime_error(path + " line " + std::to_string(number) +
                               " is not a solved grid of 8 pieces");
    }
    scores[code] = score;
  }
  return scores;
}

// The score of each grid of fewer pieces, from the scores of the grids
// after each of its moves.
void ScoreFromChildren(const std::vector<TBitPosition>& grids, TScores& scores) {
  for (const TBitPosition& grid : grids) {
    int best = -kCells;
    for (int column = 0; column < kColumns; ++column) {
      if (!grid.CanPlay(column)) continue;
      if (grid.WinsAt(column)) {
        best = std::max(best, WinNowScore(grid.Pieces()));
        continue;
      }
      TBitPosition after = grid;
      after.PlayColumn(column);
      best = std::max(best, -scores.at(*CanonicalBookCode(after)));
    }
    scores[*CanonicalBookCode(grid)] = best;
  }
}

}  // namespace

std::vector<std::vector<TBitPosition>> BookGridsByPieces(int maxPieces) {
  std::vector<std::vector<TBitPosition>> levels(1, {TBitPosition()});
  for (int pieces = 1; pieces <= maxPieces; ++pieces) {
    std::vector<TBitPosition> next;
    std::unordered_set<std::uint32_t> seen;
    for (const TBitPosition& parent : levels.back()) {
      for (const int column : kCentreFirst) {
        if (!parent.CanPlay(column) || parent.WinsAt(column)) continue;
        TBitPosition after = parent;
        after.PlayColumn(column);
        const std::uint32_t code = *CanonicalBookCode(after);
        if (seen.insert(code).second) next.push_back(*PositionOfBookCode(code));
      }
    }
    levels.push_back(std::move(next));
  }
  return levels;
}

int MakeBook(const TBookMakerOptions& options, std::ostream& out, std::ostream& err) {
  constexpr int kPieces = TOpeningBook::kMaxPieces;
  const std::vector<std::vector<TBitPosition>> levels = BookGridsByPieces(kPieces);
  const std::vector<TBitPosition>& last = levels.back();
  std::unordered_set<std::uint32_t> wanted;
  for (const TBitPosition& grid : last) wanted.insert(*CanonicalBookCode(grid));
  const std::string progressPath = options.Out + ".progress";
  TScores scores;
  try {
    scores = ReadProgress(progressPath, wanted);
  } catch (const std::exception& error) {
    err << "zerud-engine: " << error.what() << "\n";
    return 1;
  }
  std::vector<TBitPosition> todo;
  for (const TBitPosition& grid : last) {
    if (!scores.contains(*CanonicalBookCode(grid))) todo.push_back(grid);
  }
  out << last.size() << " grids of " << kPieces << " pieces, " << last.size() - todo.size()
      << " already solved in " << progressPath << "\n"
      << std::flush;

  std::ofstream progress(progressPath, std::ios::app);
  if (!progress) {
    err << "zerud-engine: cannot write " << progressPath << "\n";
    return 1;
  }
  // Each thread takes the next grid in order: neighbours share most of
  // their searches, which the one table keeps for all.
  TTranspositionTable table(options.TableMib);
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::size_t done = 0;
  const auto start = std::chrono::steady_clock::now();
  const auto work = [&] {
    TSearcher searcher(table, nullptr);
    for (std::size_t i; (i = next.fetch_add(1)) < todo.size();) {
      const int score = searcher.Solve(todo[i]);
      const std::lock_guard lock(mutex);
      progress << std::hex << *CanonicalBookCode(todo[i]) << std::dec << ' ' << score << '\n'
               << std::flush;
      scores[*CanonicalBookCode(todo[i])] = score;
      if (++done % 100 == 0 || done == todo.size()) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        out << done << " of " << todo.size() << " solved in " << static_cast<long>(seconds)
            << " s, about " << static_cast<long>(seconds / done * (todo.size() - done))
            << " s to go\n"
            << std::flush;
      }
    }
  };
  {
    std::vector<std::jthread> threads;
    for (int thread = 0; thread < std::max(1, options.Threads); ++thread) {
      threads.emplace_back(work);
    }
  }
  if (!progress) {
    err << "zerud-engine: cannot write " << progressPath << "\n";
    return 1;
  }
  for (int pieces = kPieces - 1; pieces >= 0; --pieces) ScoreFromChildren(levels[pieces], scores);
  std::vector<TBookEntry> entries;
  for (const auto& level : levels) {
    for (const TBitPosition& grid : level) {
      const std::uint32_t code = *CanonicalBookCode(grid);
      entries.push_back({code, scores.at(code)});
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const TBookEntry& a, const TBookEntry& b) { return a.Code < b.Code; });
  try {
    TOpeningBook::FromEntries(entries, kPieces).Save(options.Out);
  } catch (const std::exception& error) {
    err << "zerud-engine: " << error.what() << "\n";
    return 1;
  }
  out << "book of " << entries.size() << " grids written to " << options.Out << "\n";
  return 0;
}

int VerifyBook(const std::string& path, int count, int threads, std::size_t tableMib,
               std::ostream& out, std::ostream& err) {
  std::optional<TOpeningBook> book;
  try {
    book = TOpeningBook::FromFile(path);
  } catch (const std::exception& error) {
    err << "zerud-engine: the book " << path << " is refused: " << error.what() << "\n";
    return 1;
  }
  TSolver solver(TSolverOptions{.Threads = threads, .TableMib = tableMib, .Book = nullptr});
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  out << "checking " << count << " of " << book->Size() << " grids (seed " << seed << ")\n";
  int differences = 0;
  for (int i = 0; i < count && book->Size() > 0; ++i) {
    const TBookEntry entry = book->At(random() % book->Size());
    const std::optional<TBitPosition> grid = PositionOfBookCode(entry.Code);
    const int score = grid ? solver.Solve(*grid) : 99;
    if (score != entry.Score) {
      ++differences;
      out << "entry " << std::hex << entry.Code << std::dec << ": book " << entry.Score
          << ", solver " << score << "\n";
    }
  }
  out << (differences == 0 ? "no difference\n" : std::to_string(differences) + " differences\n");
  return differences == 0 ? 0 : 1;
}

}  // namespace zerud
