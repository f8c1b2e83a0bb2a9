// What happens in the game, said in a sentence for a screen reader: the
// window's view tells the announcer each step as it shows it, and the
// announcer says it once the step's handler is done. A screen reader hears
// of a new announcement first and reads it afterwards: each one stands for
// at least kHoldMs, and what comes meanwhile is said together after it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "game/model/LogSpeaker.h"

namespace zerud {

class TAnnouncer : public QObject {
  Q_OBJECT

 public:
  static constexpr int kHoldMs = 250;

  explicit TAnnouncer(QObject* parent = nullptr);

  // A line of the message log: the start, who begins, the machine
  // thinking, a hint, a game cut short, a lost connection.
  void LogLine(const QString& line, TSpeaker speaker);
  // A piece of player 1 (red) or 2 (yellow) goes into column 0..6.
  void Move(int player, int column);
  // A piece of column 0..6 is taken back.
  void Undone(int column);
  // The result over the board at the end of a game.
  void Result(const QString& text);
  // A line of the peer's chat.
  void PeerChat(const QString& line);

  // The last announcement.
  QString Text() const { return text_; }

  // Columns as the player counts them, 1 to 7.
  static QString ColumnName(int column);

 signals:
  void Announced(const QString& text);

 private:
  void Say(const QString& sentence);
  void Flush();

  QStringList pending_;
  QTimer flush_;
  QElapsedTimer said_;
  QString text_;
};

}  // namespace zerud
