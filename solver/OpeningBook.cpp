#include "solver/OpeningBook.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <stdexcept>

namespace zerud {

namespace {

constexpr char kMagic[8] = {'Z', 'R', 'D', 'B', 'O', 'O', 'K', '1'};
constexpr std::size_t kHeaderBytes = 24;  // magic, pieces, count, check sum
constexpr int kBucketBits = 13;
constexpr int kLowBits = 29 - kBucketBits;
constexpr std::uint32_t kBuckets = 1u << kBucketBits;
constexpr std::size_t kIndexBytes = (kBuckets + 1) * 4;
constexpr std::size_t kEntryBytes = 3;
constexpr int kScoreOffset = 32;
// Far more than the grids of 8 pieces there are: a bound on what a header
// may claim before anything is read on its word.
constexpr std::size_t kMaxEntries = std::size_t{1} << 22;

std::uint64_t CheckSum(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t sum = 14695981039346656037ull;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) sum = (sum ^ bytes[i]) * 1099511628211ull;
  return sum;
}

std::uint64_t ReadLittle(const std::uint8_t* bytes, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

void WriteLittle(std::vector<std::uint8_t>& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> 8 * i));
}

[[noreturn]] void Refuse(const std::string& why) { throw std::runtime_error(why); }

}  // namespace

std::optional<std::uint32_t> BookCode(const TBitPosition& position) {
  if (position.Pieces() > TOpeningBook::kMaxPieces) return std::nullopt;
  std::uint32_t heights = 0;
  std::uint32_t mine = 0;
  int used = 0;
  for (int column = 0; column < kColumns; ++column) {
    const std::uint64_t cells = position.Filled() & TBitPosition::ColumnMask(column);
    const int height = std::popcount(cells);
    heights = heights << 3 | static_cast<std::uint32_t>(height);
    const std::uint64_t own = (position.Mine() & cells) >> (column * TBitPosition::kStride);
    mine |= static_cast<std::uint32_t>(own) << used;
    used += height;
  }
  return heights << 8 | mine;
}

std::optional<std::uint32_t> CanonicalBookCode(const TBitPosition& position) {
  const std::optional<std::uint32_t> code = BookCode(position);
  if (!code) return std::nullopt;
  return std::min(*code, *BookCode(position.Mirrored()));
}

std::optional<TBitPosition> PositionOfBookCode(std::uint32_t code) {
  if (code >= (1u << 29)) return std::nullopt;
  std::uint64_t mine = 0;
  std::uint64_t filled = 0;
  int used = 0;
  for (int column = 0; column < kColumns; ++column) {
    const int height = static_cast<int>(code >> (8 + 3 * (kColumns - 1 - column))) & 7;
    if (height > kRows || used + height > TOpeningBook::kMaxPieces) return std::nullopt;
    const std::uint64_t cells = ((std::uint64_t{1} << height) - 1);
    filled |= cells << (column * TBitPosition::kStride);
    mine |= ((code >> used) & cells) << (column * TBitPosition::kStride);
    used += height;
  }
  // Bits beyond the pieces must be clear: one code for each grid.
  if ((code & 0xff) >> used != 0) return std::nullopt;
  return TBitPosition(mine, filled, used);
}

TOpeningBook TOpeningBook::FromEntries(const std::vector<TBookEntry>& entries, int maxPieces) {
  std::vector<std::uint8_t> body;
  std::uint32_t next = 0;
  for (std::uint32_t bucket = 0; bucket <= kBuckets; ++bucket) {
    while (next < entries.size() && (entries[next].Code >> kLowBits) < bucket) ++next;
    WriteLittle(body, next, 4);
  }
  for (const TBookEntry& entry : entries) {
    WriteLittle(body,
                (entry.Code & ((1u << kLowBits) - 1)) |
                    static_cast<std::uint32_t>(entry.Score + kScoreOffset) << kLowBits,
                kEntryBytes);
  }
  std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
  WriteLittle(bytes, static_cast<std::uint32_t>(maxPieces), 4);
  WriteLittle(bytes, entries.size(), 4);
  WriteLittle(bytes, CheckSum(body.data(), body.size()), 8);
  bytes.insert(bytes.end(), body.begin(), body.end());
  return FromBytes(std::move(bytes));
}

TOpeningBook TOpeningBook::FromBytes(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    Refuse("not an opening book of this game");
  }
  TOpeningBook book;
  const std::uint64_t maxPieces = ReadLittle(&bytes[8], 4);
  const std::uint64_t count = ReadLittle(&bytes[12], 4);
  if (maxPieces > kMaxPieces || count > kMaxEntries) Refuse("its header is damaged");
  if (bytes.size() != kHeaderBytes + kIndexBytes + count * kEntryBytes) {
    Refuse("its size does not match its header (cut short or lengthened)");
  }
  if (CheckSum(&bytes[kHeaderBytes], bytes.size() - kHeaderBytes) != ReadLittle(&bytes[16], 8)) {
    Refuse("its check sum does not match (the file is damaged)");
  }
  book.bytes_ = std::move(bytes);
  book.maxPieces_ = static_cast<int>(maxPieces);
  book.count_ = static_cast<std::size_t>(count);
  // A file with the right sum may still come from a faulty maker: the
  // search below relies on the order, so it is checked once here.
  std::uint32_t previousOffset = 0;
  for (std::uint32_t bucket = 0; bucket <= kBuckets; ++bucket) {
    const std::uint32_t offset = book.Offset(bucket);
    if (offset < previousOffset || offset > count) Refuse("its index is out of order");
    previousOffset = offset;
  }
  if (book.Offset(kBuckets) != count) Refuse("its index is out of order");
  for (std::uint32_t bucket = 0; bucket < kBuckets; ++bucket) {
    for (std::uint32_t i = book.Offset(bucket); i < book.Offset(bucket + 1); ++i) {
      const TBookEntry entry = book.At(i);
      const int score = entry.Score;
      if (score < -21 || score > 21) Refuse("it holds a score out of range");
      if (i > book.Offset(bucket) && book.At(i - 1).Code >= entry.Code) {
        Refuse("its entries are out of order");
      }
    }
  }
  return book;
}

std::uint32_t TOpeningBook::Offset(std::uint32_t bucket) const {
  return static_cast<std::uint32_t>(ReadLittle(&bytes_[kHeaderBytes + 4 * bucket], 4));
}

std::uint32_t TOpeningBook::EntryWord(std::size_t index) const {
  return static_cast<std::uint32_t>(
      ReadLittle(&bytes_[kHeaderBytes + kIndexBytes + kEntryBytes * index], kEntryBytes));
}

TBookEntry TOpeningBook::At(std::size_t index) const {
  const std::uint32_t word = EntryWord(index);
  std::uint32_t bucket = 0;
  // The bucket of an entry: the last whose offset is at most its index.
  std::uint32_t low = 0, high = kBuckets;
  while (low < high) {
    const std::uint32_t middle = (low + high + 1) / 2;
    if (Offset(middle) <= index) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  bucket = low;
  return TBookEntry{bucket << kLowBits | (word & ((1u << kLowBits) - 1)),
                    static_cast<int>(word >> kLowBits) - kScoreOffset};
}

std::optional<int> TOpeningBook::Find(const TBitPosition& position) const {
  if (position.Pieces() > maxPieces_) return std::nullopt;
  const std::uint32_t code = *CanonicalBookCode(position);
  const std::uint32_t bucket = code >> kLowBits;
  const std::uint32_t low16 = code & ((1u << kLowBits) - 1);
  std::uint32_t low = Offset(bucket), high = Offset(bucket + 1);
  while (low < high) {
    const std::uint32_t middle = (low + high) / 2;
    const std::uint32_t word = EntryWord(middle);
    const std::uint32_t key = word & ((1u << kLowBits) - 1);
    if (key == low16) return static_cast<int>(word >> kLowBits) - kScoreOffset;
    if (key < low16) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return std::nullopt;
}

TOpeningBook TOpeningBook::FromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) Refuse("cannot be opened");
  // Bounded: a book is well under its largest possible size.
  constexpr std::size_t kMaxBytes = kHeaderBytes + kIndexBytes + kMaxEntries * kEntryBytes;
  std::vector<std::uint8_t> bytes;
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + file.gcount());
    if (bytes.size() > kMaxBytes) Refuse("it is far larger than a book");
  }
  if (file.bad()) Refuse("cannot be read");
  return FromBytes(std::move(bytes));
}

void TOpeningBook::Save(const std::string& path) const {
  // Written beside and renamed over: a reader never meets half a book.
  const std::string partial = path + ".part";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes_.data()),
               static_cast<std::streamsize>(bytes_.size()));
    if (!file.flush()) Refuse("cannot write " + partial);
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) Refuse("cannot rename " + partial);
}

std::shared_ptr<const TOpeningBook> TOpeningBook::FromProgramFolder() {
  static std::once_flag once;
  static std::shared_ptr<const TOpeningBook> book;
  std::call_once(once, [] {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return;
    std::string path(self, static_cast<std::size_t>(length));
    path = path.substr(0, path.rfind('/') + 1) + kBookFileName;
    if (access(path.c_str(), F_OK) != 0) return;  // no book: the solver searches
    try {
      book = std::make_shared<const TOpeningBook>(FromFile(path));
    } catch (const std::exception& error) {
      std::cerr << "The opening book " << path << " is refused: " << error.what()
                << ". Perfect play is searched without it.\n";
    }
  });
  return book;
}

}  // namespace zerud
