#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace zerud {

// The chat memo `MemoChat`: read-only, the peer's lines in black and ours in
// blue. The peer decides how much arrives, so it keeps only the newest lines.
class TChatMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  // Lines kept; older ones are dropped.
  static constexpr int kLineLimit = 10000;
  // Characters kept (the newest MiB of text); older lines are dropped, so a
  // peer's long lines cannot fill the memory either.
  static constexpr int kTextLimit = 1 << 20;

  explicit TChatMemo(QWidget* parent = nullptr);

  // Adds one line at the end, as plain text: nothing in it is interpreted.
  void AppendLine(const QString& line, bool own);
};

}  // namespace zerud
