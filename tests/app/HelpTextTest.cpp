#include <gtest/gtest.h>

#include "tools/helpgen/HelpText.h"

namespace zerud::help {
namespace {

std::string Html(const char* text) { return HelpTextToHtml(QString::fromUtf8(text)).toStdString(); }

// The body of the document, without the style sheet.
std::string Body(const char* text) {
  const std::string html = Html(text);
  const auto start = html.find("<body>\n") + 7;
  return html.substr(start, html.find("</body>") - start);
}

TEST(HelpTextToHtml, TitleSubtitleAndHeadings) {
  EXPECT_EQ(Body("# Zerud uravizera4\nAide du jeu\n\n## Le but\n### Détail\nTexte\n"),
            "<h1>Zerud uravizera4</h1>\n<p class=\"subtitle\">Aide du jeu</p>\n"
            "<h2>Le but</h2>\n<h3>Détail</h3>\n<p>Texte</p>\n");
}

TEST(HelpTextToHtml, LinesOfAParagraphJoinAndBlankLinesSplit) {
  EXPECT_EQ(Body("Une ligne\net la suite\n\nAutre paragraphe\r\n"),
            "<p>Une ligne et la suite</p>\n<p>Autre paragraphe</p>\n");
}

TEST(HelpTextToHtml, BulletedAndNumberedLists) {
  EXPECT_EQ(Body("- un\n- deux\n\n1. premier\n2. second\n10. dixième\nfin\n"),
            "<ul>\n<li>un</li>\n<li>deux</li>\n</ul>\n"
            "<ol>\n<li>premier</li>\n<li>second</li>\n<li>dixième</li>\n</ol>\n<p>fin</p>\n");
  // A list right after a paragraph, and a paragraph right after a list.
  EXPECT_EQ(Body("Avant\n- point\nAprès\n"),
            "<p>Avant</p>\n<ul>\n<li>point</li>\n</ul>\n<p>Après</p>\n");
}

// Examples of scores.txt keep their characters and spacing, and text that
// looks like markup is shown as it is.
TEST(HelpTextToHtml, ExamplesAreKeptVerbatimAndEscaped) {
  EXPECT_EQ(Body("    2222|10000\n    0 2|<-5 & co>\n"),
            "<pre>2222|10000\n0 2|&lt;-5 &amp; co&gt;</pre>\n");
  EXPECT_EQ(Body("a < b & c\n"), "<p>a &lt; b &amp; c</p>\n");
}

// French punctuation never starts a line: its spaces become non-breaking.
TEST(HelpTextToHtml, FrenchSpacing) {
  EXPECT_EQ(
      Body("Cliquez sur « Fermer » : voilà ; ça va ? Oui !\n"),
      "<p>Cliquez sur «\u00a0Fermer\u00a0»\u00a0: voilà\u00a0; ça va\u00a0? Oui\u00a0!</p>\n");
  // Not inside examples, where the spaces are the file's own.
  EXPECT_EQ(Body("    a : b\n"), "<pre>a : b</pre>\n");
}

TEST(HelpTextToHtml, EmptyTextGivesAnEmptyBody) {
  EXPECT_EQ(Body(""), "");
  EXPECT_EQ(Body("\n\n\n"), "");
}

}  // namespace
}  // namespace zerud::help
