#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>

#include "game/ColumnTarget.h"
#include "game/Game.h"
#include "game/GameView.h"
#include "game/NetworkLink.h"
#include "network/GameLink.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSlider;
class QTimer;

namespace zerud {

class TImageButton;
class TSelButton;
class TTimeCounter;
class TMessageLog;
class TPatternTable;
class TBoardView;
struct TGameParts;

// The game's one working window: the board, the left panel with its buttons,
// the message log and the chat, the clock with "Quitter", and the options
// panel. It shows the game (TGame) and hands it the clicks; GameFlow.cpp
// holds that side of the window.
class TFormMain : public QWidget, public TGameView, public TGameLink {
  Q_OBJECT

  // First: the game's fields below refer to it.
  TGame game_{*this};

 public:
  // programFolder: the folder that holds scores.txt, images/bg.jpg and
  // Aide.pdf (the program's folder; tests hand a temporary one).
  explicit TFormMain(const QString& programFolder, QWidget* parent = nullptr);
  ~TFormMain() override;

  // Lines MemoChat keeps; older ones are dropped.
  static constexpr int kChatLineLimit = 10000;
  // Characters MemoChat keeps (the newest MiB of text); older lines are
  // dropped, so a peer's long lines cannot fill the memory either.
  static constexpr int kChatTextLimit = 1 << 20;
  // Peer messages held back while a move runs; more are dropped.
  static constexpr std::size_t kDeferredLimit = TGame::kDeferredLimit;

  // Set by the network window, through TGameLink.
  bool& NetworkGame = game_.NetworkGame;
  bool IsServer = false;

  // State of the current game, held by the game.
  int& MoveNumber = game_.MoveNumber;        // number of the next piece, 1..43
  int& CurrentPlayer = game_.CurrentPlayer;  // 1 red, 2 yellow
  bool& GameOver = game_.GameOver;

  TGame& Game() { return game_; }

  // Controls other windows reach.
  QLabel* lbReseau = nullptr;
  TImageButton* bnStart = nullptr;
  TImageButton* bnOptions = nullptr;
  TImageButton* bnReseau = nullptr;
  TImageButton* bnAide = nullptr;
  QRadioButton* cbMachine = nullptr;
  QRadioButton* cbJoueursHumains = nullptr;
  QPlainTextEdit* MemoChat = nullptr;
  QLineEdit* EditChat = nullptr;
  TSelButton* bnClear = nullptr;
  TSelButton* bnEnvoyerChat = nullptr;
  TMessageLog* MemoMessages = nullptr;
  // Colonne[c] is the target named "Colonne<c>" (objectName), Tag c.
  std::array<TColumnTarget*, 7> Colonne{};
  TColumnTarget*& Colonne0 = Colonne[0];
  TColumnTarget*& Colonne1 = Colonne[1];
  TColumnTarget*& Colonne2 = Colonne[2];
  TColumnTarget*& Colonne3 = Colonne[3];
  TColumnTarget*& Colonne4 = Colonne[4];
  TColumnTarget*& Colonne5 = Colonne[5];
  TColumnTarget*& Colonne6 = Colonne[6];
  TTimeCounter* Chrono = nullptr;
  QLabel* LabelChrono = nullptr;
  QWidget* PanelGauche = nullptr;
  QWidget* PanelClock = nullptr;
  QWidget* PanelOptions = nullptr;
  QWidget* bsSkinButton1 = nullptr;
  QSlider* tbOpacite = nullptr;
  QSlider* tbVitesse = nullptr;
  QSlider* tbNiveau = nullptr;
  TSelButton* bnFermer = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

  // The layered board image (background, pieces, grid); parent of the column
  // targets and of the two panels.
  QWidget* img() const;

  // The program folder with a trailing separator.
  const QString& ProgramFolder() const { return programFolder_; }

  // Settings.
  int PieceOpacity() const;
  int DropStep() const;
  int MaxDepth() const;
  bool AgainstMachine() const override;  // the mode radio boxes

  // The current grid as 42 characters '0'/'1'/'2', row 0 (top) first.
  QString GridText() const;

  // Game flow.
  void bnStartClick();
  void Colonne0Click(int column);
  void PlayMachineMove();
  void EnableColumns(bool on);
  void cbJoueursHumainsClick();
  void StartOpponentGame();
  void PlayOpponentMove(const QString& text);
  void EndAnnouncedByPeer();
  // True while a move, an animation or the machine's search runs.
  bool MoveUnderWay() const { return game_.MoveUnderWay(); }
  // True while messages of the peer held back during a move wait their turn.
  bool PeerMessagesWaiting() const { return game_.PeerMessagesWaiting(); }
  // Nodes visited by the machine's last search (each one called the pump).
  long LastSearchNodes() const { return game_.LastSearchNodes(); }

  // Options panel, help, chat, clock.
  void bnOptionsClick();
  void bnFermerClick();
  void tbOpaciteChange();
  void tbVitesseChange();
  void tbNiveauChange();
  void bnReseauClick();
  void bnAideClick();
  void bnClearClick();
  void bnEnvoyerChatClick();
  void ChronoTimer();
  void bsSkinButton1Click();

  // The network window, reached through its interface; may stay null.
  void SetNetworkLink(TNetworkLink* link) override { game_.SetNetworkLink(link); }
  TNetworkLink* NetworkLink() const override { return game_.NetworkLink(); }

  // How the window asks for the player's attention when the peer starts a
  // game or moves behind another window (the taskbar marks it); tests
  // replace it.
  void SetAttentionRequest(std::function<void()> request) { attention_ = std::move(request); }

  // The quit confirmation: returns 1 for "Oui", anything else keeps the
  // window open. Without one, every close request is allowed.
  void SetCloseConfirmation(std::function<int()> confirm) { confirm_ = std::move(confirm); }
  // What ends the process after a confirmed close (status 0); tests replace it.
  void SetProcessEnd(std::function<void(int)> end) { processEnd_ = std::move(end); }

  // Seeds the random source behind who begins and the machine's opening
  // column; the window seeds it from the clock at creation.
  void SeedRandom(unsigned seed);

  // The help's two collaborators; tests replace them. PdfReaderInstalled
  // tells whether one of the reader's registry keys exists, OpenDocument
  // performs the verb on the file with the window shown maximised.
  void SetHelpPlatform(std::function<bool()> pdfReaderInstalled,
                       std::function<void(const QString& verb, const QString& file)> open);

  // The machine's pattern table and the board's pieces, for tests and tools.
  const TPatternTable& PatternTable() const;
  TBoardView& BoardView() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // TGameLink: what the network window does to the game.
  QWidget* GameWindow() override { return this; }
  void EnterNetworkMode() override;
  void LeaveNetworkMode() override;
  void SetServerRole(bool server) override { IsServer = server; }
  bool ServerRole() const override { return IsServer; }
  void ShowNetworkStatus(const QString& text) override;
  void AllowNewGame(bool on) override;
  void StopMoves() override { EnableColumns(false); }
  void StartPeerGame() override;
  void PlayPeerMove(const QString& column) override;
  void EndPeerGame() override { EndAnnouncedByPeer(); }
  void ShowPeerChat(const QString& line) override { AppendChatLine(line); }

  // TGameView: how the game shows itself.
  void ClearLog() override;
  void LogLine(const QString& line) override;
  void ScrollLogToLast() override;
  void EnableColumnTargets(const std::array<bool, kColumns>& enabled) override;
  void EnableStart(bool on) override;
  void PrepareSlots(int firstPlayer) override;
  void ClearAwayPieces(int count) override;
  void RestoreGrid() override;
  void DropPiece(int moveNumber, int column, int row) override;
  void ShowGameEnd(const TWinningLine& line, int piecesPlayed) override;
  bool Animating() const override;
  void ResetClock() override;
  void StartClock() override;
  void StopClock() override;
  void EnableClockTicks() override;
  void ReportError(const QString& text) override;

  void BuildControls();
  void FormCreate();
  void BuildLeftPanel();
  void BuildClockPanel();
  void BuildColumnTargets();
  void BuildOptionsPanel();
  void BuildKeyboardPlay();
  void LoadPatternTable();
  void LoadBackground();
  bool FormCloseQuery();
  void FormClose();

  void TraceGrid();
  void Colonne0MouseMove(int column);
  // Adds one line at the end of the chat memo.
  void AppendChatLine(const QString& line);

  QString programFolder_;
  std::unique_ptr<TGameParts> parts_;
  std::function<void()> attention_;
  std::function<int()> confirm_;
  std::function<void(int)> processEnd_;
  // Calls its argument with whether a PDF reader is installed, now or later.
  std::function<void(std::function<void(bool)>)> askPdfReader_;
  std::function<void(const QString&, const QString&)> openDocument_;
  // Waiting for the window manager's frame after the first show.
  static constexpr int kFramePollMs = 10;
  static constexpr int kFramePolls = 100;
  QTimer* framePoll_ = nullptr;
  bool frameCentred_ = false;
};

}  // namespace zerud
