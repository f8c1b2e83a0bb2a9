#pragma once

#include <QString>

// The help document's source is a small plain-text format, easy to edit in
// French without touching any markup:
//   "# title"        the document's title (first line)
//   "## heading"     a section
//   "### heading"    a subsection
//   "- item"         a bulleted list item
//   "1. item"        a numbered list item (any number followed by ". ")
//   "    text"       a line of fixed-width text (examples of scores.txt)
//   blank line       ends a paragraph, a list or an example
// Any other line is paragraph text; consecutive lines join into one paragraph.
namespace zerud::help {

// The same content as HTML for QTextDocument, with the document's styles.
QString HelpTextToHtml(const QString& text);

}  // namespace zerud::help
