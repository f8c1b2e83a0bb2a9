#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <random>

#include "network/ChatText.h"
#include "network/Protocol.h"

namespace zerud {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The field rule written out step by step: append a separator unless the
// text ends with one, then cut n fields off the front.
QString StepByStepField(QChar separator, QString text, int n) {
  if (text.isEmpty() || text.back() != separator) text += separator;
  QString result;
  for (int pass = 0; pass < n; ++pass) {
    const qsizetype at = text.indexOf(separator);
    result = at < 0 ? QString() : text.left(at);
    text = at < 0 ? QString() : text.mid(at + 1);
  }
  return result;
}

TEST(GetField, KnownCasesAndAgreementWithTheStepByStepRule) {
  EXPECT_EQ(GetField(u'|', "DATA_GAME|3", 1), "DATA_GAME");
  EXPECT_EQ(GetField(u'|', "DATA_CHAT|bonjour|toi", 2), "bonjour");
  EXPECT_EQ(GetField(u'|', "DATA_CHAT", 2), "");
  EXPECT_EQ(GetField(u'|', "a||b", 3), "b");
  EXPECT_EQ(GetField(u'|', "abc", 0), "");

  // Random texts over "ab|", trailing separators included.
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    QString text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) text += QString("ab|")[random() % 3];
    for (int n = 0; n <= 7; ++n)
      ASSERT_EQ(GetField(u'|', text, n), StepByStepField(u'|', text, n)) << text.toStdString() << n;
  }
}

TEST(BuildNetMessage, KnownCommandsKeepTheirNameAndEverythingElseIsChat) {
  EXPECT_EQ(BuildNetMessage("INIT", "xxx"), "INIT|xxx");
  EXPECT_EQ(BuildNetMessage("DATA_GAME", "3"), "DATA_GAME|3");
  EXPECT_EQ(BuildNetMessage("DATA_FIN", ""), "DATA_FIN|");
  EXPECT_EQ(BuildNetMessage("DATA_CHAT", "a|b"), "DATA_CHAT|a|b");
  EXPECT_EQ(BuildNetMessage("init", "xxx"), "DATA_CHAT|xxx");
  EXPECT_EQ(BuildNetMessage("", U("é")), U("DATA_CHAT|é"));
}

// Texts travel as single Windows-1252 bytes; every byte survives a round trip
// and agrees with Qt's own code page where Qt has one.
TEST(Wire, FrenchTextsTravelAsSingleWindows1252Bytes) {
  EXPECT_EQ(ToWire(U("DATA_CHAT|été €")), QByteArray("DATA_CHAT|\xE9t\xE9 \x80"));
  EXPECT_EQ(FromWire("\xC7"
                     "a va ? \x9C"
                     "uvre \x85"),
            U("Ça va ? œuvre …"));
  EXPECT_EQ(ToWire(U("ř")), QByteArray("?"));
  EXPECT_EQ(ToWire(U("a😀b")), QByteArray("a?b"));
  EXPECT_EQ(FromWire(QByteArray("a\0b", 3)).size(), 3);

  QStringDecoder decoder("windows-1252");
  QStringEncoder encoder("windows-1252");
  for (int b = 0; b < 256; ++b) {
    const QByteArray byte(1, static_cast<char>(b));
    const QString text = FromWire(byte);
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(ToWire(text), byte) << b;
    if (decoder.isValid()) {
      EXPECT_EQ(text, QString(decoder(byte))) << b;
    }
    if (encoder.isValid()) {
      EXPECT_EQ(ToWire(text), QByteArray(encoder(text))) << b;
    }
  }
}

TEST(SplitReceivedText, OneReadIsOneMessageUnlessACompleteMoveOrStartLeadsOrEndsAChatLine) {
  const struct {
    const char* read;
    QStringList messages;
  } cases[] = {
      {"DATA_GAME|3", {"DATA_GAME|3"}},
      {"DATA_GAME|3DATA_CHAT|salut", {"DATA_GAME|3", "DATA_CHAT|salut"}},
      {"DATA_GAME|3INIT|xxxDATA_GAME|5", {"DATA_GAME|3", "INIT|xxx", "DATA_GAME|5"}},
      {"DATA_GAME|3DATA_FIN|", {"DATA_GAME|3", "DATA_FIN|"}},
      // A second command cut short by the read is kept apart from the move.
      {"DATA_GAME|2DATA_CH", {"DATA_GAME|2", "DATA_CH"}},
      // Nothing to split: the rest is no command, or no complete move leads.
      {"DATA_GAME|34", {"DATA_GAME|34"}},
      {"INIT|xxxx", {"INIT|xxxx"}},
      {"DATA_GAME|xINIT|xxx", {"DATA_GAME|xINIT|xxx"}},
      {"INIT|xxxinit|xxx", {"INIT|xxxinit|xxx"}},
      {"", {""}},
      // A chat line that ends with complete moves or game starts: the line,
      // then each of them, in arrival order.
      {"DATA_CHAT|salutDATA_GAME|3", {"DATA_CHAT|salut", "DATA_GAME|3"}},
      {"DATA_CHAT|salutINIT|xxx", {"DATA_CHAT|salut", "INIT|xxx"}},
      {"DATA_CHAT|aINIT|xxxDATA_GAME|0DATA_GAME|6",
       {"DATA_CHAT|a", "INIT|xxx", "DATA_GAME|0", "DATA_GAME|6"}},
      {"DATA_GAME|1DATA_CHAT|aDATA_GAME|2", {"DATA_GAME|1", "DATA_CHAT|a", "DATA_GAME|2"}},
      {"DATA_CHAT|DATA_GAME|3", {"DATA_CHAT|", "DATA_GAME|3"}},
      // The words elsewhere in the line, or an incomplete end: one chat line.
      {"DATA_CHAT|jouez DATA_GAME|3 ici", {"DATA_CHAT|jouez DATA_GAME|3 ici"}},
      {"DATA_CHAT|aDATA_GAME|3DATA_CHAT|b", {"DATA_CHAT|aDATA_GAME|3DATA_CHAT|b"}},
      {"DATA_CHAT|aDATA_GAME|34", {"DATA_CHAT|aDATA_GAME|34"}},
      {"DATA_CHAT|aDATA_GAME|", {"DATA_CHAT|aDATA_GAME|"}},
      {"DATA_CHAT|aINIT|xx", {"DATA_CHAT|aINIT|xx"}},
      {"DATA_CHAT|aDATA_GAME|\xd9\xa3", {"DATA_CHAT|aDATA_GAME|\xd9\xa3"}},
      {"DATA_CHAT|aDATA_FIN|", {"DATA_CHAT|aDATA_FIN|"}},
      {"DATA_CHATDATA_GAME|3", {"DATA_CHATDATA_GAME|3"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitReceivedText(c.read), c.messages) << c.read;
}

TEST(MoveColumn, OnlyOneDigitFromZeroToSix) {
  for (int c = 0; c <= 6; ++c) EXPECT_EQ(MoveColumn(QString::number(c)), c);
  for (const char* bad : {"7", "9", "-1", "03", " 3", "3 ", "", "x", "10", "+3", "\xd9\xa3"})
    EXPECT_EQ(MoveColumn(U(bad)), -1) << bad;
}

TEST(ChatLine, LongLinesAreCutAt64KiB) {
  EXPECT_EQ(ChatLine(U("café")), U("café"));
  EXPECT_EQ(ChatLine(QString(200000, u'a')).size(), 65536);
  EXPECT_EQ(ChatLine(QString(65536, u'b')).size(), 65536);
}

// Our chat lines never hold a command word followed by "|": the receiver
// splits nothing off them, and our own copy shows what the peer's shows.
TEST(ChatText, CommandWordsLoseTheirSeparatorAndTheOwnCopyIsThePeers) {
  const struct {
    const char* typed;
    const char* sent;
    const char* shown;
  } cases[] = {
      {"regarde DATA_GAME|0", "regarde DATA_GAME\u00A60", "regarde DATA_GAME\u00A60"},
      {"INIT|xxx", "INIT\u00A6xxx", "INIT\u00A6xxx"},
      {"fin DATA_FIN|", "fin DATA_FIN\u00A6", "fin DATA_FIN\u00A6"},
      {"DATA_CHAT|DATA_GAME|3", "DATA_CHAT\u00A6DATA_GAME\u00A63",
       "DATA_CHAT\u00A6DATA_GAME\u00A63"},
      {"xINIT|", "xINIT\u00A6", "xINIT\u00A6"},
      // Any other "|" stays, and the peer shows the line up to it.
      {"a|b", "a|b", "a"},
      {"init|xxx DATA_GAME |3", "init|xxx DATA_GAME |3", "init"},
      {"DATA_GAME|1|2", "DATA_GAME\u00A61|2", "DATA_GAME\u00A61"},
      {"", "", ""},
      // Windows-1252 has no Greek, Cyrillic, Chinese or emoji: the peer
      // reads question marks, and so does our copy.
      {"\u03B1\u03B2\u03B3 \u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D\u6587 \U0001F600",
       "\u03B1\u03B2\u03B3 \u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D\u6587 \U0001F600",
       "??? ?????? ?? ?"},
      {"\u00C7a va, 5 \u20AC \u0153uvre", "\u00C7a va, 5 \u20AC \u0153uvre",
       "\u00C7a va, 5 \u20AC \u0153uvre"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeChatText(U(c.typed)), U(c.sent)) << c.typed;
    EXPECT_EQ(ChatLineAsReceived(U(c.typed)), U(c.shown)) << c.typed;
    // What we send is one chat line to any receiver of ours.
    const QString message = BuildNetMessage("DATA_CHAT", EscapeChatText(U(c.typed)));
    EXPECT_EQ(SplitReceivedText(FromWire(ToWire(message))), QStringList{FromWire(ToWire(message))})
        << c.typed;
  }
  EXPECT_EQ(ChatLineAsReceived(QString(70000, u'a')).size(), kMaxChatLength);
}

}  // namespace
}  // namespace zerud
