#include "network/Protocol.h"

#include <array>

namespace zerud {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for themselves.
constexpr std::array<char16_t, 32> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char EncodeCodePoint(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i)
    if (kHighHalf[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

const QString& Command(int i) {
  static const std::array<QString, 4> commands = {
      QString::fromLatin1(kCommandInit), QString::fromLatin1(kCommandMove),
      QString::fromLatin1(kCommandEnd), QString::fromLatin1(kCommandChat)};
  return commands[static_cast<std::size_t>(i)];
}

// rest begins with a command, or is cut short inside one.
bool StartsCommand(QStringView rest) {
  for (int i = 0; i < 4; ++i)
    if (rest.startsWith(Command(i)) || QStringView(Command(i)).startsWith(rest)) return true;
  return false;
}

// Length of a complete move or game start at the front of text, else 0.
qsizetype LeadingCompleteMessage(QStringView text) {
  static const QString move = QString::fromLatin1(kCommandMove) + kFieldSeparator;
  static const QString init =
      QString::fromLatin1(kCommandInit) + kFieldSeparator + QString::fromLatin1(kInitPayload);
  if (text.startsWith(move) && text.size() > move.size() && text[move.size()].isDigit() &&
      text[move.size()].unicode() < 0x80)
    return move.size() + 1;
  if (text.startsWith(init)) return init.size();
  return 0;
}

// Length of a complete move or game start at the end of text, else 0.
qsizetype TrailingCompleteMessage(QStringView text) {
  static const QString move = QString::fromLatin1(kCommandMove) + kFieldSeparator;
  static const QString init =
      QString::fromLatin1(kCommandInit) + kFieldSeparator + QString::fromLatin1(kInitPayload);
  if (text.endsWith(init)) return init.size();
  const qsizetype length = move.size() + 1;
  if (text.size() >= length && text.chopped(1).endsWith(move) && text.back().isDigit() &&
      text.back().unicode() < 0x80)
    return length;
  return 0;
}

}  // namespace

QString GetField(QChar separator, const QString& text, int n) {
  // Walks the fields in place instead of cutting the text n times; the
  // result is the same, also for long hostile texts.
  const qsizetype end = text.size();
  qsizetype start = 0;
  QString field;
  for (int pass = 0; pass < n; ++pass) {
    if (start >= end) return {};
    qsizetype stop = text.indexOf(separator, start);
    if (stop < 0) stop = end;
    field = text.mid(start, stop - start);
    start = stop + 1;
  }
  return field;
}

QString BuildNetMessage(const QString& command, const QString& payload) {
  for (int i = 0; i < 3; ++i)
    if (command == Command(i)) return Command(i) + kFieldSeparator + payload;
  return Command(3) + kFieldSeparator + payload;
}

QByteArray ToWire(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    bytes.append(EncodeCodePoint(c));
  }
  return bytes;
}

QString FromWire(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHighHalf[b - 0x80]) : QChar(b);
  }
  return text;
}

QStringList SplitReceivedText(const QString& text) {
  QStringList messages;
  QStringView rest(text);
  for (;;) {
    const qsizetype length = LeadingCompleteMessage(rest);
    if (length == 0 || length == rest.size() || !StartsCommand(rest.mid(length))) break;
    messages.append(rest.left(length).toString());
    rest = rest.mid(length);
  }
  // The second rule: complete moves and game starts that end a chat line.
  static const QString chat = QString::fromLatin1(kCommandChat) + kFieldSeparator;
  if (rest.startsWith(chat)) {
    QStringList tail;
    for (qsizetype length; rest.size() > chat.size() &&
                           (length = TrailingCompleteMessage(rest.mid(chat.size()))) > 0;) {
      tail.prepend(rest.right(length).toString());
      rest.chop(length);
    }
    messages.append(rest.toString());
    return messages + tail;
  }
  messages.append(rest.toString());
  return messages;
}

int MoveColumn(const QString& payload) {
  if (payload.size() != 1 || payload[0] < u'0' || payload[0] > u'6') return -1;
  return payload[0].unicode() - u'0';
}

QString ChatLine(const QString& payload) { return payload.left(kMaxChatLength); }

}  // namespace zerud
