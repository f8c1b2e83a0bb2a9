// The score of the games played against the same opponent, and the result
// shown over the board and heard.
#include "game/model/Game.h"
#include "game/model/GameTexts.h"

namespace zerud {

using namespace texts;

// Counted and written right after the end lines: "Score : 2 - 1", with the
// draws when there were any. Red's wins first at one screen, this player's
// over the network.
void TGame::CountResult(int winner) {
  countedWinner_ = winner;
  ++Tally(winner);
  QString line = kScore.arg(score_.First).arg(score_.Second);
  if (score_.Draws > 0) line += kScoreDraws.arg(score_.Draws);
  Log(line);
  view_.ScrollLogToLast();
  ShowScore();
}

// Over the network whoever starts plays red, so a colour's wins would mix
// both players' games: there the score counts this player and the peer.
int& TGame::Tally(int winner) {
  if (winner == 0) return score_.Draws;
  const bool first = mode_ == TPlayMode::Network ? winner == localColour_ : winner == 1;
  return first ? score_.First : score_.Second;
}

void TGame::ResetScore() {
  score_ = TScore();
  ShowScore();
}

void TGame::ShowScore() { view_.ShowScore(kScoreShown.arg(score_.First).arg(score_.Second)); }

// Against the machine or the peer, from this player's side; between two
// humans, by colour.
QString TGame::ResultText(int winner, TMover side) const {
  if (winner == 0) return kResultDraw;
  if (mode_ == TPlayMode::TwoHumans) return winner == 1 ? kResultRedWins : kResultYellowWins;
  return side == TMover::Local ? kResultWon : kResultLost;
}

// The same sides as the result's text; a win between two humans is a win.
TSound TGame::ResultSound(int winner, TMover side) const {
  if (winner == 0) return TSound::Draw;
  if (mode_ == TPlayMode::TwoHumans || side == TMover::Local) return TSound::Won;
  return TSound::Lost;
}

void TGame::Sound(TSound sound) {
  if (sounds_ != nullptr) sounds_->Play(sound);
}

}  // namespace zerud
