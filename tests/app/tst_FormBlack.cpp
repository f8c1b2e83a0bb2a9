#include <QScreen>
#include <QtTest>

#include "app/FormBlack.h"

namespace zerud {

class TFormBlackTest : public QObject {
  Q_OBJECT

 private slots:
  void CoversTheScreenInBlack() {
    TFormBlack backdrop;
    backdrop.ShowBackdrop();
    QCOMPARE(backdrop.geometry(), backdrop.screen()->geometry());
    const QImage image = backdrop.grab().toImage();
    QCOMPARE(image.size(), backdrop.screen()->geometry().size());
    for (const QPoint p : {QPoint(0, 0), QPoint(image.width() / 2, image.height() / 2),
                           QPoint(image.width() - 1, image.height() - 1)})
      QCOMPARE(image.pixelColor(p), QColor(Qt::black));
  }

  // Activating the backdrop, or clicking it, brings the main window to the
  // front and activates it; without a main window the backdrop simply
  // becomes active.
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
    backdrop.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &backdrop);

    backdrop.SetMainWindow(&main);
    for (bool click : {false, true}) {
      other.activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), &other);
      if (click)
        QTest::mouseClick(&backdrop, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
      else
        backdrop.activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), &main);
    }
  }

  // While the start-up picture is up, the backdrop leaves the hidden main
  // window hidden; a main window that is gone is no harm either.
  void AHiddenMainWindowStaysHidden() {
    TFormBlack backdrop;
    QWidget main;
    backdrop.SetMainWindow(&main);
    backdrop.ShowBackdrop();
    backdrop.FormActivate();
    QTest::mouseClick(&backdrop, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(!main.isVisible());
    auto* gone = new QWidget;
    backdrop.SetMainWindow(gone);
    delete gone;
    backdrop.FormActivate();
  }
};

}  // namespace zerud

QTEST_MAIN(zerud::TFormBlackTest)
#include "tst_FormBlack.moc"
