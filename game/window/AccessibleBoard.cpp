#include "game/window/AccessibleBoard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <array>

#include "game/board/BoardView.h"
#include "game/window/Announcer.h"

namespace zerud {
namespace {

constexpr int kGridRows = TBoardView::kRows;
constexpr int kGridColumns = TBoardView::kColumns;

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

}  // namespace

QAccessibleInterface* NewAccessibleBoard(QWidget* board) { return new TAccessibleBoard(board); }

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

}  // namespace zerud
