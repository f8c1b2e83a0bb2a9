#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>

#include "game/model/Game.h"
#include "game/window/ChatField.h"
#include "game/window/ChatMemo.h"
#include "game/window/ColumnTarget.h"
#include "game/window/WindowLink.h"
#include "game/window/WindowView.h"
#include "links/NetworkLink.h"

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
class THintControl;
class TAnalysisControl;
class TKeyboardPlay;
class TBoardView;
class THelpWindow;
class TSoundEffects;
class THighContrast;
class TAnnouncer;
class TFocusRing;
struct TGameParts;

// The game's one working window: the board, the left panel with its buttons,
// the message log and the chat, the clock with "Quitter", and the options
// panel. It hands the clicks and keys to the game (TGame), which shows itself
// through the window's view (TWindowView); the network window reaches the
// game through the window's link (TWindowLink). GameFlow.cpp holds the
// handlers of the game's side.
class TFormMain : public QWidget {
  Q_OBJECT

  // First: the game's fields below refer to them.
  TWindowView view_{*this};
  TGame game_{view_};
  TWindowLink link_{*this, game_};

 public:
  // programFolder: the folder that holds scores.txt, images/bg.jpg, Aide.pdf
  // and Aide.txt (the program's folder; tests hand a temporary one).
  explicit TFormMain(const QString& programFolder, QWidget* parent = nullptr);
  ~TFormMain() override;

  // What MemoChat keeps of the chat.
  static constexpr int kChatLineLimit = TChatMemo::kLineLimit;
  static constexpr int kChatTextLimit = TChatMemo::kTextLimit;
  // Peer messages held back while a move runs; more are dropped.
  static constexpr std::size_t kDeferredLimit = TGame::kDeferredLimit;

  // A connection is open or opening (the network window says so).
  bool NetworkGame() const { return game_.ConnectionOpen(); }

  TGame& Game() { return game_; }
  const TGame& Game() const { return game_; }
  // What the network window holds of the game.
  TGameLink* GameLink() { return &link_; }

  // The layered board image (background, pieces, grid); parent of the column
  // targets and of the two panels.
  QWidget* img() const;

  // The program folder with a trailing separator.
  const QString& ProgramFolder() const { return programFolder_; }

  // Settings.
  int PieceOpacity() const;
  int DropStep() const;
  int MaxDepth() const;
  // The options as the kept settings give them: the bars take the values
  // and their handlers run.
  void SetOptions(int opacity, int speed, int level);

  // The current grid as 42 characters '0'/'1'/'2', row 0 (top) first.
  QString GridText() const;

  // Game flow.
  void bnStartClick();
  void Colonne0Click(int column);
  // Both mode boxes: the one clicked says which mode.
  void cbJoueursHumainsClick(TPlayMode mode);
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
  TNetworkLink* NetworkLink() const { return game_.NetworkLink(); }

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
  // The game's sounds and their switch.
  TSoundEffects& Sounds() const { return *sounds_; }
  // The board's high-contrast style and its switch.
  THighContrast& HighContrast() const { return *contrast_; }
  // The analysis over the columns and its switch.
  TAnalysisControl& Analysis() const { return *analysis_; }

 signals:
  // An option, the mode or the network role has changed:
  // what the kept settings write.
  void SettingsChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class TWindowView;
  friend class TWindowLink;
  // Names and roles for screen readers, given to the controls themselves.
  friend TFocusRing* MakeGameAccessible(TFormMain& window, TAnnouncer& announcer);

  void BuildControls();
  void FormCreate();
  void BuildLeftPanel();
  void BuildClockPanel();
  void BuildColumnTargets();
  void BuildResultBanner();
  void BuildOptionsPanel();
  void BuildKeyboardPlay();
  void BuildSoundsAndAids();
  void BuildBoardMenu();
  void LoadPatternTable();
  void LoadBackground();
  bool FormCloseQuery();
  void FormClose();

  void TraceGrid();
  void Colonne0MouseMove(int column);
  // A peer's game start or move behind another window marks ours.
  void AskAttention();
  // A move drops the hint asked for before it.
  void DropHint();

  // The controls, under the names the game gives them (also their object
  // names, by which tests find them).
  QLabel* lbReseau = nullptr;
  QLabel* lbScore = nullptr;
  QLabel* lbResultat = nullptr;
  TImageButton* bnStart = nullptr;
  TImageButton* bnOptions = nullptr;
  TImageButton* bnReseau = nullptr;
  TImageButton* bnAide = nullptr;
  QRadioButton* cbMachine = nullptr;
  QRadioButton* cbJoueursHumains = nullptr;
  TChatMemo* MemoChat = nullptr;
  TChatField* EditChat = nullptr;
  TSelButton* bnClear = nullptr;
  TSelButton* bnEnvoyerChat = nullptr;
  TMessageLog* MemoMessages = nullptr;
  // Colonne[c] is the target named "Colonne<c>" (objectName), Tag c.
  std::array<TColumnTarget*, 7> Colonne{};
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

  QString programFolder_;
  std::unique_ptr<TGameParts> parts_;
  TKeyboardPlay* keyboard_ = nullptr;
  THintControl* hint_ = nullptr;
  TAnalysisControl* analysis_ = nullptr;
  TSoundEffects* sounds_ = nullptr;
  THighContrast* contrast_ = nullptr;
  TFocusRing* focusRing_ = nullptr;
  std::function<void()> attention_;
  std::function<int()> confirm_;
  std::function<void(int)> processEnd_;
  // Calls its argument with whether a PDF reader is installed, now or later.
  std::function<void(std::function<void(bool)>)> askPdfReader_;
  std::function<void(const QString&, const QString&)> openDocument_;
  // The help without a PDF reader, made at its first use.
  THelpWindow* helpWindow_ = nullptr;
  // Waiting for the window manager's frame after the first show.
  static constexpr int kFramePollMs = 10;
  static constexpr int kFramePolls = 100;
  QTimer* framePoll_ = nullptr;
  bool frameCentred_ = false;
};

}  // namespace zerud
