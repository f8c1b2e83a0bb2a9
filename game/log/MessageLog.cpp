#include "game/log/MessageLog.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/Skin.h"

namespace zerud {

namespace {

const QColor& kPlainFill = skin::kLightBlue;
const QColor& kLilacFill = skin::kLilac;
const QColor& kPaleFill = skin::kPaleLilac;

enum TIcon { kGear = 0, kPersonBlue = 1, kComputer = 2, kPersonPink = 3 };

// Hands every row to the log's own drawing, whatever its state: a selected
// row looks like any other.
class TLogRowDelegate : public QStyledItemDelegate {
 public:
  explicit TLogRowDelegate(TMessageLog* log) : QStyledItemDelegate(log), log_(log) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    log_->MemoMessagesDrawItem(*painter, option.rect, index.row());
  }

  // The list stretches every row to its visible width.
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {1, TMessageLog::kRowHeight};
  }

 private:
  TMessageLog* log_;
};

// Writes text with the top of its line at y, like a text cell.
void WriteText(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QPoint(x, y + QFontMetrics(painter.font()).ascent()), text);
}

}  // namespace

QFont TMessageLog::RowFont(bool bold) {
  // Where Tahoma is not installed, Liberation Sans stands in, as elsewhere in
  // the window: its widths are close to Tahoma's.
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
  font.setPointSize(7);
  font.setBold(bold);
  return font;
}

TMessageLog::TMessageLog(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TLogRowDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setUniformItemSizes(true);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TMessageLog::SetModeSource(std::function<TLogMode()> mode) {
  mode_ = std::move(mode);
  viewport()->update();
}

void TMessageLog::SetIcons(const TLogIcons& icons) {
  for (size_t i = 0; i < icons.size(); ++i) {
    icons_[i] = icons[i].isNull() ? QImage() : icons[i].convertToFormat(QImage::Format_ARGB32);
  }
  viewport()->update();
}

void TMessageLog::AppendLine(const QString& text, TSpeaker speaker) {
  auto* line = new QListWidgetItem(text);
  line->setData(Qt::UserRole, static_cast<int>(speaker));
  // A row shows what fits; the pointer over it shows all of it.
  line->setToolTip(ShownText(text, speaker).trimmed());
  addItem(line);
}

void TMessageLog::ScrollToLastLine() {
  if (count() > 0) scrollToItem(item(count() - 1), QAbstractItemView::PositionAtTop);
}

void TMessageLog::ClearLines() { clear(); }

QString TMessageLog::Line(int index) const {
  const QListWidgetItem* line = item(index);
  return line ? line->text() : QString();
}

TSpeaker TMessageLog::Speaker(int index) const {
  const QListWidgetItem* line = item(index);
  return line ? static_cast<TSpeaker>(line->data(Qt::UserRole).toInt()) : TSpeaker::None;
}

QString TMessageLog::ShownText(const QString& line, TSpeaker speaker) {
  const qsizetype colon = line.indexOf(u':');
  return colon < 0 || speaker == TSpeaker::None ? line : line.mid(colon + 1);
}

void TMessageLog::MemoMessagesDrawItem(QPainter& painter, const QRect& row, int index) const {
  const QString text = Line(index);
  const int width = row.width();
  const int height = row.height();
  painter.save();
  painter.translate(row.topLeft());
  painter.setClipRect(0, 0, width, height);

  // Step 1. What is shown: a speaker's text after the first colon.
  const QString shown = ShownText(text, Speaker(index));

  // Step 2. Plain line: bold black on light blue.
  painter.setFont(RowFont(true));
  painter.setPen(Qt::black);
  painter.fillRect(0, 0, width, height, kPlainFill);
  WriteText(painter, 1, 3, shown);

  // Step 3. The speaker's colour and icon; a human's depend on the mode.
  painter.setFont(RowFont(false));
  const TLogMode mode = mode_ ? mode_() : TLogMode::Machine;
  const bool againstMachine = mode == TLogMode::Machine;
  auto speakerRow = [&](const QColor& fill, int icon, QPoint iconAt, int textX) {
    painter.fillRect(0, 0, width, height, fill);
    if (!icons_[icon].isNull()) painter.drawImage(iconAt, icons_[icon]);
    WriteText(painter, textX, 3, shown);
  };
  switch (Speaker(index)) {
    case TSpeaker::Machine:
    case TSpeaker::Peer:
      speakerRow(kLilacFill, kComputer, {1, -1}, 18);
      break;
    case TSpeaker::Human1:
      speakerRow(kPaleFill, kPersonBlue, {1, 0}, againstMachine ? 20 : 18);
      break;
    case TSpeaker::Human2:
      if (againstMachine)
        speakerRow(kPaleFill, kPersonPink, {1, 0}, 20);
      else
        speakerRow(kLilacFill, kPersonPink, {1, 0}, 18);
      break;
    case TSpeaker::Hint:
      speakerRow(kPaleFill, kGear, {1, 0}, 20);
      break;
    case TSpeaker::None:
      break;
  }
  painter.restore();
}

}  // namespace zerud
