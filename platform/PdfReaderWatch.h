#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "platform/PdfReader.h"

class QProcess;
class QTimer;

namespace zerud {

// Knows whether a PDF reader is installed without making the window wait.
//
// xdg-mime is a shell script that may take a while, or hang; the game's
// clock and animations must not stop meanwhile. The watch asks it in the
// background as soon as it is created and keeps the answer; every question
// gets the last answer at once and starts a fresh query for the next one, so
// a reader installed while the game runs is seen from the following question.
class TPdfReaderWatch : public QObject {
  Q_OBJECT

 public:
  using TAnswer = std::function<void(bool installed)>;

  // Starts the first query; a query still running after timeoutMs counts as
  // "no default application" (the PATH is still searched).
  explicit TPdfReaderWatch(QObject* parent = nullptr, int timeoutMs = kPdfQueryTimeoutMs);
  ~TPdfReaderWatch() override;

  // Calls `answer` with whether a reader is installed: at once when an answer
  // is known, otherwise as soon as the first query ends.
  void Ask(TAnswer answer);

  // Whether an answer is known yet.
  bool Known() const { return installed_.has_value(); }

 private:
  void StartQuery();
  void QueryEnded(const QString& defaultApplication);

  int timeoutMs_;
  QProcess* query_ = nullptr;
  QTimer* deadline_ = nullptr;
  std::optional<bool> installed_;
  std::vector<TAnswer> waiting_;
};

}  // namespace zerud
