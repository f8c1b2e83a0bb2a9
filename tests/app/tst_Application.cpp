#include <QDialog>
#include <QTimer>
#include <QtTest>

#include "app/Application.h"
#include "platform/ErrorDisplay.h"
#include "rules/Errors.h"

namespace zerud {
namespace {

// An object whose handler of the user event throws what it is told to.
class TThrower : public QObject {
 public:
  std::function<void()> toThrow;
  int handled = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++handled;
    toThrow();
    return true;
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

  // The title is not added to every window's caption.
  void Title() {
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zerud uravizera4"));
    QVERIFY(QGuiApplication::applicationDisplayName() == QStringLiteral("Zerud uravizera4") ||
            QGuiApplication::applicationDisplayName().isEmpty());
  }

  // An exception escaping a handler is shown with its text (the game's own
  // in French, accents intact) and the loop goes on with the next event.
  void ErrorsAreShownAndTheLoopGoesOn_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("game error") << 0 << "Impossible d'ouvrir le fichier /tmp/jeu/scores.txt";
    QTest::newRow("accents") << 1 << "'douze' n'est pas une valeur entière correcte";
    QTest::newRow("standard exception") << 2 << "hors limites";
    QTest::newRow("anything else") << 3 << TApplication::kUnknownError;
  }
  void ErrorsAreShownAndTheLoopGoesOn() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    TThrower thrower;
    thrower.toThrow = [kind] {
      if (kind == 0) throw TFileOpenError("/tmp/jeu/scores.txt");
      if (kind == 1) throw TConvertError("douze");
      if (kind == 2) throw std::out_of_range("hors limites");
      throw TNotAnError{};
    };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTRY_COMPARE(thrower.handled, 2);
    QCOMPARE(shown_, (QStringList{text, text}));
    QEvent sent(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &sent), false);
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
    QCOMPARE(shown_, QStringList(fired, QStringLiteral("tic")));
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

#include "tst_Application.moc"
