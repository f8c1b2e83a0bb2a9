// zerud-tune: searches the weights of the pattern table against perfect
// play. It changes one weight at a time (by a few factors), keeps a change
// only when the machine then plays more sound columns on the contested
// positions of the tuning half of the quality set at the tuning level (the
// level below breaks ties), and writes the best table found. Tuning at
// level 4 is five times quicker than at Expert and mostly helps both.
//
//   zerud-tune [--scores START] [--out FILE] [--level L] [--minutes M] [--positions N]
//              [--cache FILE] [--factors 0.5,0.8,1.25,2] [--search steps|random]
//              [--seed S] [--fit tuning|all]
//
// --search random changes one or two weights at a time by a random factor
// (now and then turning its sign) and keeps every change that does not
// lose a sound column, until the time is up: slower, but it walks across
// the flat stretches where single steps find nothing.
//
// --fit all tunes on the held-out half as well. The figures of such a table
// are no measure of the machine's strength; they show how far any table of
// this shape can go on these very positions.
//
// Every table it tries keeps the scores the search can meet inside the
// search's bounds: see TableShape.h.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "QualitySet.h"
#include "SelfPlay.h"
#include "TableShape.h"

using namespace zerud;

namespace {

// Sound columns on the tuning positions at the tuning level, and at the
// level below (worked out only when two tables tie).
struct TFitness {
  int Main = 0;
  int Below = -1;
};

int ContestedSound(const std::vector<const bench::TQualityPosition*>& positions,
                   const tune::TWeights& weights, int level) {
  const TPatternTable table = TPatternTable::FromText(tune::TableText(weights));
  return bench::MeasureLevel(positions, table, level).ContestedSound;
}

// Whether `trial` beats `best` at `level`, filling in the figures of the
// level below when they are needed.
bool Beats(const std::vector<const bench::TQualityPosition*>& positions, int level,
           const tune::TWeights& trial, TFitness& trialFitness, const tune::TWeights& best,
           TFitness& bestFitness) {
  trialFitness.Main = ContestedSound(positions, trial, level);
  if (trialFitness.Main != bestFitness.Main) return trialFitness.Main > bestFitness.Main;
  if (bestFitness.Below < 0) bestFitness.Below = ContestedSound(positions, best, level - 1);
  trialFitness.Below = ContestedSound(positions, trial, level - 1);
  return trialFitness.Below > bestFitness.Below;
}

std::vector<double> Factors(const std::string& text) {
  std::vector<double> factors;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    factors.push_back(std::atof(text.substr(start, comma - start).c_str()));
    start = comma + 1;
  }
  return factors;
}

// One or two weights of `weights` changed at random, within the bounds.
tune::TWeights RandomStep(const tune::TWeights& weights, std::mt19937& random) {
  tune::TWeights trial = weights;
  std::normal_distribution<double> logFactor(0.0, 0.5);
  const int changes = 1 + static_cast<int>(random() % 2);
  for (int change = 0; change < changes; ++change) {
    int& weight = trial[random() % trial.size()];
    weight = tune::Scaled(weight, std::exp(logFactor(random)));
    if (random() % 10 == 0) weight = -weight;
    weight = std::clamp(weight, -tune::kLargestOtherWeight, tune::kLargestOtherWeight);
  }
  return trial;
}

// What a search works on, and where it writes each better table it finds.
struct TSearch {
  std::vector<const bench::TQualityPosition*> Positions;
  int Level = 5;
  std::chrono::steady_clock::time_point Deadline;
  std::string Out;

  bool TimeLeft() const { return std::chrono::steady_clock::now() < Deadline; }
  void Gained(const tune::TWeights& weights, const std::string& what, int sound) const {
    std::printf("%s%d sound\n", what.c_str(), sound);
    std::fflush(stdout);
    std::ofstream(Out) << tune::TableText(weights);
  }
};

// Each weight by each factor in turn, a change kept only when it wins, until
// a whole round brings nothing.
void StepSearch(const TSearch& search, const std::vector<double>& factors, tune::TWeights& best,
                TFitness& bestFitness) {
  bool improved = true;
  while (improved && search.TimeLeft()) {
    improved = false;
    for (std::size_t i = 0; i < best.size() && search.TimeLeft(); ++i) {
      for (const double factor : factors) {
        tune::TWeights trial = best;
        trial[i] = tune::Scaled(trial[i], factor);
        if (trial[i] == best[i] || !tune::WithinBounds(trial)) continue;
        TFitness fitness;
        if (!Beats(search.Positions, search.Level, trial, fitness, best, bestFitness)) continue;
        best = trial;
        bestFitness = fitness;
        improved = true;
        search.Gained(best, std::string(tune::kNames[i]) + " to " + std::to_string(best[i]) + ": ",
                      fitness.Main);
      }
    }
  }
}

// Random steps, each kept when it loses nothing, until the time is up.
void RandomSearch(const TSearch& search, unsigned seed, tune::TWeights& best,
                  TFitness& bestFitness) {
  std::mt19937 random(seed);
  while (search.TimeLeft()) {
    const tune::TWeights trial = RandomStep(best, random);
    const int sound = ContestedSound(search.Positions, trial, search.Level);
    if (sound < bestFitness.Main) continue;
    if (sound > bestFitness.Main) search.Gained(trial, "", sound);
    best = trial;
    bestFitness = TFitness{sound};
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, ZERUD_SCORES_FILE);
  const std::string out = options.Text("--out", "scores-tuned.txt");
  const int minutes = options.Count("--minutes", 30);
  const std::vector<bench::TQualityPosition> set = bench::LoadOrBuildQualitySet(
      options.Text("--cache", ZERUD_QUALITY_CACHE), options.Count("--positions", 2400));
  const bool fitAll = options.Text("--fit", "tuning") == "all";
  TSearch search;
  search.Level = options.Level;
  search.Out = out;
  for (const bench::TQualityPosition& position : set) {
    if ((fitAll || !position.HeldOut()) && position.Contested()) {
      search.Positions.push_back(&position);
    }
  }

  tune::TWeights best = tune::WeightsOf(TPatternTable::FromFile(options.Scores));
  TFitness bestFitness{ContestedSound(search.Positions, best, search.Level)};
  std::printf("start: %d/%zu sound at level %d\n", bestFitness.Main, search.Positions.size(),
              search.Level);
  search.Deadline = std::chrono::steady_clock::now() + std::chrono::minutes(minutes);
  if (options.Text("--search", "steps") == "random") {
    RandomSearch(search, static_cast<unsigned>(options.Count("--seed", 1)), best, bestFitness);
  } else {
    StepSearch(search, Factors(options.Text("--factors", "0.5,0.8,1.25,2")), best, bestFitness);
  }
  std::ofstream(out) << tune::TableText(best);
  std::printf("best: %d/%zu sound, written to %s\n", bestFitness.Main, search.Positions.size(),
              out.c_str());
  return 0;
}
