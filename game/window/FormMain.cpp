// The main window's creation, its options, the help, the chat buttons and the
// way out.
#include "game/window/FormMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <cstdio>
#include <cstdlib>

#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/log/MessageLog.h"
#include "game/window/Accessibility.h"
#include "game/window/ChatField.h"
#include "game/window/ChatMemo.h"
#include "game/window/GameParts.h"
#include "game/window/HelpWindow.h"
#include "platform/DocumentOpener.h"
#include "platform/ErrorDisplay.h"
#include "platform/PdfReaderWatch.h"
#include "rules/Errors.h"

namespace zerud {

namespace {

constexpr char kPatternFile[] = "scores.txt";
constexpr char kBackgroundFile[] = "images/bg.jpg";
constexpr char kHelpFile[] = "Aide.pdf";
// The document's source text, which the help window shows.
constexpr char kHelpSource[] = "Aide.txt";

}  // namespace

TFormMain::TFormMain(const QString& programFolder, QWidget* parent)
    : QWidget(parent),
      programFolder_(programFolder.endsWith(QLatin1Char('/')) ? programFolder
                                                              : programFolder + QLatin1Char('/')),
      parts_(std::make_unique<TGameParts>()),
      attention_([this] { QApplication::alert(this); }),
      processEnd_([](int status) {
        // Ends at once: the other windows go with the process.
        std::fflush(nullptr);
        std::_Exit(status);
      }),
      openDocument_([](const QString& verb, const QString& file) {
        OpenDocument(verb, file, TShowCommand::Maximized);
      }) {
  // The desktop is asked for a PDF reader now, in the background, so the
  // help never waits for it.
  auto* pdfReader = new TPdfReaderWatch(this);
  askPdfReader_ = [pdfReader](std::function<void(bool)> answer) {
    pdfReader->Ask(std::move(answer));
  };
  // Before any control exists: a screen reader may ask for one at once.
  InstallGameAccessibility();
  BuildControls();
  FormCreate();
  focusRing_ = MakeGameAccessible(*this, view_.Announcer());
}

TFormMain::~TFormMain() = default;

// The preparation at creation, in this order: random source, pattern table,
// first move, background picture, piece layers, grid layer, column targets.
void TFormMain::FormCreate() {
  game_.ResetRandom();
  LoadPatternTable();
  LoadBackground();
  TBoardPictures listeBmp;
  for (int i = 0; i < kListeBmpCount; ++i) listeBmp[i] = ListeBmp(i);
  parts_->Board = std::make_unique<TBoardView>(parts_->Img, listeBmp, &parts_->Settings);
  view_.EnableColumnTargets({});
}

// A table that cannot be read is reported; the game goes on with an empty
// one, where every grid scores 0.
void TFormMain::LoadPatternTable() {
  try {
    game_.SetPatternTable(
        TPatternTable::FromFile((programFolder_ + QLatin1String(kPatternFile)).toStdString()));
  } catch (const TGameError& error) {
    game_.SetPatternTable(TPatternTable());
    ShowError(QString::fromUtf8(error.what()));
  }
}

// Without its picture the board shows navy.
void TFormMain::LoadBackground() {
  try {
    parts_->Img->SetPicture(LoadPictureFile(programFolder_ + QLatin1String(kBackgroundFile)));
  } catch (const TGameError& error) {
    parts_->Img->SetPicture(QImage());
    ShowError(QString::fromUtf8(error.what()));
  }
}

int TFormMain::PieceOpacity() const { return parts_->Settings.PieceOpacity; }
int TFormMain::DropStep() const { return parts_->Settings.DropStep; }
int TFormMain::MaxDepth() const { return game_.MaxDepth(); }

void TFormMain::SetOptions(int opacity, int speed, int level) {
  tbOpacite->setValue(opacity);
  tbVitesse->setValue(speed);
  tbNiveau->setValue(level);
}

const TPatternTable& TFormMain::PatternTable() const { return game_.PatternTable(); }
TBoardView& TFormMain::BoardView() const { return *parts_->Board; }

// The panel puts away the last game's result.
void TFormMain::bnOptionsClick() {
  game_.SetOptionsOpen(true);
  lbResultat->hide();
  PanelOptions->show();
  PanelOptions->raise();
}

// The new opacity reaches the pieces only now, all 42 of them.
void TFormMain::bnFermerClick() {
  parts_->Board->ApplyOpacity();
  PanelOptions->hide();
  game_.SetOptionsOpen(false);
}

void TFormMain::tbOpaciteChange() {
  parts_->Settings.PieceOpacity = tbOpacite->value();
  emit SettingsChanged();
}

void TFormMain::tbVitesseChange() {
  parts_->Settings.DropStep = tbVitesse->value();
  emit SettingsChanged();
}

// A search under way reads the new depth at its next node.
void TFormMain::tbNiveauChange() {
  game_.SetLevel(tbNiveau->value());
  emit SettingsChanged();
}

void TFormMain::bnReseauClick() {
  if (TNetworkLink* network = NetworkLink()) network->ShowNetworkWindow();
}

void TFormMain::SetHelpPlatform(std::function<bool()> pdfReaderInstalled,
                                std::function<void(const QString&, const QString&)> open) {
  askPdfReader_ = [installed = std::move(pdfReaderInstalled)](std::function<void(bool)> answer) {
    answer(installed());
  };
  openDocument_ = std::move(open);
}

// With a PDF reader the document opens there, and the opener's answer is
// ignored: a missing document is not reported. Without one the same text
// shows in the game's own help window, or what keeps it from showing.
void TFormMain::bnAideClick() {
  askPdfReader_([this](bool installed) {
    if (installed) {
      openDocument_(QString::fromLatin1(kOpenVerb), programFolder_ + QLatin1String(kHelpFile));
      return;
    }
    if (helpWindow_ == nullptr) helpWindow_ = new THelpWindow(this);
    try {
      helpWindow_->Open(programFolder_ + QLatin1String(kHelpSource));
    } catch (const TGameError& error) {
      ShowError(QString::fromUtf8(error.what()));
    }
  });
}

void TFormMain::bnClearClick() { MemoChat->clear(); }

// The server sends whatever the edit holds, even nothing; the client only a
// text of one character or more. Our own chat shows the line as the peer's
// will; then the edit is emptied.
void TFormMain::bnEnvoyerChatClick() {
  TNetworkLink* network = NetworkLink();
  if (network == nullptr) return;
  const QString text = EditChat->text();
  const bool listening = game_.ServerRole() && game_.ConnectionOpen();
  if (listening || (!game_.ServerRole() && game_.PeerThere() && !text.isEmpty())) {
    MemoChat->AppendLine(network->SendChatLine(text), true);
    EditChat->clear();
  }
}

void TFormMain::ChronoTimer() { LabelChrono->setText(Chrono->Elapsed()); }

void TFormMain::bsSkinButton1Click() { close(); }

void TFormMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  FormClose();
}

// Only "Oui" (1) lets the window close.
bool TFormMain::FormCloseQuery() { return !confirm_ || confirm_() == 1; }

void TFormMain::FormClose() {
  parts_->Board->FreeLayers();
  game_.SetPatternTable(TPatternTable());
  processEnd_(0);
}

}  // namespace zerud
