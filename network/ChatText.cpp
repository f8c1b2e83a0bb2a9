#include "network/ChatText.h"

#include <array>

#include "network/Protocol.h"

namespace zerud {

QString EscapeChatText(const QString& text) {
  static const std::array<QString, 4> words = {
      QString::fromLatin1(kCommandInit), QString::fromLatin1(kCommandMove),
      QString::fromLatin1(kCommandEnd), QString::fromLatin1(kCommandChat)};
  QString escaped = text;
  for (qsizetype at = escaped.indexOf(kFieldSeparator); at >= 0;
       at = escaped.indexOf(kFieldSeparator, at + 1)) {
    const QStringView before = QStringView(escaped).left(at);
    for (const QString& word : words)
      if (before.endsWith(word)) {
        escaped[at] = kEscapedSeparator;
        break;
      }
  }
  return escaped;
}

QString ChatLineAsReceived(const QString& text) {
  const QString message =
      FromWire(ToWire(BuildNetMessage(QString::fromLatin1(kCommandChat), EscapeChatText(text))));
  return ChatLine(GetField(kFieldSeparator, message, 2));
}

}  // namespace zerud
