#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "app/FormDialog.h"
#include "app/Shape.h"
#include "controls/ButtonComps.h"

namespace zerud {

class TFormDialogTest : public QObject {
  Q_OBJECT

 private:
  // Runs `answer` once the dialog's modal loop is running and returns what
  // ShowModal gave (-99 when the dialog never closed).
  static int Answer(TFormDialog& dialog, const std::function<void()>& answer) {
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
      QVERIFY(dialog.isVisible());
      answer();
    });
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(-99); });
    return dialog.ShowModal();
  }

  static void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
  }

 private slots:
  // The shape at the back, then the question, then the buttons; the
  // question's text exactly, and the buttons where the player clicks them.
  void Controls() {
    TFormDialog dialog;
    QList<QWidget*> order;
    for (QObject* child : dialog.children())
      if (auto* widget = qobject_cast<QWidget*>(child)) order << widget;
    QCOMPARE(order, (QList<QWidget*>{dialog.Shape1, dialog.Label1, dialog.bnOui, dialog.bnNon}));
    QCOMPARE(dialog.Label1->text(), QStringLiteral(" Êtes-vous sûr(e) de vouloir quitter \r\n"
                                                   " \"ZERUD URAVIZERA 4\" ?"));
    QCOMPARE(dialog.bnOui->Caption(), QStringLiteral("Oui"));
    QCOMPARE(dialog.bnOui->geometry(), QRect(110, 44, 60, 20));
    QCOMPARE(dialog.bnNon->Caption(), QStringLiteral("Non"));
    QCOMPARE(dialog.bnNon->geometry(), QRect(173, 44, 60, 20));
  }

  // What the player sees: the black outline, the light rectangle between the
  // question and the buttons, the blue question with white text on both
  // lines, the two buttons' faces.
  void Pixels() {
    TFormDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage image = dialog.grab().toImage();
    QCOMPARE(image.size(), QSize(236, 68));
    for (const QPoint p : {QPoint(0, 0), QPoint(235, 0), QPoint(0, 67), QPoint(235, 67),
                           QPoint(100, 0), QPoint(0, 30), QPoint(100, 67)})
      QCOMPARE(image.pixelColor(p), QColor(Qt::black));
    for (const QPoint p : {QPoint(1, 1), QPoint(2, 40), QPoint(50, 43), QPoint(50, 60),
                           QPoint(171, 55), QPoint(234, 66)})
      QCOMPARE(image.pixelColor(p), QColor(208, 223, 255));
    QCOMPARE(image.pixelColor(4, 4), QColor(0, 66, 217));
    QCOMPARE(image.pixelColor(232, 41), QColor(0, 66, 217));
    QCOMPARE(image.pixelColor(114, 48), QColor(144, 178, 255));
    QCOMPARE(image.pixelColor(176, 48), QColor(144, 178, 255));
    auto whiteIn = [&image](int top, int bottom) {
      int count = 0;
      for (int y = top; y < bottom; ++y)
        for (int x = 3; x < 233; ++x) count += image.pixelColor(x, y).lightness() > 200;
      return count;
    };
    QVERIFY(whiteIn(3, 22) > 50);
    QVERIFY(whiteIn(22, 42) > 50);
  }

  // "Oui" gives 1; "Non", Escape, closing or rejecting give 2; a press on a
  // button released outside it is no answer; no state is kept between
  // showings.
  void Results() {
    TFormDialog dialog;
    QCOMPARE(Answer(dialog, [&] { Click(dialog.bnOui); }), 1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Answer(dialog, [&] { Click(dialog.bnNon); }), 2);
    QCOMPARE(Answer(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), 2);
    QCOMPARE(Answer(dialog, [&] { dialog.close(); }), 2);
    QCOMPARE(Answer(dialog, [&] { dialog.reject(); }), 2);
    QCOMPARE(Answer(dialog,
                    [&] {
                      QTest::mousePress(dialog.bnOui, Qt::LeftButton, {}, QPoint(30, 10));
                      QTest::mouseRelease(dialog.bnOui, Qt::LeftButton, {}, QPoint(-40, 10));
                      QVERIFY(dialog.isVisible());
                      Click(dialog.bnNon);
                    }),
             2);
    QCOMPARE(Answer(dialog, [&] { Click(dialog.bnOui); }), 1);
  }

  void CentredOnTheMainWindowEachTime() {
    QWidget main;
    main.setFixedSize(800, 600);
    main.move(100, 40);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TFormDialog dialog;
    dialog.SetMainWindow(&main);
    for (const QPoint to : {QPoint(100, 40), QPoint(300, 120)}) {
      main.move(to);
      QPoint shownAt;
      Answer(dialog, [&] {
        shownAt = dialog.pos();
        Click(dialog.bnNon);
      });
      const QRect frame = main.frameGeometry();
      QCOMPARE(shownAt,
               frame.topLeft() + QPoint((frame.width() - 236) / 2, (frame.height() - 68) / 2));
    }
  }

  // Timers keep running while the confirmation waits, as the game clock does.
  void TimersTickWhileWaiting() {
    TFormDialog dialog;
    int ticks = 0;
    QTimer clock;
    connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
    clock.start(10);
    Answer(dialog, [&] { QTimer::singleShot(150, &dialog, [&dialog] { Click(dialog.bnNon); }); });
    QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
  }
};

}  // namespace zerud

QTEST_MAIN(zerud::TFormDialogTest)
#include "tst_FormDialog.moc"
