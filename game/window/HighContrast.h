// The high-contrast style of the board: the white grid with black rims over
// a black background, the pieces marked by shape and always opaque, and the
// message log's persons marked the same way. The
// player switches it in the board's menu; until then it follows the desktop.
#pragma once

#include <QImage>
#include <QObject>
#include <functional>
#include <optional>

namespace zerud {

struct TGameParts;

class THighContrast : public QObject {
  Q_OBJECT

 public:
  // alsoSwitch: what else takes the style (the message log's pictures).
  THighContrast(TGameParts& parts, std::function<void(bool on)> alsoSwitch, QObject* parent);

  bool On() const { return on_; }
  // Shows the board in the style asked for.
  void SetOn(bool on);
  // The player's choice: shown, and kept from then on.
  void Choose(bool on);
  // The player's last choice, if any.
  std::optional<bool> Chosen() const { return chosen_; }

 signals:
  void Switched(bool on);

 private:
  TGameParts& parts_;
  std::function<void(bool)> alsoSwitch_;
  bool on_ = false;
  std::optional<bool> chosen_;
  // The background picture while the black one stands in for it.
  QImage background_;
};

}  // namespace zerud
