#include "assets/help/HelpText.h"

#include <QRegularExpression>
#include <QStringList>

namespace zerud::help {
namespace {

// The game's own blue for headings, black text on white for reading.
constexpr char kStyle[] =
    "body { font-family: 'DejaVu Sans', 'Liberation Sans', sans-serif; font-size: 10.5pt; }"
    "h1 { font-size: 24pt; color: #0042d9; margin-bottom: 2px; }"
    "h2 { font-size: 15pt; color: #0042d9; margin-top: 20px; margin-bottom: 8px; }"
    "h3 { font-size: 12pt; color: #000080; margin-top: 12px; margin-bottom: 5px; }"
    "p { margin-top: 0px; margin-bottom: 8px; }"
    "p.subtitle { font-size: 13pt; color: #8080c0; margin-bottom: 18px; }"
    "pre { font-family: 'DejaVu Sans Mono', 'Liberation Mono', monospace; font-size: 10pt;"
    " background-color: #d0dfff; margin-top: 2px; margin-bottom: 10px; }"
    "li { margin-bottom: 4px; }";

// French punctuation keeps its space but never starts a line: the spaces
// inside guillemets and before ":", ";", "!" and "?" become non-breaking.
QString French(const QString& text) {
  static const QRegularExpression beforeMark(QStringLiteral(" ([:;!?»])"));
  static const QRegularExpression afterGuillemet(QStringLiteral("« "));
  QString result = text;
  result.replace(beforeMark, QStringLiteral("\u00a0\\1"));
  result.replace(afterGuillemet, QStringLiteral("«\u00a0"));
  return result;
}

// Text of a line as HTML: escaped, with French spacing.
QString Inline(const QString& text) { return French(text.trimmed()).toHtmlEscaped(); }

enum class TBlock { None, Paragraph, Bullets, Numbers, Example };

class THtmlWriter {
 public:
  void Line(const QString& line) {
    static const QRegularExpression numbered(QStringLiteral("^\\d+\\. "));
    if (line.trimmed().isEmpty()) {
      Close();
    } else if (line.startsWith(QLatin1String("    "))) {
      Open(TBlock::Example);
      example_ << line.mid(4).toHtmlEscaped();
    } else if (line.startsWith(QLatin1String("### "))) {
      Heading(3, line.mid(4));
    } else if (line.startsWith(QLatin1String("## "))) {
      Heading(2, line.mid(3));
    } else if (line.startsWith(QLatin1String("# "))) {
      Close();
      html_ += QStringLiteral("<h1>%1</h1>\n").arg(Inline(line.mid(2)));
      afterTitle_ = true;
      return;
    } else if (line.startsWith(QLatin1String("- "))) {
      Open(TBlock::Bullets);
      html_ += QStringLiteral("<li>%1</li>\n").arg(Inline(line.mid(2)));
    } else if (const auto match = numbered.match(line); match.hasMatch()) {
      Open(TBlock::Numbers);
      html_ += QStringLiteral("<li>%1</li>\n").arg(Inline(line.mid(match.capturedLength())));
    } else {
      if (block_ != TBlock::Paragraph) {
        Open(TBlock::Paragraph);
        paragraphIsSubtitle_ = afterTitle_;
      }
      paragraph_ << Inline(line);
    }
    afterTitle_ = false;
  }

  QString Finish() {
    Close();
    return QStringLiteral("<html><head><style>%1</style></head><body>\n%2</body></html>\n")
        .arg(QLatin1String(kStyle), html_);
  }

 private:
  void Heading(int level, const QString& text) {
    Close();
    html_ += QStringLiteral("<h%1>%2</h%1>\n").arg(level).arg(Inline(text));
  }

  void Open(TBlock block) {
    if (block_ == block) return;
    Close();
    block_ = block;
    if (block == TBlock::Bullets) html_ += QStringLiteral("<ul>\n");
    if (block == TBlock::Numbers) html_ += QStringLiteral("<ol>\n");
  }

  void Close() {
    switch (block_) {
      case TBlock::Paragraph:
        html_ +=
            paragraphIsSubtitle_ ? QStringLiteral("<p class=\"subtitle\">") : QStringLiteral("<p>");
        html_ += paragraph_.join(QLatin1Char(' ')) + QStringLiteral("</p>\n");
        paragraph_.clear();
        break;
      case TBlock::Bullets:
        html_ += QStringLiteral("</ul>\n");
        break;
      case TBlock::Numbers:
        html_ += QStringLiteral("</ol>\n");
        break;
      case TBlock::Example:
        html_ +=
            QStringLiteral("<pre>") + example_.join(QLatin1Char('\n')) + QStringLiteral("</pre>\n");
        example_.clear();
        break;
      case TBlock::None:
        break;
    }
    block_ = TBlock::None;
  }

  QString html_;
  TBlock block_ = TBlock::None;
  QStringList paragraph_;
  QStringList example_;
  bool afterTitle_ = false;
  bool paragraphIsSubtitle_ = false;
};

}  // namespace

QString HelpTextToHtml(const QString& text) {
  THtmlWriter writer;
  QString normalized = text;
  normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  for (const QString& line : normalized.split(QLatin1Char('\n'))) writer.Line(line);
  return writer.Finish();
}

}  // namespace zerud::help
