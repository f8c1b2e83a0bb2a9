#pragma once

#include "game/window/PicturePanel.h"

class QRadioButton;
class QSlider;

namespace zerud {

class TSelButton;

// The options panel `PanelOptions` over the board: the pieces' opacity, the
// falling speed, the machine's level, the mode of play and "Fermer". The
// main window connects their handlers.
class TOptionsPanel : public TPicturePanel {
  Q_OBJECT

 public:
  // A track bar's range and its value when the game starts.
  struct TBarRange {
    int Minimum, Maximum, Initial;
  };
  static constexpr TBarRange kOpacity{100, 256, 210};
  static constexpr TBarRange kSpeed{1, 35, 2};
  static constexpr TBarRange kLevel{2, 5, 2};

  explicit TOptionsPanel(QWidget* board);

  QSlider* tbOpacite = nullptr;
  QSlider* tbVitesse = nullptr;
  QSlider* tbNiveau = nullptr;
  QRadioButton* cbMachine = nullptr;
  QRadioButton* cbJoueursHumains = nullptr;
  TSelButton* bnFermer = nullptr;
};

}  // namespace zerud
