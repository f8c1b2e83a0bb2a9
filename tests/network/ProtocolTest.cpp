#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <random>

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
    if (at < 0) {
      result.clear();
      text.clear();
      continue;
    }
    result = text.left(at);
    text.remove(0, at + 1);
  }
  return result;
}

TEST(GetField, SplitsAtTheSeparatorAndMissingFieldsAreEmpty) {
  const QChar bar = u'|';
  EXPECT_EQ(GetField(bar, "DATA_GAME|3", 1), "DATA_GAME");
  EXPECT_EQ(GetField(bar, "DATA_GAME|3", 2), "3");
  EXPECT_EQ(GetField(bar, "DATA_GAME|3", 3), "");
  EXPECT_EQ(GetField(bar, "DATA_CHAT|bonjour|toi", 2), "bonjour");
  EXPECT_EQ(GetField(bar, "DATA_CHAT", 1), "DATA_CHAT");
  EXPECT_EQ(GetField(bar, "DATA_CHAT", 2), "");
  EXPECT_EQ(GetField(bar, "DATA_CHAT|", 2), "");
  EXPECT_EQ(GetField(bar, "", 1), "");
  EXPECT_EQ(GetField(bar, "|", 1), "");
  EXPECT_EQ(GetField(bar, "a||b", 2), "");
  EXPECT_EQ(GetField(bar, "a||b", 3), "b");
  EXPECT_EQ(GetField(bar, "abc", 0), "");
}

TEST(GetField, TrailingSeparatorSplitsAsWithoutIt) {
  for (const char* text : {"DATA_CHAT|salut", "a|b|c", "x", ""}) {
    for (int n = 1; n <= 5; ++n)
      EXPECT_EQ(GetField(u'|', QString(text) + "|", n), GetField(u'|', text, n)) << text << n;
  }
}

TEST(GetField, AgreesWithTheStepByStepRuleOnRandomTexts) {
  std::mt19937 random(7);
  const QString alphabet = "ab|";
  for (int round = 0; round < 5000; ++round) {
    QString text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += alphabet[static_cast<int>(random() % 3)];
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

TEST(Wire, FrenchTextsTravelAsSingleWindows1252Bytes) {
  EXPECT_EQ(ToWire(U("DATA_CHAT|été €")), QByteArray("DATA_CHAT|\xE9t\xE9 \x80"));
  EXPECT_EQ(FromWire(QByteArray("\xC7"
                                "a va ? \x9C"
                                "uvre \x85")),
            U("Ça va ? œuvre …"));
  EXPECT_EQ(ToWire(U("ř")), QByteArray("?"));
  EXPECT_EQ(ToWire(U("a😀b")), QByteArray("a?b"));
  EXPECT_EQ(FromWire(QByteArray("a\0b", 3)).size(), 3);
}

TEST(Wire, EveryByteSurvivesARoundTripAndMatchesQtsCodePage) {
  QStringDecoder decoder("windows-1252");
  QStringEncoder encoder("windows-1252");
  for (int b = 0; b < 256; ++b) {
    const QByteArray byte(1, static_cast<char>(b));
    const QString text = FromWire(byte);
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(ToWire(text), byte) << b;
    if (decoder.isValid()) {
      const QString qt = decoder(byte);
      EXPECT_EQ(text, qt) << b;
    }
    if (encoder.isValid()) {
      const QByteArray qt = encoder(text);
      EXPECT_EQ(ToWire(text), qt) << b;
    }
  }
}

TEST(SplitReceivedText, OneReadIsOneMessageUnlessACompleteMoveOrStartLeads) {
  using List = QStringList;
  EXPECT_EQ(SplitReceivedText("DATA_GAME|3"), List{"DATA_GAME|3"});
  EXPECT_EQ(SplitReceivedText("DATA_GAME|3DATA_CHAT|salut"),
            (List{"DATA_GAME|3", "DATA_CHAT|salut"}));
  EXPECT_EQ(SplitReceivedText("INIT|xxxDATA_GAME|4"), (List{"INIT|xxx", "DATA_GAME|4"}));
  EXPECT_EQ(SplitReceivedText("DATA_GAME|3INIT|xxxDATA_GAME|5"),
            (List{"DATA_GAME|3", "INIT|xxx", "DATA_GAME|5"}));
  EXPECT_EQ(SplitReceivedText("DATA_GAME|3DATA_FIN|"), (List{"DATA_GAME|3", "DATA_FIN|"}));
  // A second command cut short by the read is kept apart from the move.
  EXPECT_EQ(SplitReceivedText("DATA_GAME|2DATA_CH"), (List{"DATA_GAME|2", "DATA_CH"}));
  // Nothing to split: the rest is no command.
  EXPECT_EQ(SplitReceivedText("DATA_GAME|34"), List{"DATA_GAME|34"});
  EXPECT_EQ(SplitReceivedText("INIT|xxxx"), List{"INIT|xxxx"});
  EXPECT_EQ(SplitReceivedText("DATA_CHAT|aDATA_GAME|3"), List{"DATA_CHAT|aDATA_GAME|3"});
  EXPECT_EQ(SplitReceivedText("DATA_GAME|xINIT|xxx"), List{"DATA_GAME|xINIT|xxx"});
  EXPECT_EQ(SplitReceivedText("INIT|xxxinit|xxx"), List{"INIT|xxxinit|xxx"});
  EXPECT_EQ(SplitReceivedText(""), List{""});
}

TEST(MoveColumn, OnlyOneDigitFromZeroToSix) {
  for (int c = 0; c <= 6; ++c) EXPECT_EQ(MoveColumn(QString::number(c)), c);
  for (const char* bad : {"7", "9", "-1", "03", " 3", "3 ", "", "x", "10", "+3", "\xd9\xa3"})
    EXPECT_EQ(MoveColumn(U(bad)), -1) << bad;
}

TEST(ChatLine, LongLinesAreCutAt64KiB) {
  EXPECT_EQ(ChatLine(U("café")), U("café"));
  const QString huge(200000, u'a');
  EXPECT_EQ(ChatLine(huge).size(), 65536);
  EXPECT_EQ(ChatLine(QString(65536, u'b')).size(), 65536);
}

}  // namespace
}  // namespace zerud
