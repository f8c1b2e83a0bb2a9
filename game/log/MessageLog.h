// The message log `MemoMessages`: one line per step of a game, each row drawn
// with the colour and icon of the line's speaker.
#pragma once

#include <QFont>
#include <QImage>
#include <QListWidget>
#include <QString>
#include <array>
#include <functional>

#include "game/model/LogSpeaker.h"

class QPainter;

namespace zerud {

// How the game is played, read when a row is drawn.
enum class TLogMode {
  Machine,    // one human against the machine, not a network game
  TwoHumans,  // two humans at one screen
  Network,    // a game against a peer over the network
};

// Icons of `ImageList1`, 20 x 20, indexed like it: 0 gear (the hints),
// 1 person in blue, 2 computer screen, 3 person in pink.
using TLogIcons = std::array<QImage, 4>;

class TMessageLog : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 18;

  explicit TMessageLog(QWidget* parent = nullptr);

  // Where the mode comes from; without one, the mode against the machine.
  void SetModeSource(std::function<TLogMode()> mode);
  void SetIcons(const TLogIcons& icons);

  // Adds a line at the end; the selection and scroll position stay.
  void AppendLine(const QString& text, TSpeaker speaker = TSpeaker::None);
  // Makes the last line the top visible row, as far as the list can scroll.
  void ScrollToLastLine();
  // Removes every line.
  void ClearLines();

  int LineCount() const { return count(); }
  QString Line(int index) const;
  TSpeaker Speaker(int index) const;

  // Draws line `index` into the row whose rectangle is `row`.
  void MemoMessagesDrawItem(QPainter& painter, const QRect& row, int index) const;

  // Tahoma 7 points, bold for a plain row, regular for a speaker's text.
  static QFont RowFont(bool bold);

  // The part of a line that is shown: a speaker's text after the first colon
  // (its prefix gives way to the icon), a plain line whole.
  static QString ShownText(const QString& line, TSpeaker speaker);

 private:
  std::function<TLogMode()> mode_;
  TLogIcons icons_;
};

}  // namespace zerud
