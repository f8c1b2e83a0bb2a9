#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <array>

#include "game/hint/Analysis.h"
#include "rules/Board.h"

namespace zerud {

// The analysis over the column targets: each open column's value for the
// side to move ("+n" green, "0" grey, "−n" red), "…" while it is not known,
// nothing over a full column, the best columns underlined. Each figure
// stands on a dark plate at the top of its target, so that it reads over the
// next piece shown there. Clicks and the mouse go through to the targets.
class TAnalysisStrip : public QWidget {
  Q_OBJECT

 public:
  struct TFigure {
    QString Text;  // empty: nothing
    QColor Colour;
    bool Best = false;

    friend bool operator==(const TFigure&, const TFigure&) = default;
  };
  using TFigures = std::array<TFigure, kColumns>;

  // Read at a glance: bold, at least 18 pixels.
  static constexpr int kFontPixels = 20;
  static const QColor kWin;
  static const QColor kDraw;
  static const QColor kLoss;
  static const QColor kUnknown;

  // Over the targets of `board`, which are 70 pixels wide from x = 266.
  explicit TAnalysisStrip(QWidget* board);

  // The figures of `analysis` on `grid`; the best are marked only once
  // every column is known.
  static TFigures FiguresOf(const TBoard& grid, const TAnalysis& analysis);
  // "+3", "0", "−2".
  static QString ValueText(int value);

  void Show(const TFigures& figures);
  const TFigures& Figures() const { return figures_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TFigures figures_{};
};

}  // namespace zerud
