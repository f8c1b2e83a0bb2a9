#include <QScreen>
#include <QtTest>

#include "app/FormBlack.h"

namespace zerud {

class TFormBlackTest : public QObject {
  Q_OBJECT

 private slots:
  void CoversTheScreenInBlack() {
    TFormBlack backdrop;
    QCOMPARE(backdrop.windowTitle(), QStringLiteral("Zerud uravizera 4"));
    QVERIFY(backdrop.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(backdrop.findChildren<QWidget*>().isEmpty());
    QVERIFY(!backdrop.isVisible());

    backdrop.ShowBackdrop();
    QVERIFY(backdrop.isVisible());
    QCOMPARE(backdrop.geometry(), backdrop.screen()->geometry());
    const QImage image = backdrop.grab().toImage();
    QCOMPARE(image.size(), backdrop.screen()->geometry().size());
    for (const QPoint p : {QPoint(0, 0), QPoint(image.width() / 2, image.height() / 2),
                           QPoint(image.width() - 1, image.height() - 1)})
      QCOMPARE(image.pixelColor(p), QColor(Qt::black));
  }

  // Activating the backdrop, or clicking it, brings the main window to the
  // front and activates it.
  void ActivationBringsTheMainWindowForward() {
    TFormBlack backdrop;
    QWidget main;
    main.resize(800, 600);
    QWidget other;
    backdrop.ShowBackdrop();
    main.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    // Without a main window the backdrop simply becomes active.
    backdrop.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &backdrop);

    backdrop.SetMainWindow(&main);
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    backdrop.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &main);

    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    QTest::mouseClick(&backdrop, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_COMPARE(QApplication::activeWindow(), &main);
  }

  // Before the main window is shown (the start-up picture is up), the
  // backdrop leaves it hidden.
  void AHiddenMainWindowStaysHidden() {
    TFormBlack backdrop;
    QWidget main;
    backdrop.SetMainWindow(&main);
    backdrop.ShowBackdrop();
    backdrop.FormActivate();
    QTest::mouseClick(&backdrop, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(!main.isVisible());

    // A main window that is gone is no harm either.
    auto* gone = new QWidget;
    backdrop.SetMainWindow(gone);
    delete gone;
    backdrop.FormActivate();
  }
};

}  // namespace zerud

QTEST_MAIN(zerud::TFormBlackTest)
#include "FormBlackTest.moc"
