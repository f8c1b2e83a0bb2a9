#include "game/window/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QSlider>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>

#include "controls/AccessibleButton.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/log/MessageLog.h"
#include "game/window/AccessibleBoard.h"
#include "game/window/Announcer.h"
#include "game/window/ChatField.h"
#include "game/window/ChatMemo.h"
#include "game/window/ColumnTarget.h"
#include "game/window/FocusRing.h"
#include "game/window/FormMain.h"

namespace zerud {
namespace {

constexpr int kGridRows = TBoardView::kRows;
constexpr int kGridColumns = TBoardView::kColumns;

// A column target: a button that plays its column when a click would.
class TAccessibleTarget : public QAccessibleWidget {
 public:
  explicit TAccessibleTarget(TColumnTarget* target)
      : QAccessibleWidget(target, QAccessible::Button) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return QStringLiteral("Colonne %1").arg(Target()->Tag() + 1);
    if (kind == QAccessible::Description)
      return QStringLiteral("Lâche un pion dans la colonne %1").arg(Target()->Tag() + 1);
    return QAccessibleWidget::text(kind);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  // Later in the event loop: the fall runs its own loop, and the reader
  // waits for no answer meanwhile.
  void doAction(const QString& action) override {
    if (action != pressAction() || !Target()->isEnabled()) return;
    QPointer<TColumnTarget> target = Target();
    QTimer::singleShot(0, target, [target] {
      if (target && target->isEnabled()) emit target->Clicked(target->Tag());
    });
  }

 private:
  TColumnTarget* Target() const { return static_cast<TColumnTarget*>(widget()); }
};

QAccessibleInterface* GameFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("zerud::TColumnTarget"))
    return new TAccessibleTarget(static_cast<TColumnTarget*>(object));
  if (className == QLatin1String("zerud::TLayeredImage"))
    return NewAccessibleBoard(static_cast<QWidget*>(object));
  return nullptr;
}
// A slider's name says its value.
void NameSlider(QSlider* slider, const QString& label, std::function<QString(int)> value) {
  auto name = [slider, label, value] {
    slider->setAccessibleName(QStringLiteral("%1 : %2").arg(label, value(slider->value())));
  };
  name();
  QObject::connect(slider, &QSlider::valueChanged, slider, name);
}

}  // namespace

void InstallGameAccessibility() {
  InstallAccessibleButtons();
  static const bool installed = [] {
    QAccessible::installFactory(GameFactory);
    return true;
  }();
  (void)installed;
}

QString CellName(int row, int column, char cell, bool winning) {
  QString content = cell == '1'   ? QStringLiteral("pion rouge")
                    : cell == '2' ? QStringLiteral("pion jaune")
                                  : QStringLiteral("vide");
  if (winning) content += QStringLiteral(", gagnant");
  return QStringLiteral("Ligne %1, colonne %2 : %3")
      .arg(kGridRows - row)
      .arg(column + 1)
      .arg(content);
}

QString ClockSpeech(const QString& elapsed) {
  const QStringList parts = elapsed.split(QLatin1Char(':'));
  if (parts.size() != 3) return elapsed;
  static const std::array<QString, 3> kUnits = {QStringLiteral("heure"), QStringLiteral("minute"),
                                                QStringLiteral("seconde")};
  QStringList said;
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    const int value = parts[i].toInt(&ok);
    if (!ok) return elapsed;
    if (value == 0) continue;
    said << QStringLiteral("%1 %2%3").arg(value).arg(kUnits[i]).arg(value > 1 ? "s" : "");
  }
  return said.isEmpty() ? QStringLiteral("0 seconde") : said.join(QLatin1Char(' '));
}

QString LevelName(int level) {
  static const std::array<QString, 4> kNames = {QStringLiteral("Débutant"),
                                                QStringLiteral("Intermédiaire"),
                                                QStringLiteral("Avancé"), QStringLiteral("Expert")};
  return level >= 2 && level <= 5 ? kNames[static_cast<std::size_t>(level - 2)]
                                  : QString::number(level);
}

TFocusRing* MakeGameAccessible(TFormMain& window, TAnnouncer& announcer) {
  InstallGameAccessibility();
  QWidget* board = window.img();
  // Tab reaches the board too, which then plays with its keys.
  board->setFocusPolicy(Qt::StrongFocus);
  board->setAccessibleName(QStringLiteral("Plateau"));
  board->setAccessibleDescription(
      QStringLiteral("Les touches 1 à 7 jouent une colonne ; les flèches déplacent le pion "
                     "suivant, Entrée le lâche"));
  const TFormMain* game = &window;
  new TBoardSpeech(
      board,
      [game](int row, int column) {
        bool winning = false;
        for (int k = 1; k <= TBoardView::kSlotCount; ++k) {
          const TPieceSlot& slot = game->BoardView().PieceSlot(k);
          if (slot.Marked && slot.Row == row && slot.Column == column) winning = true;
        }
        return CellName(row, column, game->Game().Grid().At(row, column), winning);
      },
      announcer);
  QObject::connect(&announcer, &TAnnouncer::Announced, board, [board] { SendAnnouncement(board); });

  // clang-format off
  const struct {
    QWidget* control;
    const char* name;
  } names[] = {
      {window.bnStart, "Nouvelle partie"},
      {window.bnOptions, "Options"},
      {window.bnReseau, "Réseau"},
      {window.bnAide, "Aide"},
      {window.bsSkinButton1, "Quitter"},
      {window.MemoMessages, "Journal de la partie"},
      {window.EditChat, "Texte à envoyer"},
      {window.MemoChat, "Messages reçus"},
      {window.PanelOptions, "Options du jeu"},
  };
  // clang-format on
  for (const auto& n : names) n.control->setAccessibleName(QString::fromUtf8(n.name));
  // Labels are read by their text: what they are goes in the description.
  window.lbReseau->setAccessibleDescription(QStringLiteral("État du réseau"));
  window.lbScore->setAccessibleDescription(QStringLiteral("Parties gagnées, rouges puis jaunes"));
  for (QWidget* control : std::initializer_list<QWidget*>{
           window.bnStart, window.bnOptions, window.bnReseau, window.bnAide, window.bsSkinButton1,
           window.bnClear, window.bnEnvoyerChat})
    control->setAccessibleDescription(control->toolTip());

  NameSlider(window.tbOpacite, QStringLiteral("Opacité des pions"),
             [](int value) { return QString::number(value); });
  NameSlider(window.tbVitesse, QStringLiteral("Vitesse d'animation"),
             [](int value) { return QString::number(value); });
  NameSlider(window.tbNiveau, QStringLiteral("Niveau de réflexion de la machine"), LevelName);

  // The clock is read as a time.
  QLabel* clock = window.LabelChrono;
  auto sayClock = [clock] {
    clock->setAccessibleName(QStringLiteral("Temps de jeu : %1").arg(ClockSpeech(clock->text())));
  };
  sayClock();
  QObject::connect(window.Chrono, &TTimeCounter::OnTimer, clock, sayClock);

  // Around the grid and its column targets.
  const QPoint corner = TBoardView::TargetPosition(0);
  const QPoint end = TBoardView::kGridCorner + QPoint(kGridColumns * TBoardView::kCellSize,
                                                      kGridRows * TBoardView::kCellSize);
  return new TFocusRing(&window, board, QRect(corner, end - QPoint(1, 1)));
}

}  // namespace zerud
