// The settings kept between runs: what a damaged file gives, and the two
// windows set from the file and writing it back when the player changes them.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "app/KeptSettings.h"
#include "game/window/AnalysisControl.h"
#include "game/window/FormMain.h"
#include "game/window/HighContrast.h"
#include "network/FormReseau.h"
#include "platform/ErrorDisplay.h"
#include "sound/SoundEffects.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace Qt::StringLiterals;

class TestKeptSettings : public QObject {
  Q_OBJECT

 private slots:
  // Each row: the file's text, and the settings read from it.
  void damagedFiles_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("read");  // "opacity speed level mode sound analysis role name port"
    auto row = [](const char* name, const char* text, const char* read) {
      QTest::newRow(name) << QByteArray(text) << QString::fromUtf8(read);
    };
    const char* defaults = "210 2 2 machine son sans-analyse serveur [] 290672";
    row("no file", "", defaults);
    row("all set",
        "[options]\nopacite=120\nvitesse=35\nniveau=5\nmode=humains\nson=non\nanalyse=oui\n"
        "[reseau]\nrole=client\nserveur=jeu.local\nport=28528\n",
        "120 35 5 humains muet analyse client [jeu.local] 28528");
    row("out of range", "[options]\nopacite=99\nvitesse=36\nniveau=1\n", defaults);
    row("not numbers", "[options]\nopacite=abc\nvitesse=2.5\nniveau=\n", defaults);
    row("unknown words and keys",
        "[options]\nmode=robot\nson=1\nanalyse=1\ncouleur=verte\n[reseau]\nrole=pair\n[autre]\nx="
        "1\n",
        defaults);
    row("a name with a control character", "[reseau]\nserveur=\"a\\tb\"\n", defaults);
    row("a port that is no number", "[reseau]\nport=80a\n", defaults);
    row("not an ini file at all", "\x01\x02\xff\xfe garbage ===\n[[[", defaults);
  }

  void damagedFiles() {
    QFETCH(QByteArray, text);
    QFETCH(QString, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"options.ini"_s);
    if (!text.isEmpty()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    }
    QSettings stored(path, QSettings::IniFormat);
    const TKeptSettings kept = ReadKeptSettings(stored);
    QCOMPARE(u"%1 %2 %3 %4 %5 %6 %7 [%8] %9"_s.arg(kept.Opacity)
                 .arg(kept.Speed)
                 .arg(kept.Level)
                 .arg(kept.AgainstMachine ? "machine" : "humains", kept.Sound ? "son" : "muet",
                      kept.Analysis ? "analyse" : "sans-analyse",
                      kept.ClientRole ? "client" : "serveur", kept.ServerName, kept.Port),
             read);
  }

  // The player's changes are written as soon as the event loop runs; the
  // next run's windows start with them, and so does a file written by the
  // keeper read back alone.
  void roundTripThroughTheWindows() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"zerud-uravizera4/options.ini"_s);
    {
      TFormMain game(test::BuiltProgramFolder());
      game.SetProcessEnd([](int) {});
      TFormReseau network(game.GameLink());
      TSettingsKeeper keeper(game, network, path);
      QCOMPARE(test::Control<QSlider>(game, "tbNiveau")->value(), 2);
      test::Control<QSlider>(game, "tbNiveau")->setValue(5);
      test::Control<QSlider>(game, "tbVitesse")->setValue(35);
      test::Control<QRadioButton>(game, "cbJoueursHumains")->click();
      game.Sounds().SetOn(false);
      game.Analysis().SetOn(true);
      network.RadioClient->setChecked(true);
      network.RadioClientClick();
      network.EditNomServeur->setEditText(u"partie.local"_s);
      network.EditNumeroPort->setText(u"4000"_s);
      QCoreApplication::processEvents();
    }
    QSettings stored(path, QSettings::IniFormat);
    TKeptSettings expected;
    expected.Level = 5;
    expected.Speed = 35;
    expected.AgainstMachine = false;
    expected.Sound = false;
    expected.Analysis = true;
    expected.ClientRole = true;
    expected.ServerName = u"partie.local"_s;
    expected.Port = u"4000"_s;
    QCOMPARE(ReadKeptSettings(stored), expected);

    TFormMain game(test::BuiltProgramFolder());
    game.SetProcessEnd([](int) {});
    TFormReseau network(game.GameLink());
    TSettingsKeeper keeper(game, network, path);
    QCOMPARE(test::Control<QSlider>(game, "tbNiveau")->value(), 5);
    QCOMPARE(game.DropStep(), 35);
    QVERIFY(test::Control<QRadioButton>(game, "cbJoueursHumains")->isChecked());
    QVERIFY(!game.Sounds().On());
    QVERIFY(game.Analysis().On());
    QVERIFY(network.RadioClient->isChecked());
    QCOMPARE(network.EditNomServeur->currentText(), u"partie.local"_s);
    QCOMPARE(network.EditNumeroPort->text(), u"4000"_s);
  }

  // The high-contrast style follows the desktop until the player chooses;
  // only a choice is written, and it wins over the desktop from then on.
  void highContrastFollowsTheDesktopUntilChosen_data() {
    QTest::addColumn<QByteArray>("kept");  // the file's contraste value
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<bool>("on");
    QTest::newRow("no choice, plain desktop") << QByteArray() << false << false;
    QTest::newRow("no choice, desktop in high contrast") << QByteArray() << true << true;
    QTest::newRow("chosen on") << QByteArray("oui") << false << true;
    QTest::newRow("chosen off over the desktop") << QByteArray("non") << true << false;
    QTest::newRow("a word it does not know") << QByteArray("peut-etre") << true << true;
  }
  void highContrastFollowsTheDesktopUntilChosen() {
    QFETCH(QByteArray, kept);
    QFETCH(bool, desktop);
    QFETCH(bool, on);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"options.ini"_s);
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("[options]\ncontraste=" + kept + "\n");
    }
    TFormMain game(test::BuiltProgramFolder());
    game.SetProcessEnd([](int) {});
    TFormReseau network(game.GameLink());
    TSettingsKeeper keeper(game, network, path, [desktop] { return desktop; });
    QCOMPARE(game.HighContrast().On(), on);
    const auto written = [&path] {
      QSettings stored(path, QSettings::IniFormat);
      return stored.value(u"options/contraste"_s).toString();
    };
    test::Control<QSlider>(game, "tbVitesse")->setValue(20);
    QCoreApplication::processEvents();
    const bool chosen = kept == "oui" || kept == "non";
    QCOMPARE(written(), chosen ? QString::fromLatin1(kept) : QString());
    game.HighContrast().Choose(!on);
    QCoreApplication::processEvents();
    QCOMPARE(written(), on ? u"non"_s : u"oui"_s);
  }

  // A folder that cannot be written: the game goes on with what it has,
  // and says nothing of it.
  void unwritableFile() {
    QStringList shown;
    const TErrorDisplay previous = SetErrorDisplay([&shown](const QString& t) { shown << t; });
    TFormMain game(test::BuiltProgramFolder());
    game.SetProcessEnd([](int) {});
    TFormReseau network(game.GameLink());
    TSettingsKeeper keeper(game, network, u"/proc/zerud-uravizera4/options.ini"_s);
    test::Control<QSlider>(game, "tbNiveau")->setValue(4);
    QCoreApplication::processEvents();
    SetErrorDisplay(previous);
    QVERIFY(shown.isEmpty());
    QCOMPARE(test::Control<QSlider>(game, "tbNiveau")->value(), 4);
  }
};

QTEST_MAIN(TestKeptSettings)
#include "tst_KeptSettings.moc"
