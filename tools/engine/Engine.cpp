#include "Engine.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <istream>
#include <new>
#include <optional>
#include <ostream>
#include <thread>

#include "BookMaker.h"
#include "Perft.h"
#include "rules/Board.h"
#include "rules/Errors.h"
#include "rules/Evaluation.h"
#include "rules/Integer.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "solver/Solver.h"

namespace zerud {

namespace {

constexpr const char* kUsage =
    "usage: zerud-engine end\n"
    "       zerud-engine eval --scores FILE\n"
    "       zerud-engine choose --scores FILE --level L [--seed N]   (L from 2 to 5)\n"
    "       zerud-engine perft N\n"
    "       zerud-engine bench --scores FILE --level L\n"
    "       zerud-engine solve [--threads N] [--table-mib M] [--book FILE|none]\n"
    "       zerud-engine score [--weak] [--threads N] [--table-mib M] [--book FILE|none]\n"
    "       zerud-engine book --out FILE [--threads N] [--table-mib M]\n"
    "       zerud-engine book --verify FILE N [--threads N] [--table-mib M]\n"
    "       zerud-engine --help\n"
    "Boards are read from stdin, one a line: 42 characters 0, 1 or 2, the top row first.\n"
    "choose and bench read \"BOARD MOVENUMBER\".\n";

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr int kMinLevel = 2;
constexpr int kMaxLevel = 5;
constexpr int kMaxPerftPlies = 42;
constexpr int kMaxThreads = 256;
constexpr int kMaxTableMib = 1 << 20;
constexpr std::size_t kBookMakerTableMib = 256;

struct TUsageError {
  std::string Reason;
};

struct TOptions {
  std::string Command;
  std::optional<std::string> ScoresPath;
  std::optional<int> Level;
  std::optional<std::uint32_t> Seed;
  std::optional<int> Plies;
  // The solver's commands.
  int Threads = 0;
  std::size_t TableMib = 0;
  bool Weak = false;
  std::optional<std::string> BookPath;  // "none" for no book
  std::optional<std::string> Out;
  std::optional<std::string> VerifyPath;
  int VerifyCount = 0;
};

// Every core, and 1 GiB of table on a machine of 8 GiB or more, else a
// quarter of its memory.
int DefaultThreads() { return std::max(1u, std::thread::hardware_concurrency()); }
std::size_t DefaultTableMib() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 128;
  const std::size_t mib =
      static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / (std::size_t{1} << 20);
  return mib >= 8192 ? 1024 : std::max<std::size_t>(1, mib / 4);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

std::int64_t ParseArgument(const std::string& name, const std::string& text, std::int64_t low,
                           std::int64_t high) {
  const std::optional<std::int64_t> value = ParseIntegerIn(text, low, high);
  if (!value) {
    throw TUsageError{name + " must be an integer from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not '" + text + "'"};
  }
  return *value;
}

TOptions ParseOptions(const std::vector<std::string>& args) {
  if (args.empty()) throw TUsageError{"no command"};
  TOptions options;
  options.Command = args[0];
  std::size_t i = 1;
  if (options.Command == "perft") {
    if (args.size() != 2) throw TUsageError{"perft takes one number"};
    options.Plies = static_cast<int>(ParseArgument("N", args[1], 0, kMaxPerftPlies));
    return options;
  }
  if (options.Command != "end" && options.Command != "eval" && options.Command != "choose" &&
      options.Command != "bench" && options.Command != "solve" && options.Command != "score" &&
      options.Command != "book") {
    throw TUsageError{"unknown command '" + options.Command + "'"};
  }
  const bool solves =
      options.Command == "solve" || options.Command == "score" || options.Command == "book";
  for (; i < args.size(); i += 2) {
    if (args[i] == "--weak" && options.Command == "score") {
      options.Weak = true;
      --i;
      continue;
    }
    if (i + 1 >= args.size()) throw TUsageError{args[i] + " needs a value"};
    const std::string& value = args[i + 1];
    if (args[i] == "--threads" && solves) {
      options.Threads = static_cast<int>(ParseArgument("--threads", value, 1, kMaxThreads));
    } else if (args[i] == "--table-mib" && solves) {
      options.TableMib =
          static_cast<std::size_t>(ParseArgument("--table-mib", value, 1, kMaxTableMib));
    } else if (args[i] == "--book" && (options.Command == "solve" || options.Command == "score")) {
      options.BookPath = value;
    } else if (args[i] == "--out" && options.Command == "book") {
      options.Out = value;
    } else if (args[i] == "--verify" && options.Command == "book") {
      if (i + 2 >= args.size()) throw TUsageError{"--verify needs a file and a count"};
      options.VerifyPath = value;
      options.VerifyCount = static_cast<int>(ParseArgument("N", args[i + 2], 1, 1 << 24));
      ++i;
    } else if (args[i] == "--scores") {
      options.ScoresPath = value;
    } else if (args[i] == "--level") {
      options.Level = static_cast<int>(ParseArgument("--level", value, kMinLevel, kMaxLevel));
    } else if (args[i] == "--seed" && options.Command == "choose") {
      options.Seed = static_cast<std::uint32_t>(ParseArgument("--seed", value, 0, UINT32_MAX));
    } else {
      throw TUsageError{"unknown option '" + args[i] + "' for " + options.Command};
    }
  }
  if (options.Command == "book" && options.Out.has_value() == options.VerifyPath.has_value()) {
    throw TUsageError{"book takes either --out FILE or --verify FILE N"};
  }
  if (options.Threads == 0) options.Threads = DefaultThreads();
  // The book's maker solves many small boards one after another: a table of
  // 256 MiB answers them a third faster than one of 1 GiB, whose entries
  // lie farther out of the processor's reach, for as many nodes.
  if (options.TableMib == 0)
    options.TableMib = options.Out ? kBookMakerTableMib : DefaultTableMib();
  const bool needsScores = options.Command != "end" && !solves;
  const bool needsLevel = options.Command == "choose" || options.Command == "bench";
  if (needsScores && !options.ScoresPath) throw TUsageError{"--scores FILE is required"};
  if (!needsScores && options.ScoresPath) {
    throw TUsageError{options.Command + " takes no --scores"};
  }
  if (needsLevel && !options.Level) throw TUsageError{"--level L is required"};
  if (!needsLevel && options.Level) throw TUsageError{options.Command + " takes no --level"};
  return options;
}

// A line answered "error <reason>".
struct TLineError {
  std::string Reason;
};

TBoard ParseBoard(std::string_view text) {
  const std::optional<TBoard> board = TBoard::FromString(text);
  if (!board) throw TLineError{"a board is 42 characters 0, 1 or 2"};
  return *board;
}

struct TMoveRequest {
  TBoard Board;
  int MoveNumber;
};

TMoveRequest ParseMoveRequest(std::string_view text) {
  const std::size_t space = text.find_first_of(" \t");
  if (space == std::string_view::npos) throw TLineError{"expected \"BOARD MOVENUMBER\""};
  const TBoard board = ParseBoard(text.substr(0, space));
  const std::optional<std::int64_t> number =
      ParseIntegerIn(Trim(text.substr(space + 1)), 1, kCells);
  if (!number) {
    throw TLineError{"the move number must be an integer from 1 to 42"};
  }
  return TMoveRequest{board, static_cast<int>(*number)};
}

std::string AnswerEnd(std::string_view line) {
  const TBoard board = ParseBoard(line);
  int direction = -1, column = -1, row = -1, winner = -1;
  bool full = false;
  const bool over = CheckGameEnd(board, direction, column, row, winner, full);
  return std::to_string(over) + ' ' + std::to_string(full) + ' ' + std::to_string(direction) + ' ' +
         std::to_string(column) + ' ' + std::to_string(row) + ' ' + std::to_string(winner);
}

std::string AnswerEval(std::string_view line, const TPatternTable& table) {
  const TBoard board = ParseBoard(line);
  TLineBuffer lines;
  return std::to_string(static_cast<long long>(EvaluateBoard(board, lines, table)));
}

std::string AnswerSolve(std::string_view line, TSolver& solver) {
  std::string why;
  const std::optional<TSolverGrid> grid = ToSolverGrid(ParseBoard(line), why);
  if (!grid) throw TLineError{why};
  return FormatColumnScores(solver.ScoreColumns(grid->Position));
}

std::string AnswerScore(std::string_view line, TSolver& solver, bool weak) {
  std::string why;
  const std::optional<TSolverGrid> grid = ToSolverGrid(ParseBoard(line), why);
  if (!grid) throw TLineError{why};
  return std::to_string(weak ? solver.SolveOutcome(grid->Position) : solver.Solve(grid->Position));
}

std::string AnswerChoose(std::string_view line, const TPatternTable& table, int level,
                         TRandomSource& random, bool withFigures) {
  const TMoveRequest request = ParseMoveRequest(line);
  TSearchState state;
  state.MaxDepth = 2 * level;
  long long nodes = 0;
  const TEventPump countNodes = [&nodes] { ++nodes; };
  const auto start = std::chrono::steady_clock::now();
  const int column = ChooseMachineColumn(request.Board, request.MoveNumber, state, table, random,
                                         withFigures ? countNodes : TEventPump());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (column < 0) throw TLineError{"the grid is full"};
  std::string answer = std::to_string(column);
  if (withFigures) {
    answer +=
        ' ' + std::to_string(nodes) + ' ' +
        std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
  }
  return answer;
}

}  // namespace

int RunEngine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err) {
  // Asked for, the usage is the answer: on stdout, with success.
  if (args.size() == 1 && args[0] == "--help") {
    out << kUsage;
    return 0;
  }
  TOptions options;
  TPatternTable table;
  try {
    options = ParseOptions(args);
    if (options.ScoresPath) table = TPatternTable::FromFile(*options.ScoresPath);
  } catch (const TUsageError& error) {
    err << "zerud-engine: " << error.Reason << "\n" << kUsage;
    return kUsageStatus;
  } catch (const TGameError& error) {
    err << "zerud-engine: " << error.what() << "\n" << kUsage;
    return kUsageStatus;
  }

  if (options.Command == "perft") {
    // Each ply is written as soon as it is counted: deep plies take long.
    int reached = 0;
    try {
      Perft(*options.Plies, [&](int ply, std::uint64_t count) {
        out << ply << ' ' << count << '\n' << std::flush;
        reached = ply;
      });
    } catch (const std::bad_alloc&) {
      err << "zerud-engine: not enough memory to count the grids after " << reached + 1
          << " pieces\n";
      return kFailureStatus;
    }
    return 0;
  }

  if (options.Command == "book") {
    if (options.VerifyPath) {
      return VerifyBook(*options.VerifyPath, options.VerifyCount, options.Threads, options.TableMib,
                        out, err);
    }
    return MakeBook({*options.Out, options.Threads, options.TableMib}, out, err);
  }

  TRandomSource random;
  if (options.Seed) random.Seed(*options.Seed);
  // The solver's table is large: made only for the commands that need it.
  std::optional<TSolver> solver;
  if (options.Command == "solve" || options.Command == "score") {
    TSolverOptions solverOptions{.Threads = options.Threads, .TableMib = options.TableMib};
    if (options.BookPath) {
      solverOptions.Book = nullptr;
      if (*options.BookPath != "none") {
        try {
          solverOptions.Book =
              std::make_shared<const TOpeningBook>(TOpeningBook::FromFile(*options.BookPath));
        } catch (const std::exception& error) {
          err << "zerud-engine: the book " << *options.BookPath << " is refused: " << error.what()
              << "\n";
          return kFailureStatus;
        }
      }
    }
    try {
      solver.emplace(solverOptions);
    } catch (const std::bad_alloc&) {
      err << "zerud-engine: not enough memory for a table of " << options.TableMib << " MiB\n";
      return kFailureStatus;
    }
  }
  std::string text;
  while (std::getline(in, text)) {
    const std::string_view line = Trim(text);
    if (line.empty()) continue;
    std::string answer;
    try {
      if (options.Command == "end") {
        answer = AnswerEnd(line);
      } else if (options.Command == "solve") {
        answer = AnswerSolve(line, *solver);
      } else if (options.Command == "score") {
        answer = AnswerScore(line, *solver, options.Weak);
      } else if (options.Command == "eval") {
        answer = AnswerEval(line, table);
      } else {
        answer = AnswerChoose(line, table, *options.Level, random, options.Command == "bench");
      }
    } catch (const TLineError& error) {
      answer = "error " + error.Reason;
    } catch (const TGameError& error) {
      answer = std::string("error ") + error.what();
    }
    out << answer << '\n' << std::flush;
  }
  return 0;
}

}  // namespace zerud
