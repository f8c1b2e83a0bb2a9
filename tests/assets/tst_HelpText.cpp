#include <gtest/gtest.h>

#include "assets/help/HelpText.h"

namespace zerud::help {
namespace {

// The body of the document, without the style sheet.
std::string Body(const char* text) {
  const std::string html = HelpTextToHtml(QString::fromUtf8(text)).toStdString();
  const auto start = html.find("<body>\n") + 7;
  return html.substr(start, html.find("</body>") - start);
}

struct TCase {
  const char* what;
  const char* text;
  const char* body;
};

// Headings and the subtitle; paragraph lines join and blank lines split;
// lists, also right after or before a paragraph; indented examples of
// scores.txt kept verbatim and escaped like all text; French punctuation
// held to its word by non-breaking spaces, but not inside examples.
const TCase kCases[] = {
    {"headings", "# Zerud uravizera4\nAide du jeu\n\n## Le but\n### Détail\nTexte\n",
     "<h1>Zerud uravizera4</h1>\n<p class=\"subtitle\">Aide du jeu</p>\n"
     "<h2>Le but</h2>\n<h3>Détail</h3>\n<p>Texte</p>\n"},
    {"paragraphs", "Une ligne\net la suite\n\nAutre paragraphe\r\n",
     "<p>Une ligne et la suite</p>\n<p>Autre paragraphe</p>\n"},
    {"lists", "- un\n- deux\n\n1. premier\n2. second\n10. dixième\nfin\n",
     "<ul>\n<li>un</li>\n<li>deux</li>\n</ul>\n"
     "<ol>\n<li>premier</li>\n<li>second</li>\n<li>dixième</li>\n</ol>\n<p>fin</p>\n"},
    {"list between paragraphs", "Avant\n- point\nAprès\n",
     "<p>Avant</p>\n<ul>\n<li>point</li>\n</ul>\n<p>Après</p>\n"},
    {"examples", "    2222|10000\n    0 2|<-5 & co>\n",
     "<pre>2222|10000\n0 2|&lt;-5 &amp; co&gt;</pre>\n"},
    {"escaped text", "a < b & c\n", "<p>a &lt; b &amp; c</p>\n"},
    {"French spacing", "Cliquez sur « Fermer » : voilà ; ça va ? Oui !\n",
     "<p>Cliquez sur «\u00a0Fermer\u00a0»\u00a0: voilà\u00a0; ça va\u00a0? Oui\u00a0!</p>\n"},
    {"no French spacing in examples", "    a : b\n", "<pre>a : b</pre>\n"},
    {"empty", "", ""},
    {"blank lines only", "\n\n\n", ""},
};

TEST(HelpTextToHtml, Cases) {
  for (const TCase& c : kCases) EXPECT_EQ(Body(c.text), c.body) << c.what;
}

}  // namespace
}  // namespace zerud::help
