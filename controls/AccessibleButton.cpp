#include "controls/AccessibleButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>

#include "controls/ButtonComps.h"

namespace zerud {
namespace {

class TAccessibleButton : public QAccessibleWidget {
 public:
  explicit TAccessibleButton(TButtonControl* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text kind) const override {
    const auto* text = qobject_cast<const TTextButton*>(widget());
    switch (kind) {
      case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
        return text != nullptr ? text->Caption() : widget()->toolTip();
      case QAccessible::Description:
        if (!widget()->accessibleDescription().isEmpty()) return widget()->accessibleDescription();
        return widget()->toolTip();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  // A text button's own Enabled flag keeps it from acting, like the
  // toolkit's enabled state does for the picture buttons.
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (!Acts()) state.disabled = true;
    return state;
  }

  QStringList actionNames() const override {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action != pressAction()) {
      QAccessibleWidget::doAction(action);
      return;
    }
    if (!Acts()) return;
    QPointer<TButtonControl> button = static_cast<TButtonControl*>(widget());
    QTimer::singleShot(0, button, [button] {
      if (button && button->isEnabled()) emit button->OnClick();
    });
  }

 private:
  bool Acts() const {
    const auto* text = qobject_cast<const TTextButton*>(widget());
    return widget()->isEnabled() && (text == nullptr || text->Enabled());
  }
};

}  // namespace

QAccessibleInterface* AccessibleButtonFactory(const QString& className, QObject* object) {
  if (className != QLatin1String("zerud::TButtonControl")) return nullptr;
  auto* button = qobject_cast<TButtonControl*>(object);
  return button != nullptr ? new TAccessibleButton(button) : nullptr;
}

void InstallAccessibleButtons() {
  static const bool installed = [] {
    QAccessible::installFactory(AccessibleButtonFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace zerud
