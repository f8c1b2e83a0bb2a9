// The opening book: the exact score of every grid of up to a few pieces
// that can arise in a game, made once by `zerud-engine book` and read here.
//
// The file: a header (the magic "ZRDBOOK1", the most pieces of its grids,
// the entry count, a check sum of all that follows), then an index of
// 2^13 + 1 offsets into the entries, then the entries, 3 bytes each, sorted.
// A grid and its mirror image share one entry, under the smaller code of
// the two (see BookCode). Every number is little-endian.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "solver/BitPosition.h"

namespace zerud {

// A grid of up to 8 pieces as a number below 2^29: the seven column
// heights, 3 bits each, column 0 in the highest bits, then up to 8 bits for
// the pieces of the side to move, column by column from the bottom up.
// Nothing for a grid of more than 8 pieces.
std::optional<std::uint32_t> BookCode(const TBitPosition& position);
// The same code for a grid and its mirror image: the smaller of the two.
std::optional<std::uint32_t> CanonicalBookCode(const TBitPosition& position);
// The grid of a code; nothing when the code describes no grid.
std::optional<TBitPosition> PositionOfBookCode(std::uint32_t code);

struct TBookEntry {
  std::uint32_t Code = 0;  // canonical
  int Score = 0;
};

class TOpeningBook {
 public:
  static constexpr int kMaxPieces = 8;

  // The book in `path`. Throws std::runtime_error with a reason a player
  // can read when the file cannot be read, is not a book, or is damaged.
  static TOpeningBook FromFile(const std::string& path);
  // The book of the sorted, canonical `entries` of grids of up to
  // `maxPieces` pieces, as saved by Save.
  static TOpeningBook FromEntries(const std::vector<TBookEntry>& entries, int maxPieces);
  // The book beside the running program ("opening-book.bin" in its folder), read
  // once; nothing when it is missing or refused, after one line on the
  // standard error stream telling why.
  static std::shared_ptr<const TOpeningBook> FromProgramFolder();

  // Writes the book's file; throws std::runtime_error on failure.
  void Save(const std::string& path) const;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  int MaxPieces() const { return maxPieces_; }
  std::size_t Size() const { return count_; }
  // The exact score of `position` for the side to move, if the book holds it.
  std::optional<int> Find(const TBitPosition& position) const;
  // The `index`-th entry in the book's order.
  TBookEntry At(std::size_t index) const;

 private:
  TOpeningBook() = default;
  // Checks the header, the check sum and the order of a file's bytes.
  static TOpeningBook FromBytes(std::vector<std::uint8_t> bytes);
  std::uint32_t Offset(std::uint32_t bucket) const;
  std::uint32_t EntryWord(std::size_t index) const;

  std::vector<std::uint8_t> bytes_;
  int maxPieces_ = 0;
  std::size_t count_ = 0;
};

// The name of the book in the program folder.
inline constexpr const char* kBookFileName = "opening-book.bin";

}  // namespace zerud
