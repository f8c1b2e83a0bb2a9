#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "rules/Board.h"

namespace zerud {

class TAnalyser;
class TAnalysisStrip;
class TGame;
struct TAnalysis;

// The analysis in the window: switched with A or "Analyse". While it is on,
// in a local game, each open column shows its value for the side to move,
// the machine's side too, found by the analyser; every change of the grid
// (a move, an undo, a redo, a new or pasted game) drops the values shown or
// on their way and asks for the new grid's.
class TAnalysisControl : public QObject {
  Q_OBJECT

 public:
  TAnalysisControl(const TGame& game, TAnalysisStrip* strip, QObject* parent);

  bool On() const { return on_; }
  void SetOn(bool on);
  // Offered in local games only: over a network game the peer would be
  // playing against perfect play.
  bool Offered() const;
  // The game may have changed: looked at as soon as the events under way are
  // handled, so that a move's several steps count once.
  void Follow();

 signals:
  void Switched(bool on);

 private:
  // What the strip should show for: the moves and the side to move; empty
  // when it shows nothing.
  QString Subject() const;
  void Refresh();
  void Show(const TAnalysis& analysis);

  const TGame& game_;
  TAnalysisStrip* strip_;
  TAnalyser* analyser_;
  QTimer follow_;
  bool on_ = false;
  QString subject_;
  TBoard grid_;
};

}  // namespace zerud
