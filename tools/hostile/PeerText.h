#pragma once

#include <QByteArray>
#include <cstdint>
#include <random>

#include "Model.h"

namespace zerud::campaign {

// What the hostile peer sends, drawn from one seeded generator: complete
// messages of every command with hostile payloads, random bytes, pieces of
// real messages run together, overlong chat lines.
class TPeerText {
 public:
  explicit TPeerText(std::uint64_t seed) : random_(seed) {}

  int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

  QByteArray Bytes(int maxLength) {
    QByteArray bytes(1 + Below(maxLength), Qt::Uninitialized);
    for (char& b : bytes) b = static_cast<char>(Below(256));
    return bytes;
  }

  QByteArray Payload() {
    static const char* const markup[] = {"<h1>PERDU</h1><img src=/dev/zero>",
                                         "<b>gras</b>",
                                         "<a href=\"file:///etc\">lien</a>",
                                         "<qt><table><tr><td>x",
                                         "&amp;&lt;&#0;",
                                         "<img src=\"/dev/zero\"/>",
                                         "<style>*{}</style>"};
    static const char* const words[] = {"xxx",
                                        "salut",
                                        "\xC7"
                                        "a va ?",
                                        "3",
                                        "7",
                                        "-1",
                                        "10",
                                        "03",
                                        " 3",
                                        "3 ",
                                        "+3",
                                        "\xB3",
                                        "2147483648",
                                        "|",
                                        "a|b|",
                                        "DATA_GAME|3",
                                        "INIT|xxx",
                                        "DATA_FIN|",
                                        "\x80\x81\x8D\x9D"};
    switch (Below(6)) {
      case 0:
        return {};
      case 1:
        return markup[Below(std::size(markup))];
      case 2:
        return Bytes(40);
      case 3: {
        QByteArray text;
        for (int n = 1 + Below(4); n > 0; --n) text += words[Below(std::size(words))];
        return text;
      }
      case 4:
        return QByteArray::number(Below(20) - 5);
      default:
        return words[Below(std::size(words))];
    }
  }

  QByteArray BadColumn() {
    static const char* const columns[] = {"7",
                                          "9",
                                          "-1",
                                          "10",
                                          "03",
                                          "x",
                                          "",
                                          " 3",
                                          "+3",
                                          "\xB3",
                                          "3.0",
                                          "2147483648",
                                          "999999999999999999999"};
    if (Chance(30)) return Payload();
    return columns[Below(std::size(columns))];
  }

  QByteArray Move() { return "DATA_GAME|" + QByteArray::number(Below(kColumns)); }

  // One message of any kind; the game's state biases the choice towards
  // what keeps the games going.
  QByteArray Message(const TModel& model) {
    if (model.GameOver && Chance(40)) return "INIT|xxx";
    const int kind = Below(100);
    if (kind < 30) return Move();
    if (kind < 36) return "INIT|xxx";
    if (kind < 38) return "INIT|" + Payload();
    if (kind < 41) return "DATA_FIN|" + Payload();
    if (kind < 53) return "DATA_CHAT|" + Payload();
    if (kind < 63) return "DATA_GAME|" + BadColumn();
    if (kind < 72) return Bytes(32);
    if (kind < 90) return Garbage();
    static const char* const bare[] = {"INIT",      "DATA_GAME", "DATA_FIN",
                                       "DATA_CHAT", "init|xxx",  "data_game|3",
                                       "DATA_",     "|",         "DATA_GAME3"};
    return bare[Below(std::size(bare))];
  }

  // Pieces of real messages run together.
  QByteArray Garbage() {
    static const char* const pieces[] = {
        "INIT|xxx", "INIT", "DATA_GAME|", "DATA_GAME|", "DATA_FIN|", "DATA_CHAT|",
        "|",        "0",    "3",          "6",          "7",         "9",
        "-",        "x",    "init|xxx",   "DATA_",      "\xE9",      "\x80",
        "\xFF",     " ",    "10",         "<b>",        "</h1>"};
    QByteArray text;
    for (int count = 1 + Below(4); count > 0; --count)
      text += Chance(85) ? QByteArray(pieces[Below(std::size(pieces))]) : Bytes(12);
    return text;
  }

  // What arrives in the middle of a fall: mostly new games, ends and moves.
  QByteArray DuringFall(const TModel& model) {
    switch (Below(6)) {
      case 0:
        return "INIT|xxx";
      case 1:
        return "DATA_FIN|";
      case 2:
        return Move();
      default:
        return Message(model);
    }
  }

  // A chat line far over the 64 KiB cut, of one letter: however the
  // network splits it into reads, no piece is a command.
  QByteArray OverlongChat() {
    return "DATA_CHAT|" + QByteArray(65536 + Below(200000), static_cast<char>('a' + Below(26)));
  }

 private:
  std::mt19937_64 random_;
};

}  // namespace zerud::campaign
