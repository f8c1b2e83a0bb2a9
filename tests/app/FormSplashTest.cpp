#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "app/FormSplash.h"
#include "assets/Pictures.h"
#include "controls/ButtonComps.h"

namespace zerud {

class TFormSplashTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowAndPicture() {
    TFormSplash splash;
    QCOMPARE(splash.windowTitle(), QStringLiteral("Zerud uravizera4"));
    QCOMPARE(splash.size(), QSize(387, 354));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash.Image1->geometry(), QRect(0, 0, 387, 321));
    QCOMPARE(splash.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             SplashPicture().convertToFormat(QImage::Format_RGB32));
    QVERIFY(!splash.isVisible());
  }

  void Button() {
    TFormSplash splash;
    TSelButton* button = splash.bnFermer;
    QCOMPARE(button->objectName(), QStringLiteral("bnFermer"));
    QCOMPARE(button->Caption(), QStringLiteral("Fermer"));
    QCOMPARE(button->geometry(), QRect(195, 327, 193, 21));
    QCOMPARE(button->Alignment(), TSelButton::kAlignCenter);
    // The picture and the button are the only controls.
    QCOMPARE(splash.findChildren<QWidget*>().size(), 2);
  }

  // The picture on top, a black strip of 33 pixels below it with the button.
  void Pixels() {
    TFormSplash splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage image = splash.grab().toImage();
    const QImage picture = SplashPicture().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(200, 160), QPoint(386, 320)})
      QCOMPARE(image.pixelColor(p), picture.pixelColor(p));
    for (const QPoint p : {QPoint(0, 321), QPoint(100, 340), QPoint(194, 353), QPoint(386, 326)})
      QCOMPARE(image.pixelColor(p), QColor(Qt::black));
    // The button's navy frame and its face.
    QCOMPARE(image.pixelColor(195, 327), QColor(0, 0, 128));
    QCOMPARE(image.pixelColor(387 - 1, 347), QColor(0, 0, 128));
    QCOMPARE(image.pixelColor(197, 329), QColor(128, 128, 192));
    int white = 0;
    for (int y = 328; y < 347; ++y)
      for (int x = 196; x < 386; ++x)
        if (image.pixelColor(x, y).lightness() > 200) ++white;
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
    const int result = splash.ShowModal();
    QVERIFY(result != -99);
    QVERIFY(wasVisible);
    QVERIFY(!splash.isVisible());
    const QRect screen = splash.screen()->geometry();
    QCOMPARE(shownAt, QPoint(screen.x() + (screen.width() - 387) / 2,
                             screen.y() + (screen.height() - 354) / 2));
  }
};

}  // namespace zerud

QTEST_MAIN(zerud::TFormSplashTest)
#include "FormSplashTest.moc"
