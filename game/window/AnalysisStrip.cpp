#include "game/window/AnalysisStrip.h"

#include <QPainter>
#include <algorithm>

#include "game/board/BoardView.h"
#include "platform/Fonts.h"

namespace zerud {

namespace {

constexpr int kPlateWidth = 58;
constexpr int kPlateHeight = 28;
constexpr int kPlateTop = 3;
const QColor kPlate(0, 0, 40, 200);

}  // namespace

const QColor TAnalysisStrip::kWin(60, 220, 90);
const QColor TAnalysisStrip::kDraw(200, 200, 200);
const QColor TAnalysisStrip::kLoss(255, 80, 80);
const QColor TAnalysisStrip::kUnknown(230, 230, 255);

TAnalysisStrip::TAnalysisStrip(QWidget* board) : QWidget(board) {
  setObjectName(QStringLiteral("AnalyseColonnes"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_TranslucentBackground);
  const QPoint corner = TBoardView::TargetPosition(0);
  setGeometry(corner.x(), corner.y(), TBoardView::kCellSize * kColumns, TBoardView::kCellSize);
}

QString TAnalysisStrip::ValueText(int value) {
  if (value > 0) return QStringLiteral("+%1").arg(value);
  if (value < 0) return QStringLiteral("\u2212%1").arg(-value);
  return QStringLiteral("0");
}

TAnalysisStrip::TFigures TAnalysisStrip::FiguresOf(const TBoard& grid, const TAnalysis& analysis) {
  TFigures figures{};
  int best = -kCells * 4;
  for (const std::optional<int>& value : analysis.Values)
    if (value) best = std::max(best, ValueRank(*value));
  for (int column = 0; column < kColumns; ++column) {
    if (LandingRow(grid, column) == -1) continue;
    const std::optional<int> value = analysis.Values[column];
    if (!value) {
      figures[column] = {QStringLiteral("\u2026"), kUnknown, false};
      continue;
    }
    const QColor colour = *value > 0 ? kWin : *value < 0 ? kLoss : kDraw;
    figures[column] = {ValueText(*value), colour, analysis.Complete && ValueRank(*value) == best};
  }
  return figures;
}

void TAnalysisStrip::Show(const TFigures& figures) {
  if (figures == figures_) return;
  figures_ = figures;
  update();
}

void TAnalysisStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = PixelFont(QStringLiteral("Arial"), kFontPixels, true);
  for (int column = 0; column < kColumns; ++column) {
    const TFigure& figure = figures_[column];
    if (figure.Text.isEmpty()) continue;
    const QRect plate(TBoardView::kCellSize * column + (TBoardView::kCellSize - kPlateWidth) / 2,
                      kPlateTop, kPlateWidth, kPlateHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPlate);
    painter.drawRoundedRect(plate, 8, 8);
    font.setUnderline(figure.Best);
    painter.setFont(font);
    painter.setPen(figure.Colour);
    painter.drawText(plate, Qt::AlignCenter, figure.Text);
  }
}

}  // namespace zerud
