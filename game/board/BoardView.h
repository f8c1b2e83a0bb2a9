// The pieces and the grid on the board: the 42 piece slots and the grid
// overlay as layers of the surface `img`, and the animations of a game.
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <array>
#include <functional>

#include "game/board/LayeredImage.h"
#include "rules/Board.h"

namespace zerud {

// Settings owned by the main window and read at every frame.
struct TBoardSettings {
  int PieceOpacity = 210;  // 100..256, master alpha of the pieces
  int DropStep = 2;        // 1..35, pixels a falling piece moves per frame
  bool Opaque = false;     // the high-contrast style: every piece fully opaque
};

// One piece of a game: slot k shows the k-th piece played.
struct TPieceSlot {
  TImageLayer* Layer = nullptr;  // owned by the surface's layer list
  int Column = 0;                // grid column once played
  int Row = 0;                   // grid row once played, row 0 at the top
  bool Marked = false;           // part of the winning line being shown
};

// The five pictures of the board, indexed like `listeBmp`: 0 grid overlay
// 490 x 420 with a hole in each cell, 1 yellow piece, 2 red piece, 3 yellow
// piece with a tick (winning line of player 2), 4 red piece with a tick.
using TBoardPictures = std::array<QImage, 5>;

class TBoardView : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSlotCount = 42;
  static constexpr int kRows = 6;
  static constexpr int kColumns = 7;
  static constexpr int kCellSize = 70;
  static constexpr QPoint kGridCorner{266, 149};
  static constexpr QPoint kParkedPosition{-110, -200};
  static constexpr int kTargetTop = 69;
  static_assert(kRows * kColumns == kSlotCount);
  // Shortest time one frame of a fall (into a cell or off the board at a new
  // game) lasts, in milliseconds, spent handling events. Without it a fast
  // machine would show a whole fall within a few milliseconds, which looks
  // like a jump: the only change made to the falls' own pace of one step per
  // repaint.
  static constexpr double kMinFrameMs = 2.0;
  // Index of each picture in TBoardPictures.
  enum TPicture { kGrid = 0, kYellow = 1, kRed = 2, kYellowTicked = 3, kRedTicked = 4 };

  // Creates the 42 piece layers (red for odd slots, yellow for even ones, all
  // parked) and the grid layer on top of `img`. `settings` must outlive the
  // view; it is read anew at every frame.
  TBoardView(TLayeredImage* img, const TBoardPictures& listeBmp, const TBoardSettings* settings,
             QObject* parent = nullptr);
  ~TBoardView() override;

  // Slot k, 1..42.
  TPieceSlot& PieceSlot(int k);
  const TPieceSlot& PieceSlot(int k) const;
  TImageLayer* GridLayer() const { return gridLayer_; }
  TLayeredImage* Image() const { return img_; }

  // Top-left corners in image pixels.
  static QPoint TargetPosition(int column);         // column target c
  static QPoint CellPosition(int row, int column);  // cell of the grid

  // At each game start: every slot gets the colour of its player (red for the
  // player who begins), is parked, takes the piece opacity and is unmarked.
  void PrepareSlots(int firstPlayer);

  // Slot k falls from the column target whose top-left corner is `target` to
  // `row` of the grid, DropStep pixels per frame shown.
  void DropPiece(int k, QPoint target, int row);
  // Slot k put straight into its cell (a game set up from its record).
  void PlacePiece(int k, int row, int column);

  // The next piece (slot moveNumber) shown over the target under the mouse,
  // unless the game is over.
  void Colonne0MouseMove(QPoint target, int moveNumber, bool gameOver);

  // At a new game: fades the grid in to 248, lets slots 1..count fall off the
  // bottom edge one after the other, then waits 200 ms.
  void ClearAwayPieces(int count);

  // At a game end: marks the pieces on the cells of the winning line among
  // slots 1..piecesPlayed, blinks the marked pieces and fades the grid out.
  // A line without a winner (a draw) marks nothing.
  void ShowGameEnd(const TWinningLine& line, int piecesPlayed);

  // Master alpha of every piece layer := PieceOpacity (256 when Opaque).
  void ApplyOpacity();
  // Another set of the five pictures (the high-contrast style): the grid and
  // every piece, wherever it is, take the new picture of their kind.
  void SetPictures(const TBoardPictures& listeBmp);
  // Grid overlay fully visible again (master alpha 256).
  void RestoreGrid();

  // A piece taken back: slot k is parked off the board again.
  void TakeBackPiece(int k);
  // A finished game reopened: the winning line is no longer marked and the
  // grid shows again.
  void ClearGameEnd();

  // Frees the piece layers and the grid layer (the window is closing).
  void FreeLayers();

 private:
  // Shows the frame just set up, then processes events for at least
  // `minimumMs` from `frameStart` (0: once). Returns false when the board or
  // its layers went meanwhile and the animation must stop. (The game never
  // prepares the slots again while an animation runs.)
  bool ShowFrame(qint64 frameStartNs, double minimumMs);
  bool LayersThere() const { return img_ && gridLayer_ != nullptr; }
  int Opacity() const;

  QPointer<TLayeredImage> img_;
  TBoardPictures listeBmp_;
  const TBoardSettings* settings_;
  std::array<TPieceSlot, kSlotCount> slots_{};
  TImageLayer* gridLayer_ = nullptr;
  // The winner whose line is marked (0: none), for ClearGameEnd.
  int markedWinner_ = 0;
};

}  // namespace zerud
