#include <QDialog>
#include <QTimer>
#include <QtTest>

#include "app/Application.h"
#include "platform/ErrorDisplay.h"
#include "rules/Errors.h"

namespace zerud {
namespace {

// An object whose handler of the given event throws what it is told to.
class TThrower : public QObject {
 public:
  std::function<void()> toThrow;
  int handled = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) {
      ++handled;
      toThrow();
      return true;
    }
    return QObject::event(event);
  }
};

struct TNotAnError {};

}  // namespace

class TApplicationTest : public QObject {
  Q_OBJECT

 private:
  QStringList shown_;

 private slots:
  void init() {
    shown_.clear();
    SetErrorDisplay([this](const QString& text) { shown_ << text; });
  }
  void cleanup() { SetErrorDisplay({}); }

  void Title() {
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zerud uravizera4"));
    // The title is not added to every window's caption.
    QVERIFY(QGuiApplication::applicationDisplayName() == QStringLiteral("Zerud uravizera4") ||
            QGuiApplication::applicationDisplayName().isEmpty());
  }

  // The game's errors are shown with their French text; the loop goes on
  // and handles the next event.
  void AGameErrorIsShownAndTheLoopGoesOn() {
    TThrower thrower;
    thrower.toThrow = [] { throw TFileOpenError("/tmp/jeu/scores.txt"); };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTRY_COMPARE(thrower.handled, 2);
    QCOMPARE(shown_,
             (QStringList{QStringLiteral("Impossible d'ouvrir le fichier /tmp/jeu/scores.txt"),
                          QStringLiteral("Impossible d'ouvrir le fichier /tmp/jeu/scores.txt")}));
  }

  void AccentsSurviveTheTrip() {
    TThrower thrower;
    thrower.toThrow = [] { throw TConvertError("douze"); };
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(shown_, QStringList{QStringLiteral("'douze' n'est pas une valeur entière correcte")});
  }

  void OtherExceptions() {
    TThrower thrower;
    thrower.toThrow = [] { throw std::out_of_range("hors limites"); };
    QEvent first(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &first), false);
    thrower.toThrow = [] { throw TNotAnError{}; };
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &second);
    QCOMPARE(shown_, (QStringList{QStringLiteral("hors limites"), TApplication::kUnknownError}));
  }

  // A slot called by a timer throws: caught around the timer event, and the
  // timer keeps firing.
  void ASlotThatThrowsKeepsItsTimer() {
    QTimer timer;
    int fired = 0;
    connect(&timer, &QTimer::timeout, [&fired] {
      ++fired;
      throw TGameError("tic");
    });
    timer.start(5);
    QTRY_VERIFY(fired >= 3);
    timer.stop();
    QCOMPARE(shown_.size(), fired);
    QCOMPARE(shown_.first(), QStringLiteral("tic"));
  }

  // Inside a modal dialog's own loop (the quit confirmation), an error is
  // shown and the dialog keeps waiting for its answer.
  void ErrorsInsideAModalLoop() {
    QDialog dialog;
    TThrower thrower;
    thrower.toThrow = [] { throw TGameError("pendant la confirmation"); };
    bool stillOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
      QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
      QTimer::singleShot(50, &dialog, [&] {
        stillOpen = dialog.isVisible();
        dialog.done(2);
      });
    });
    QCOMPARE(dialog.exec(), 2);
    QVERIFY(stillOpen);
    QCOMPARE(shown_, QStringList{QStringLiteral("pendant la confirmation")});
  }
};

}  // namespace zerud

int main(int argc, char** argv) {
  zerud::TApplication application(argc, argv);
  zerud::TApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
