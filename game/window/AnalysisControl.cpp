#include "game/window/AnalysisControl.h"

#include "game/hint/Analysis.h"
#include "game/model/Game.h"
#include "game/window/AnalysisStrip.h"

namespace zerud {

TAnalysisControl::TAnalysisControl(const TGame& game, TAnalysisStrip* strip, QObject* parent)
    : QObject(parent), game_(game), strip_(strip), analyser_(new TAnalyser(this)) {
  follow_.setSingleShot(true);
  follow_.setInterval(0);
  connect(&follow_, &QTimer::timeout, this, &TAnalysisControl::Refresh);
  connect(analyser_, &TAnalyser::Analysed, this, &TAnalysisControl::Show);
}

void TAnalysisControl::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  Refresh();
  emit Switched(on_);
}

bool TAnalysisControl::Offered() const {
  return !game_.ConnectionOpen() && game_.Mode() != TPlayMode::Network;
}

void TAnalysisControl::Follow() { follow_.start(); }

QString TAnalysisControl::Subject() const {
  if (!on_ || game_.Mode() == TPlayMode::Network) return {};
  if (game_.Phase() == TPhase::NoGame || game_.Phase() == TPhase::Starting) return {};
  const std::vector<TPlayedMove>& moves = game_.Moves();
  // Whoever began is to move on an empty grid: the machine may open.
  const int toMove = moves.empty() ? game_.CurrentPlayer() : OtherPlayer(moves.back().Player);
  return game_.Record() + QLatin1Char('/') + QString::number(toMove);
}

void TAnalysisControl::Refresh() {
  const QString subject = Subject();
  if (subject == subject_) return;
  subject_ = subject;
  analyser_->Cancel();
  grid_ = game_.Grid();
  // A finished game has no move left to value.
  if (subject.isEmpty() || WinningLine(grid_).Winner != 0 || IsBoardFull(grid_)) {
    strip_->Show({});
    return;
  }
  strip_->Show(TAnalysisStrip::FiguresOf(grid_, TAnalysis{}));
  analyser_->Analyse(grid_, subject.back().digitValue());
}

// Values of a grid the game has left since are never shown: a move may have
// been made while they were on their way.
void TAnalysisControl::Show(const TAnalysis& analysis) {
  if (Subject() != subject_) {
    Refresh();
    return;
  }
  strip_->Show(TAnalysisStrip::FiguresOf(grid_, analysis));
}

}  // namespace zerud
