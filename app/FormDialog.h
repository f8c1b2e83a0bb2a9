#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;

namespace zerud {

class TEncartaButton;
class TShape;

// The quit confirmation: a small borderless window that stays on top,
// centred on the main window each time it is shown. Its modal result is 1
// for "Oui" (quit) and 2 for "Non" or any other way of closing it.
class TFormDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kOui = 1;
  static constexpr int kNon = 2;
  static constexpr int kClientWidth = 236;
  static constexpr int kClientHeight = 68;
  static inline const QString kCaption = QStringLiteral("Confirmation");
  // Two lines joined by a carriage return and a line feed.
  static inline const QString kQuestion =
      QStringLiteral(" Êtes-vous sûr(e) de vouloir quitter \r\n \"ZERUD URAVIZERA 4\" ?");

  explicit TFormDialog(QWidget* parent = nullptr);

  TShape* Shape1 = nullptr;
  QLabel* Label1 = nullptr;
  TEncartaButton* bnOui = nullptr;
  TEncartaButton* bnNon = nullptr;

  // The window the confirmation is centred on.
  void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

  // Centres the window on the main window and shows it modally; returns
  // kOui or kNon.
  int ShowModal();

  void bnOuiClick();
  void bnNonClick();

  // Escape, the window's close command and any other dismissal answer "Non".
  void reject() override;

 private:
  QPointer<QWidget> mainWindow_;
};

}  // namespace zerud
