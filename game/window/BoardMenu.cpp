#include "game/window/BoardMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace zerud {

TBoardMenu::TBoardMenu(QWidget* window, QWidget* board, std::vector<TEntry> entries)
    : QObject(window), menu_(new QMenu(window)) {
  menu_->setObjectName(QStringLiteral("MenuPlateau"));
  std::vector<std::function<bool()>> possible;
  std::vector<std::pair<QAction*, std::function<bool()>>> switches;
  for (TEntry& entry : entries) {
    auto* action = new QAction(entry.Text, window);
    if (entry.Checked) {
      action->setCheckable(true);
      action->setChecked(entry.Checked());
      switches.emplace_back(action, entry.Checked);
    }
    action->setShortcuts(entry.Keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, [can = entry.Possible, run = entry.Run] {
      if (can()) run();
    });
    window->addAction(action);
    menu_->addAction(action);
    actions_.append(action);
    possible.push_back(std::move(entry.Possible));
  }
  // Greyed while the menu shows what cannot be done now; the keys are
  // checked when pressed, so every action is enabled again afterwards.
  connect(menu_, &QMenu::aboutToShow, this, [this, possible, switches] {
    for (qsizetype i = 0; i < actions_.size(); ++i)
      actions_[i]->setEnabled(possible[static_cast<std::size_t>(i)]());
    for (const auto& [action, on] : switches) action->setChecked(on());
  });
  connect(menu_, &QMenu::aboutToHide, this, [this] {
    for (QAction* action : actions_) action->setEnabled(true);
  });
  board->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(board, &QWidget::customContextMenuRequested, this,
          [this, board](const QPoint& at) { menu_->popup(board->mapToGlobal(at)); });
}

}  // namespace zerud
