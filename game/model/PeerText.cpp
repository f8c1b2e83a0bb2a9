#include "game/model/PeerText.h"

namespace zerud {
namespace {

// Characters that would break the line, hide, or turn the text around.
bool Invisible(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}  // namespace

QString ShownPeerText(const QString& text) {
  QString shown;
  qsizetype count = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (count == kShownPeerTextLength) {
      shown += u'…';
      break;
    }
    const char16_t c = text[i].unicode();
    if (c < 0x20)
      shown += QChar(0x2400 + c);  // the control pictures: ␀ .. ␟
    else if (c == 0x7F)
      shown += QChar(0x2421);  // ␡
    else if (Invisible(c))
      shown += QStringLiteral("<U+%1>").arg(static_cast<int>(c), 4, 16, QLatin1Char('0')).toUpper();
    else if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      shown += text.mid(i++, 2);  // one character, never cut in two
    else
      shown += text[i];
    ++count;
  }
  return shown;
}

}  // namespace zerud
