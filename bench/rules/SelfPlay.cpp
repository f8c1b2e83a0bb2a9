#include "SelfPlay.h"

#include <cstdlib>
#include <ctime>
#include <set>

#include "rules/Search.h"

namespace zerud::bench {

TGame PlayGame(const std::vector<int>& opening, const TPlayer& first, const TPlayer& second,
               const std::function<void(const TBoard&, int, int)>& onMove) {
  TGame game;
  TBoard board;
  int player = 1;
  for (int moveNumber = 1; moveNumber <= kCells; ++moveNumber) {
    int column;
    if (moveNumber <= static_cast<int>(opening.size())) {
      column = opening[moveNumber - 1];
    } else {
      if (onMove) onMove(board, player, moveNumber);
      column = player == 1 ? first(SwapColours(board), moveNumber) : second(board, moveNumber);
    }
    board.Set(LandingRow(board, column), column, PlayerCell(player));
    game.Pieces = moveNumber;
    int direction, c, row, winner = 0;
    bool full;
    if (CheckGameEnd(board, direction, c, row, winner, full)) {
      game.Winner = winner > 0 ? winner : 0;
      break;
    }
    player = OtherPlayer(player);
  }
  game.Final = board;
  return game;
}

TOptions ParseOptions(int argc, char** argv, const std::string& defaultScores) {
  TOptions options;
  options.Scores = defaultScores;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--scores") {
      options.Scores = argv[i + 1];
    } else if (name == "--level") {
      options.Level = std::atoi(argv[i + 1]);
    } else {
      options.Others[name] = argv[i + 1];
    }
  }
  return options;
}

int TOptions::Count(const std::string& name, int fallback) const {
  const auto found = Others.find(name);
  return found == Others.end() ? fallback : std::atoi(found->second.c_str());
}

std::string TOptions::Text(const std::string& name, const std::string& fallback) const {
  const auto found = Others.find(name);
  return found == Others.end() ? fallback : found->second;
}

TPlayer SearchPlayer(const TPatternTable& table, int level) {
  return [&table, level](const TBoard& board, int moveNumber) {
    TSearchState state;
    state.MaxDepth = 2 * level;
    TRandomSource random(1);
    return ChooseMachineColumn(board, moveNumber, state, table, random);
  };
}

TPatternTable PlainGamesTable() {
  return TPatternTable::FromText(
      "2222|100000\n1111|-100000\n02220|900\n01110|-900\n"
      "2220|150\n0222|150\n2202|150\n2022|150\n1110|-150\n0111|-150\n1101|-150\n1011|-150\n"
      "0220|15\n2200|10\n0022|10\n2020|10\n0202|10\n0110|-15\n1100|-10\n0011|-10\n1010|-10\n"
      "0101|-10\n0200|2\n0010|-2\n");
}

std::vector<int> RandomOpening(std::mt19937& random) {
  constexpr int kLongestOpening = 8;
  const int length = 1 + static_cast<int>(random() % kLongestOpening);
  std::vector<int> opening;
  TBoard board;
  for (int n = 0; n < length; ++n) {
    const int column = static_cast<int>(random() % kColumns);
    const int row = LandingRow(board, column);
    if (row < 0) break;
    board.Set(row, column, n % 2 ? kPlayer2Cell : kPlayer1Cell);
    if (IsGameOver(board)) break;
    opening.push_back(column);
  }
  return opening;
}

std::vector<TBoard> GridsFromPlay(int pieces, int count, std::uint32_t seed) {
  const TPatternTable table = PlainGamesTable();
  std::vector<TPlayer> players;
  for (int level = 2; level <= 5; ++level) players.push_back(SearchPlayer(table, level));
  std::mt19937 random(seed);
  std::set<std::string> seen;
  std::vector<TBoard> grids;
  while (static_cast<int>(grids.size()) < count) {
    const TPlayer& first = players[random() % players.size()];
    const TPlayer& second = players[random() % players.size()];
    PlayGame(RandomOpening(random), first, second, [&](const TBoard& board, int, int moveNumber) {
      if (moveNumber - 1 == pieces && static_cast<int>(grids.size()) < count &&
          seen.insert(board.ToString()).second) {
        grids.push_back(board);
      }
    });
  }
  return grids;
}

double ThreadMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace zerud::bench
