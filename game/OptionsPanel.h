#pragma once

#include <QImage>
#include <QWidget>

class QRadioButton;
class QSlider;

namespace zerud {

class TSelButton;

// The options panel `PanelOptions` over the board: the pieces' opacity, the
// falling speed, the machine's level, the mode of play and "Fermer". The
// main window connects their handlers.
class TOptionsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TOptionsPanel(QWidget* board);

  QSlider* tbOpacite = nullptr;
  QSlider* tbVitesse = nullptr;
  QSlider* tbNiveau = nullptr;
  QRadioButton* cbMachine = nullptr;
  QRadioButton* cbJoueursHumains = nullptr;
  TSelButton* bnFermer = nullptr;

 protected:
  // The panel's picture, or its colour where the picture is missing.
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace zerud
