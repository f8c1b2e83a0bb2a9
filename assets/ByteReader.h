// Bounds-checked reading of little-endian fields from a byte buffer, shared
// by the decoders of our stored picture formats.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "assets/PictureError.h"

namespace zerud {

// Reads fields one after the other; every read past the end throws
// TPictureError ("fichier tronqué") instead of touching memory it does not own.
class TByteReader {
 public:
  TByteReader(const QByteArray& bytes, const QString& name) : bytes_(bytes), name_(name) {}

  qsizetype Position() const { return pos_; }
  qsizetype Remaining() const { return bytes_.size() - pos_; }
  const QString& Name() const { return name_; }

  // Moves to an absolute offset inside the buffer (the end itself allowed).
  void Seek(qint64 offset) {
    if (offset < 0 || offset > bytes_.size()) Fail(QStringLiteral("décalage hors du fichier"));
    pos_ = static_cast<qsizetype>(offset);
  }

  // Throws unless count more bytes are present from the current position.
  void Require(qint64 count) const {
    if (count < 0 || count > Remaining()) Fail(QStringLiteral("fichier tronqué"));
  }

  const uchar* Take(qint64 count) {
    Require(count);
    const uchar* at = reinterpret_cast<const uchar*>(bytes_.constData()) + pos_;
    pos_ += static_cast<qsizetype>(count);
    return at;
  }

  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16() {
    const uchar* p = Take(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::uint32_t U32() {
    const uchar* p = Take(4);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  [[noreturn]] void Fail(const QString& reason) const { throw TPictureError(name_, reason); }

 private:
  const QByteArray& bytes_;
  QString name_;
  qsizetype pos_ = 0;
};

// 1-bit transparency masks of the icon formats: rows padded to four bytes,
// the leftmost pixel in the high bit of its byte, 1 for transparent.
constexpr qint64 MaskStride(qint64 width) { return (width + 31) / 32 * 4; }
constexpr bool MaskTransparent(const uchar* row, qint64 x) {
  return (row[x / 8] >> (7 - x % 8)) & 1;
}

// Appends little-endian fields, the writing side of TByteReader.
inline void PutU16(QByteArray& out, std::uint32_t v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>((v >> 8) & 0xFF));
}
inline void PutU32(QByteArray& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace zerud
