// What the main window's tests share.
#pragma once

#include <QRadioButton>
#include <QSlider>
#include <QStringList>
#include <QTest>

#include "controls/TimeCounter.h"
#include "game/log/MessageLog.h"
#include "game/window/FormMain.h"
#include "game/window/OptionsPanel.h"
#include "platform/ErrorDisplay.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/WindowControls.h"

namespace zerud::test {

// Collects what the window shows through the error display.
class TShownErrors {
 public:
  TShownErrors()
      : previous_(SetErrorDisplay([this](const QString& text) { texts_.append(text); })) {}
  ~TShownErrors() { SetErrorDisplay(previous_); }

  const QStringList& Texts() const { return texts_; }

 private:
  TErrorDisplay previous_;
  QStringList texts_;
};

// The network window as the main window sees it: messages recorded in order.
class TRecordingLink : public TNetworkLink {
 public:
  QStringList Sent;  // "start", "move <column>", "chat <text>"

  void SendGameStart() override { Sent.append(QStringLiteral("start")); }
  void SendMove(int column) override { Sent.append(QStringLiteral("move %1").arg(column)); }
  QString SendChatLine(const QString& text) override {
    Sent.append(QStringLiteral("chat ") + text);
    return text;
  }
  void ShowNetworkWindow() override {}
};

// Lines of the message log.
inline const QString kStart = QStringLiteral("DEBUT DE LA PARTIE");
inline const QString kHumanBegins = QStringLiteral("Joueur \"HUMAIN-1\" commence");
inline const QString kThinking = QStringLiteral("[MACHINE] : Je réfléchis...");
inline const QString kPeerBegins = QStringLiteral("Votre adversaire commence la partie");
inline const QString kEmptyGrid = QString(42, u'0');

inline QString HumanLine(int player, int column) {
  return QStringLiteral("[HUMAIN-%1] : Je joue la colonne n° %2").arg(player).arg(column);
}

inline QString MachineLine(int column) {
  return QStringLiteral("[MACHINE] : Je joue la colonne n° %1").arg(column);
}

inline QStringList LogLines(const TFormMain& form) {
  QStringList lines;
  for (int i = 0; i < test::Control<TMessageLog>(form, "MemoMessages")->LineCount(); ++i)
    lines.append(test::Control<TMessageLog>(form, "MemoMessages")->Line(i));
  return lines;
}

// A main window on a program folder of its own, with the fastest falling
// speed, a process end that only records its status, and shown (offscreen).
struct TWindow : TProgramFolder, TFormMain {
  explicit TWindow(TFiles files = kBoth, const QByteArray& scores = QByteArray())
      : TProgramFolder(files, scores), TFormMain(Path()) {
    SetProcessEnd([this](int status) { endStatus = status; });
    SetOptions(PieceOpacity(), TOptionsPanel::kSpeed.Maximum, MaxDepth() / 2);
    show();
    QTest::qWait(1);
  }

  int endStatus = -1;  // -1 while the process was not ended
};

// Starts a game in the mode against the machine where the human begins,
// trying seeds of the random source until the draw says so. False when none
// did.
inline bool StartWithHumanFirst(TFormMain& form) {
  for (unsigned seed = 0; seed < 64; ++seed) {
    form.SeedRandom(seed);
    form.bnStartClick();
    if (form.Game().MoveNumber() == 1) return true;
  }
  return false;
}

// Chooses the two-humans mode and starts a game: player 1 begins.
inline void StartTwoHumanGame(TFormMain& form) {
  test::Control<QRadioButton>(form, "cbJoueursHumains")->click();
  form.bnStartClick();
}

// The enabled column targets, as a string of 0/1 for columns 0..6.
inline QString EnabledColumns(const TFormMain& form) {
  QString enabled;
  for (int c = 0; c < kColumns; ++c)
    enabled += test::ColumnControl<TColumnTarget>(form, c)->isEnabled() ? u'1' : u'0';
  return enabled;
}

// The turn as one line: "move <MoveNumber> player <CurrentPlayer>
// <playing|over> <EnabledColumns> <counting|stopped>".
inline QString Turn(const TFormMain& form) {
  return QStringLiteral("move %1 player %2 %3 %4 %5")
      .arg(form.Game().MoveNumber())
      .arg(form.Game().CurrentPlayer())
      .arg(form.Game().GameOver() ? "over" : "playing", EnabledColumns(form),
           test::Control<TTimeCounter>(form, "Chrono")->Counting() ? "counting" : "stopped");
}

}  // namespace zerud::test
