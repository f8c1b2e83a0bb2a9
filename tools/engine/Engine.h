// The headless engine tool: the rules and the machine player driven by
// lines of text. One answer line for every non-blank input line, in order;
// a line that cannot be read is answered "error <reason>" and the run goes
// on.
//
//   zerud-engine end                               BOARD -> over full direction column row winner
//   zerud-engine eval --scores FILE                BOARD -> score
//   zerud-engine choose --scores FILE --level L [--seed N]
//                                                  BOARD MOVENUMBER -> column
//   zerud-engine perft N                           -> N + 1 lines "ply count"
//   zerud-engine bench --scores FILE --level L     BOARD MOVENUMBER -> column nodes microseconds
//   zerud-engine solve [SOLVER OPTIONS]            BOARD -> seven column scores
//   zerud-engine score [--weak] [SOLVER OPTIONS]   BOARD -> the grid's score (--weak: 1, 0, -1)
//   zerud-engine book --out FILE [--threads N] [--table-mib M]
//                                                  makes the opening book, resumable
//   zerud-engine book --verify FILE N [...]        solves N entries again, fails on a difference
//   zerud-engine --help                            the usage text on stdout
//
// A BOARD is 42 characters '0', '1', '2': row 0 (the top row) first, each
// row from column 0 to column 6.
//
// solve answers, for the side to move (the one with fewer pieces, player 1
// when both have as many), the perfect-play score of each column: "x" for
// a full column, 0 for a draw, positive for a win and negative for a loss,
// (43 - n) / 2 rounded down for a win whose last piece is placed on a grid
// holding n pieces. score answers the grid's own score, the best of them.
// SOLVER OPTIONS: --threads N (every core by default), --table-mib M (1024
// on a machine of 8 GiB or more, else a quarter of its memory), --book FILE
// or none (the book in the program folder by default).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zerud {

// Runs the tool with its arguments (without the program name). Returns the
// exit status: 0, also after printing the usage text on `out` for a lone
// "--help"; 2 after printing it on `err` for wrong arguments or a scores
// file that cannot be read; 1 when perft runs out of memory (the plies
// already counted are written).
int RunEngine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace zerud
