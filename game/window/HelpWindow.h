#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace zerud {

// The help in a window of the game, for a desktop without a PDF viewer: the
// text of Aide.pdf, read from its source Aide.txt in the program folder and
// turned into HTML by the same conversion as the document. The conversion
// escapes every character of the file, so nothing in it is read as markup;
// the window follows no link and loads nothing. It can be resized and
// maximised, and Escape closes it.
class THelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Reads the source file and shows its text at the top, the window in front
  // (centred on the screen the first time). A window already shown is only
  // brought forward and keeps its place in the text. Throws TFileOpenError
  // when the file cannot be read and TGameError when it holds no text; the
  // window is then left as it was.
  void Open(const QString& sourceFile);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
  bool placed_ = false;
};

}  // namespace zerud
