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

// What the board's accessible objects read: the name of each cell and the
// announcer's last words. A child of the board widget, found there by the
// factory.
class TBoardSpeech : public QObject {
  Q_OBJECT

 public:
  TBoardSpeech(QWidget* board, std::function<QString(int, int)> cellName, TAnnouncer& announcer)
      : QObject(board), CellName(std::move(cellName)), Announcer(&announcer) {}

  std::function<QString(int row, int column)> CellName;
  QPointer<TAnnouncer> Announcer;
};

class TAccessibleBoard;

// An accessible object of the board that is not a widget of its own.
class TBoardPart : public QAccessibleInterface {
 public:
  explicit TBoardPart(TAccessibleBoard* board) : board_(board) {}

  bool isValid() const override { return true; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    return state;
  }

 protected:
  TAccessibleBoard* board_;
};

// One cell of the grid, row 0 at the top.
class TAccessibleCell : public TBoardPart, public QAccessibleTableCellInterface {
 public:
  TAccessibleCell(TAccessibleBoard* board, QAccessibleInterface* table, int row, int column)
      : TBoardPart(board), table_(table), row_(row), column_(column) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return table_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text kind) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Cell; }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return table_; }

 private:
  QAccessibleInterface* table_;
  int row_;
  int column_;
};

// The grid: 6 rows, top row first, and 7 columns.
class TAccessibleGrid : public TBoardPart, public QAccessibleTableInterface {
 public:
  explicit TAccessibleGrid(TAccessibleBoard* board) : TBoardPart(board) {}
  ~TAccessibleGrid() override {
    for (QAccessibleInterface* cell : cells_)
      if (cell != nullptr) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (child(i)->rect().contains(x, y)) return child(i);
    return nullptr;
  }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override {
    return index >= 0 && index < childCount() ? cellAt(index / kGridColumns, index % kGridColumns)
                                              : nullptr;
  }
  int childCount() const override { return kGridRows * kGridColumns; }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (cells_[static_cast<std::size_t>(i)] == child) return i;
    return -1;
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return QStringLiteral("Grille");
    if (kind == QAccessible::Description)
      return QStringLiteral(
          "6 lignes comptées depuis le bas, 7 colonnes comptées depuis la gauche");
    return {};
  }
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Table; }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns) return nullptr;
    QAccessibleInterface*& cell = cells_[static_cast<std::size_t>(row * kGridColumns + column)];
    if (cell == nullptr) {
      cell = new TAccessibleCell(board_, const_cast<TAccessibleGrid*>(this), row, column);
      QAccessible::registerAccessibleInterface(cell);
      told_[static_cast<std::size_t>(row * kGridColumns + column)] = cell->text(QAccessible::Name);
    }
    return cell;
  }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QString columnDescription(int column) const override {
    return QStringLiteral("Colonne %1").arg(column + 1);
  }
  QString rowDescription(int row) const override {
    return QStringLiteral("Ligne %1").arg(kGridRows - row);
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return kGridColumns; }
  int rowCount() const override { return kGridRows; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

  // Tells the reader of every cell whose name changed since it was last
  // read or told: a reader keeps the names it has read.
  void NotifyChanges() {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      if (cells_[i] == nullptr) continue;
      const QString name = cells_[i]->text(QAccessible::Name);
      if (name == told_[i]) continue;
      told_[i] = name;
      QAccessibleEvent changed(cells_[i], QAccessible::NameChanged);
      QAccessible::updateAccessibility(&changed);
    }
  }

 private:
  mutable std::array<QAccessibleInterface*, kGridRows * kGridColumns> cells_{};
  mutable std::array<QString, kGridRows * kGridColumns> told_{};
};

// The status text: its name is the last announcement, and each new one is
// sent as a change of name, which screen readers speak.
class TAccessibleStatus : public TBoardPart {
 public:
  using TBoardPart::TBoardPart;

  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text kind) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::StatusBar; }
};

// The board: the grid's table and the status text come before the widgets
// that lie on it (the column targets, the panels).
class TAccessibleBoard : public QAccessibleWidget {
 public:
  explicit TAccessibleBoard(QWidget* board) : QAccessibleWidget(board, QAccessible::Pane) {
    QAccessible::registerAccessibleInterface(grid_);
    QAccessible::registerAccessibleInterface(status_);
  }
  ~TAccessibleBoard() override {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(grid_));
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(status_));
  }

  int childCount() const override { return kParts + QAccessibleWidget::childCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return grid_;
    if (index == 1) return status_;
    return QAccessibleWidget::child(index - kParts);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == grid_) return 0;
    if (child == status_) return 1;
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? -1 : index + kParts;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    if (QAccessibleInterface* on = QAccessibleWidget::childAt(x, y)) return on;
    return grid_->rect().contains(x, y) ? grid_ : nullptr;
  }

  // Null until the window has tied the board to its game.
  TBoardSpeech* Speech() const {
    return widget()->findChild<TBoardSpeech*>(QString(), Qt::FindDirectChildrenOnly);
  }
  TAccessibleGrid* Grid() const { return grid_; }
  QAccessibleInterface* Status() const { return status_; }
  QWidget* Board() const { return widget(); }
  // A rectangle of the board's pixels, on the screen.
  QRect OnScreen(const QRect& area) const {
    return QRect(widget()->mapToGlobal(area.topLeft()), area.size());
  }

 private:
  static constexpr int kParts = 2;
  TAccessibleGrid* grid_ = new TAccessibleGrid(this);
  TAccessibleStatus* status_ = new TAccessibleStatus(this);
};

QWindow* TBoardPart::window() const { return board_->window(); }

QString TAccessibleCell::text(QAccessible::Text kind) const {
  const TBoardSpeech* speech = board_->Speech();
  if (kind != QAccessible::Name || speech == nullptr) return {};
  return speech->CellName(row_, column_);
}

QRect TAccessibleCell::rect() const {
  return board_->OnScreen(QRect(TBoardView::CellPosition(row_, column_),
                                QSize(TBoardView::kCellSize, TBoardView::kCellSize)));
}

QAccessibleInterface* TAccessibleGrid::parent() const { return board_; }

QRect TAccessibleGrid::rect() const {
  return board_->OnScreen(QRect(TBoardView::kGridCorner, QSize(kGridColumns * TBoardView::kCellSize,
                                                               kGridRows * TBoardView::kCellSize)));
}

QAccessibleInterface* TAccessibleStatus::parent() const { return board_; }

QString TAccessibleStatus::text(QAccessible::Text kind) const {
  const TBoardSpeech* speech = board_->Speech();
  const TAnnouncer* announcer = speech != nullptr ? speech->Announcer : nullptr;
  if (kind == QAccessible::Name) return announcer != nullptr ? announcer->Text() : QString();
  if (kind == QAccessible::Description) return QStringLiteral("Ce qui se passe dans la partie");
  return {};
}

// The strip of the column targets, where the next piece shows.
QRect TAccessibleStatus::rect() const {
  return board_->OnScreen(
      QRect(TBoardView::TargetPosition(0),
            QSize(kGridColumns * TBoardView::kCellSize, TBoardView::kCellSize)));
}

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
    return new TAccessibleBoard(static_cast<QWidget*>(object));
  return nullptr;
}

// Each announcement changes the status text's name; the cells that changed
// with it say so first.
void SendAnnouncement(QWidget* board) {
  if (!QAccessible::isActive()) return;
  auto* accessible = dynamic_cast<TAccessibleBoard*>(QAccessible::queryAccessibleInterface(board));
  if (accessible == nullptr) return;
  accessible->Grid()->NotifyChanges();
  QAccessibleEvent changed(accessible->Status(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
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

#include "Accessibility.moc"
