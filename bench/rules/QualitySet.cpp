#include "QualitySet.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "SelfPlay.h"
#include "rules/Search.h"
#include "solver/Solver.h"

namespace zerud::bench {

namespace {

constexpr int kFewestPieces = 8;
constexpr int kMostPieces = 34;
constexpr std::uint32_t kGamesSeed = 10;

constexpr const char* kCacheHeader = "zerud quality set 1";

TQualityPosition Solved(TSolver& solver, const TBoard& board, int game) {
  std::string why;
  const TBitPosition position = ToSolverGrid(board, why)->Position;
  const TColumnScores outcomes = solver.ScoreColumns(position, true);
  TQualityPosition solved;
  solved.Board = board;
  solved.Game = game;
  for (int column = 0; column < kColumns; ++column) {
    solved.Outcomes[column] =
        static_cast<std::int8_t>(outcomes[column] ? *outcomes[column] : kFullColumn);
    solved.WinsNow[column] = position.CanPlay(column) && position.WinsAt(column);
  }
  solved.Pieces = position.Pieces();
  return solved;
}

std::vector<TQualityPosition> Build(int count) {
  const TPatternTable table = PlainGamesTable();
  std::array<TPlayer, 4> players;
  for (int level = 2; level <= 5; ++level) players[level - 2] = SearchPlayer(table, level);
  TSolver solver;
  std::mt19937 random(kGamesSeed);
  std::set<std::string> seen;
  std::vector<TQualityPosition> set;
  for (int game = 0; static_cast<int>(set.size()) < count; ++game) {
    const TPlayer& first = players[random() % players.size()];
    const TPlayer& second = players[random() % players.size()];
    PlayGame(RandomOpening(random), first, second,
             [&](const TBoard& board, int player, int moveNumber) {
               const int pieces = moveNumber - 1;
               if (player != 2 || pieces < kFewestPieces || pieces > kMostPieces ||
                   static_cast<int>(set.size()) >= count || !seen.insert(board.ToString()).second) {
                 return;
               }
               set.push_back(Solved(solver, board, game));
               if (set.size() % 100 == 0) {
                 std::fprintf(stderr, "%zu positions solved\n", set.size());
               }
             });
  }
  return set;
}

void Save(const std::string& path, const std::vector<TQualityPosition>& set) {
  std::ofstream out(path);
  out << kCacheHeader << ' ' << set.size() << '\n';
  for (const TQualityPosition& position : set) {
    out << position.Board.ToString() << ' ' << position.Game;
    for (int column = 0; column < kColumns; ++column) {
      out << ' ' << int{position.Outcomes[column]} << ' ' << position.WinsNow[column];
    }
    out << '\n';
  }
}

// Nothing unless the file holds a complete set of `count` positions.
std::vector<TQualityPosition> Load(const std::string& path, int count) {
  std::ifstream in(path);
  std::string header;
  std::getline(in, header);
  if (header != std::string(kCacheHeader) + ' ' + std::to_string(count)) return {};
  std::vector<TQualityPosition> set;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string cells;
    TQualityPosition position;
    fields >> cells >> position.Game;
    const std::optional<TBoard> board = TBoard::FromString(cells);
    if (!board) return {};
    position.Board = *board;
    for (int column = 0; column < kColumns; ++column) {
      int outcome = 0;
      bool winsNow = false;
      fields >> outcome >> winsNow;
      position.Outcomes[column] = static_cast<std::int8_t>(outcome);
      position.WinsNow[column] = winsNow;
    }
    if (!fields) return {};
    for (const char cell : position.Board.Cells) position.Pieces += cell != kEmptyCell;
    set.push_back(position);
  }
  return static_cast<int>(set.size()) == count ? set : std::vector<TQualityPosition>{};
}

}  // namespace

int TQualityPosition::Best() const {
  int best = kFullColumn;
  for (const std::int8_t outcome : Outcomes) best = std::max<int>(best, outcome);
  return best;
}

bool TQualityPosition::Contested() const {
  for (const std::int8_t outcome : Outcomes) {
    if (outcome != kFullColumn && outcome != Best()) return true;
  }
  return false;
}

bool TQualityPosition::CanWinNow() const {
  for (const bool wins : WinsNow) {
    if (wins) return true;
  }
  return false;
}

std::vector<TQualityPosition> LoadOrBuildQualitySet(const std::string& cachePath, int count) {
  std::vector<TQualityPosition> set = Load(cachePath, count);
  if (set.empty()) {
    set = Build(count);
    Save(cachePath, set);
  }
  return set;
}

int MachineColumn(const TQualityPosition& position, const TPatternTable& table, int level) {
  TSearchState state;
  state.MaxDepth = 2 * level;
  // Never drawn from: every position of the set is past the first piece.
  TRandomSource random(1);
  return ChooseMachineColumn(position.Board, position.Pieces + 1, state, table, random);
}

TLevelFigures MeasureLevel(const std::vector<const TQualityPosition*>& positions,
                           const TPatternTable& table, int level) {
  TLevelFigures figures;
  for (const TQualityPosition* position : positions) {
    const int column = MachineColumn(*position, table, level);
    const bool sound = position->Sound(column);
    ++figures.Positions;
    figures.Sound += sound;
    if (position->Contested()) {
      ++figures.Contested;
      figures.ContestedSound += sound;
    }
    if (position->CanWinNow()) {
      ++figures.WinsNow;
      figures.WinsNowTaken += position->WinsNow[column];
      figures.WinsPutOff += !position->WinsNow[column] && sound;
    }
  }
  return figures;
}

}  // namespace zerud::bench
