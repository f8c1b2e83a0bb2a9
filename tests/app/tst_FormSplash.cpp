#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "app/FormSplash.h"
#include "assets/Pictures.h"
#include "controls/ButtonComps.h"

namespace zerud {

class TFormSplashTest : public QObject {
  Q_OBJECT

 private slots:
  // The picture on top, a black strip of 33 pixels below it with "Fermer"
  // (navy frame, light face, white caption); nothing else.
  void Pixels() {
    TFormSplash splash;
    QCOMPARE(splash.bnFermer->Caption(), QStringLiteral("Fermer"));
    QCOMPARE(splash.findChildren<QWidget*>().size(), 2);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage image = splash.grab().toImage();
    QCOMPARE(image.size(), QSize(387, 354));
    const QImage picture = SplashPicture().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(200, 160), QPoint(386, 320)})
      QCOMPARE(image.pixelColor(p), picture.pixelColor(p));
    for (const QPoint p : {QPoint(0, 321), QPoint(100, 340), QPoint(194, 353), QPoint(386, 326)})
      QCOMPARE(image.pixelColor(p), QColor(Qt::black));
    QCOMPARE(image.pixelColor(195, 327), QColor(0, 0, 128));
    QCOMPARE(image.pixelColor(386, 347), QColor(0, 0, 128));
    QCOMPARE(image.pixelColor(197, 329), QColor(128, 128, 192));
    int white = 0;
    for (int y = 328; y < 347; ++y)
      for (int x = 196; x < 386; ++x) white += image.pixelColor(x, y).lightness() > 200;
    QVERIFY2(white > 20, "the caption is drawn in white");
  }

  // ShowModal centres the window on the screen and returns once "Fermer" is
  // clicked.
  void FermerClosesTheModalSplash() {
    TFormSplash splash;
    QPoint shownAt;
    bool wasVisible = false;
    QTimer::singleShot(0, &splash, [&] {
      wasVisible = splash.isVisible();
      shownAt = splash.pos();
      QTest::mouseClick(splash.bnFermer, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
    });
    QTimer::singleShot(5000, &splash, [&splash] { splash.done(-99); });
    QVERIFY(splash.ShowModal() != -99);
    QVERIFY(wasVisible);
    QVERIFY(!splash.isVisible());
    const QRect screen = splash.screen()->geometry();
    QCOMPARE(shownAt,
             screen.topLeft() + QPoint((screen.width() - 387) / 2, (screen.height() - 354) / 2));
  }

  // Only "Fermer" ends the modal display, which is what lets the main window
  // come up: Escape and the window manager's close request leave the picture
  // shown and ShowModal waiting.
  void OnlyFermerCloses_data() {
    QTest::addColumn<std::function<void(TFormSplash&)>>("dismiss");
    QTest::newRow("Escape") << std::function<void(TFormSplash&)>(
        [](TFormSplash& splash) { QTest::keyClick(&splash, Qt::Key_Escape); });
    QTest::newRow("close request") << std::function<void(TFormSplash&)>(
        [](TFormSplash& splash) { splash.windowHandle()->close(); });
  }
  void OnlyFermerCloses() {
    QFETCH(std::function<void(TFormSplash&)>, dismiss);
    TFormSplash splash;
    bool returned = false;
    bool shownAfterDismiss = false;
    QTimer::singleShot(0, &splash, [&] { dismiss(splash); });
    QTimer::singleShot(100, &splash, [&] {
      shownAfterDismiss = splash.isVisible() && !returned;
      QTest::mouseClick(splash.bnFermer, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
    });
    QTimer::singleShot(5000, &splash, [&splash] { splash.done(-99); });
    const int result = splash.ShowModal();
    returned = true;
    QVERIFY(shownAfterDismiss);
    QVERIFY(result != -99);
    QVERIFY(!splash.isVisible());
  }
};

}  // namespace zerud

QTEST_MAIN(zerud::TFormSplashTest)
#include "tst_FormSplash.moc"
