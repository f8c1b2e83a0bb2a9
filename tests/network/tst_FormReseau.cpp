// The network window: its layout, the roles, Connexion and its failures, the
// connection's states and texts, and the messages both ways, over a recording
// game against a plain socket; then whole games against a plain socket or a
// second copy of the game in the same process.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <cerrno>
#include <functional>
#include <tuple>

#include "NetTestSupport.h"
#include "controls/ButtonComps.h"
#include "network/LocalAddress.h"
#include "network/discovery/ServerList.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace zerud::test;
using State = TFormReseau::TConnectionState;

namespace {

const QString kDisconnected(" Déconnecté");
const QString kBadInteger("'%1' n'est pas une valeur entière correcte");

// A closed port: connecting to it is refused.
quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

QString Text(QWidget* widget) {
  if (auto* button = qobject_cast<TEncartaButton*>(widget)) return button->Caption();
  if (auto* box = qobject_cast<QComboBox*>(widget)) return box->currentText();
  return widget->property("text").toString();
}

bool NoColumnEnabled(const TSide& side) {
  for (int c = 0; c < kColumns; ++c)
    if (test::ColumnControl<TColumnTarget>(*side.main, c)->isEnabled()) return false;
  return true;
}

// A service as Avahi's resolver reports it, on interface 2 unless said.
void Resolved(TServerList& list, const char* name, const char* address, uint16_t port,
              AvahiIfIndex interface = 2) {
  AvahiAddress parsed{};
  if (!avahi_address_parse(address, AVAHI_PROTO_UNSPEC, &parsed)) qFatal("bad address %s", address);
  list.Found(interface, name, "local", &parsed, port);
}

// A service as Avahi's browser reports it gone.
void Left(TServerList& list, const char* name, AvahiIfIndex interface = 2) {
  list.Gone(interface, name, "local");
}

}  // namespace

class FormReseauTest : public QObject {
  Q_OBJECT
  QTcpServer rival_;  // holds a port, for Connexion to fail on

 private slots:
  void initTestCase() { QVERIFY(rival_.listen(QHostAddress::AnyIPv4, 0)); }

  void layout() {
    TShownErrors shown;
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    QCOMPARE(w.windowTitle(), QString("Réseau"));
    QCOMPARE(w.size(), QSize(312, 166));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!w.isVisible());

    const struct {
      QWidget* widget;
      QRect place;
      QString text;
    } controls[] = {
        {w.RadioServeur, {6, 6, 299, 22}, "Créer une partie en réseau [MODE SERVEUR] "},
        {w.RadioClient, {6, 27, 299, 22}, "Rejoindre une partie  en réseau [MODE CLIENT]"},
        {w.Label3, {8, 86, 91, 16}, "Nom du serveur"},
        {w.Label5, {8, 107, 90, 16}, "Numéro de port"},
        {w.EditNumeroPort, {115, 107, 189, 18}, "290672"},
        {w.EditNomServeur, {115, 86, 189, 18}, LocalComputerName()},
        {w.bnConnexion, {3, 139, 86, 22}, "Connexion"},
        {w.bnDeconnexion, {94, 139, 86, 22}, "Déconnexion"},
        {w.bnFermer, {241, 139, 68, 22}, "Fermer"},
    };
    for (const auto& c : controls) {
      if (auto* radio = qobject_cast<QRadioButton*>(c.widget)) {
        // The role boxes keep their place; a wider stand-in for Tahoma makes
        // them grow inside their panel, so the whole caption shows.
        QCOMPARE(radio->pos(), c.place.topLeft());
        QCOMPARE(radio->height(), c.place.height());
        QVERIFY(radio->width() >= c.place.width() && radio->geometry().right() < 308);
        QVERIFY2(radio->sizeHint().width() <= radio->width(), qPrintable(c.text));
      } else {
        QCOMPARE(c.widget->geometry(), c.place);
      }
      QCOMPARE(Text(c.widget), c.text);
    }
    for (TEncartaButton* b : {w.bnConnexion, w.bnDeconnexion, w.bnFermer}) {
      QCOMPARE(b->Color(), QColor(144, 178, 255));
      for (const QColor& dark : {b->ColorBorder(), b->ColorOver(), b->ColorDown()})
        QCOMPARE(dark, QColor(0, 66, 217));
      QCOMPARE(b->ColorOverCaption(), QColor(Qt::black));
      QCOMPARE(b->FontColor(), QColor(Qt::black));
      QVERIFY(b->Enabled());
    }
    QCOMPARE(w.bnFermer->toolTip(), QString("Fermer cette fenêtre"));
    QCOMPARE(w.LabelAdresseIP->pos(), QPoint(8, 65));
    QCOMPARE(w.RadioServeur->font().pixelSize(), 12);
    QCOMPARE(w.RadioClient->font().pixelSize(), 13);
    QCOMPARE(w.RadioClient->focusPolicy(), Qt::NoFocus);
    // A screen reader names the fields after their labels; the server's box
    // is labelled by its label (its own name is the text in it, as for every
    // combo box on Linux).
    const auto labels =
        QAccessible::queryAccessibleInterface(w.EditNomServeur)->relations(QAccessible::Label);
    QVERIFY(labels.size() == 1 && labels[0].first->text(QAccessible::Name) == "Nom du serveur");
    QCOMPARE(QAccessible::queryAccessibleInterface(w.EditNumeroPort)->text(QAccessible::Name),
             QString("Numéro de port"));
    QCOMPARE(w.RadioServeur->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.EditNumeroPort->font().family(), QString("Tahoma"));
    QCOMPARE(w.EditNumeroPort->font().pixelSize(), 13);
    QVERIFY(!w.EditNumeroPort->hasFrame());

    // Tab order: server name, port, client box, server box.
    QList<QWidget*> chain;
    for (QWidget* next = w.EditNomServeur->nextInFocusChain(); next != w.EditNomServeur;
         next = next->nextInFocusChain())
      if (next == w.EditNumeroPort || next == w.RadioClient || next == w.RadioServeur)
        chain << next;
    QCOMPARE(chain, (QList<QWidget*>{w.EditNumeroPort, w.RadioClient, w.RadioServeur}));

    // The panels: light blue with black outlines, darker behind the fields.
    const QImage image = w.grab().toImage();
    const struct {
      int x, y;
      QColor colour;
    } pixels[] = {{310, 100, {208, 223, 255}}, {0, 0, Qt::black},    {3, 30, Qt::black},
                  {200, 54, {208, 223, 255}},  {112, 95, Qt::black}, {113, 95, {144, 178, 255}},
                  {300, 115, {144, 178, 255}}};
    for (const auto& p : pixels) QCOMPARE(image.pixelColor(p.x, p.y), p.colour);
    QVERIFY(shown.texts.isEmpty());
  }

  void creationAndTheRoleBoxes() {
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    const QString address = ReachableAddress(HostToAddress(LocalComputerName()), LocalInterfaces());
    QCOMPARE(w.LabelAdresseIP->text(),
             "Votre adresse IP : " + (address.isEmpty() ? QString("introuvable") : address));
    QVERIFY(w.LabelAdresseIP->width() >= w.LabelAdresseIP->sizeHint().width());
    QVERIFY(w.RadioServeur->isChecked());
    QVERIFY(!w.EditNomServeur->isEnabled());
    QVERIFY(side.game.IsServer);
    QCOMPARE(side.Status(), QString());  // the game's own text stays
    QCOMPARE(w.ConnectionState(), State::Idle);

    // The window appears centred on the game's window.
    side.game.Window.setGeometry(100, 50, 802, 621);
    w.ShowNetworkWindow();
    QCOMPARE(w.pos(), QPoint(100 + (802 - 312) / 2, 50 + (621 - 166) / 2));
    for (int round = 0; round < 2; ++round) {
      QTest::mouseClick(w.RadioClient, Qt::LeftButton, {}, QPoint(10, 11));
      QVERIFY(w.RadioClient->isChecked());
      QVERIFY(w.EditNomServeur->isEnabled());
      QCOMPARE(w.EditNomServeur->currentText(), QString());
      QVERIFY(!side.game.IsServer);
      w.EditNomServeur->setEditText("serveur");
      // A second click on the chosen box is no change of role: the name stays.
      QTest::mouseClick(w.RadioClient, Qt::LeftButton, {}, QPoint(10, 11));
      QCOMPARE(w.EditNomServeur->currentText(), QString("serveur"));
      QVERIFY(!side.game.IsServer);
      QTest::mouseClick(w.RadioServeur, Qt::LeftButton, {}, QPoint(10, 11));
      QCOMPARE(w.EditNomServeur->currentText(), LocalComputerName());
      QVERIFY(!w.EditNomServeur->isEnabled());
      QVERIFY(side.game.IsServer);
    }
  }

  // The servers found on the local network, fed to the drop-down's list as
  // Avahi's resolvers and browser report them, in the client role over a
  // name the player has begun to type.
  void serversFoundOnTheLocalNetwork() {
    QTcpServer here;
    QVERIFY(here.listen(QHostAddress::LocalHost, 0));
    const uint16_t herePort = here.serverPort();
    QStringList fifty;
    for (int i = 0; i < 50; ++i)
      fifty << QString("s%1 (198.51.100.%2:28528)").arg(i, 2, 10, QChar('0')).arg(i + 1);
    fifty.removeAt(10);
    fifty.insert(49, "s55 (198.51.100.56:28528)");
    const struct {
      const char* name;
      std::function<void(TServerList&)> feed;
      QStringList rows;
      int choose = -1;  // then the fields hold the chosen row's address and port
      QString address = {};
      QString port = {};
    } cases[] = {
        {"name (address:port), by name",
         [](TServerList& l) {
           Resolved(l, "salon", "198.51.100.7", 28528);
           Resolved(l, "Bureau", "198.51.100.9", 4000);
         },
         {"Bureau (198.51.100.9:4000)", "salon (198.51.100.7:28528)"}},
        {"IPv4 only, with an address and a port",
         [](TServerList& l) {
           Resolved(l, "v6", "2001:db8::7", 28528);
           Resolved(l, "nulle part", "0.0.0.0", 28528);
           Resolved(l, "sans port", "198.51.100.7", 0);
         },
         {}},
        {"resolved again: the row follows, and leaves for IPv6",
         [](TServerList& l) {
           Resolved(l, "salon", "198.51.100.7", 28528);
           Resolved(l, "salon", "198.51.100.8", 4000);
           Resolved(l, "cuisine", "198.51.100.9", 28528);
           Resolved(l, "cuisine", "2001:db8::9", 28528);
         },
         {"salon (198.51.100.8:4000)"}},
        {"a server that goes away leaves, on its interface only",
         [](TServerList& l) {
           Resolved(l, "salon", "198.51.100.7", 28528, 2);
           Resolved(l, "salon", "203.0.113.7", 28528, 3);
           Resolved(l, "cuisine", "198.51.100.9", 28528);
           Left(l, "salon", 2);
           Left(l, "cuisine");
           Left(l, "jamais vu");
         },
         {"salon (203.0.113.7:28528)"}},
        {"control characters and markup as plain text",
         [](TServerList& l) {
           Resolved(l, "a\nb\tc\x1b[1m<b>d</b>\u202Ee\u200Bf\xff", "198.51.100.7", 28528);
         },
         {"a\uFFFDb\uFFFDc\uFFFD[1m<b>d</b>\uFFFDe\uFFFDf\uFFFD (198.51.100.7:28528)"}},
        {"a long name cut to 40 characters",
         [](TServerList& l) {
           Resolved(l, QByteArray(37, 'n').append("\u00E9\U0001F600\U0001F600xyz").constData(),
                    "198.51.100.7", 28528);
         },
         {QString(37, u'n') + "\u00E9\U0001F600\u2026 (198.51.100.7:28528)"}},
        {"at most 50, room again when one leaves",
         [](TServerList& l) {
           for (int i = 0; i < 60; ++i)
             Resolved(l, qPrintable(QString("s%1").arg(i, 2, 10, QChar('0'))),
                      qPrintable(QString("198.51.100.%1").arg(i + 1)), 28528);
           Left(l, "s10");
           Resolved(l, "s55", "198.51.100.56", 28528);
           Resolved(l, "s56", "198.51.100.57", 28528);
         },
         fifty},
        {"chosen: the address and the port fill the fields",
         [&](TServerList& l) {
           Resolved(l, "salon", "198.51.100.7", 4000);
           Resolved(l, "ici", "127.0.0.1", herePort);
         },
         {QString("ici (127.0.0.1:%1)").arg(herePort), "salon (198.51.100.7:4000)"},
         0,
         "127.0.0.1",
         QString::number(herePort)},
    };
    for (const auto& c : cases) {
      TShownErrors shown;
      TLoneWindow side;
      TFormReseau& w = *side.reseau;
      w.RadioClientClick();
      auto* list = qobject_cast<TServerList*>(w.EditNomServeur->model());
      QVERIFY2(list, c.name);
      QTest::keyClicks(w.EditNomServeur, "tap");
      c.feed(*list);
      QStringList rows;
      for (int row = 0; row < w.EditNomServeur->count(); ++row)
        rows << w.EditNomServeur->itemData(row, Qt::DisplayRole).toString();
      QVERIFY2(rows == c.rows, qPrintable(QString(c.name) + ": " + rows.join(" | ")));
      if (c.choose < 0) {
        // The list never writes into what the player types.
        QVERIFY2(w.EditNomServeur->currentText() == "tap", c.name);
        QVERIFY2(w.EditNumeroPort->text() == "290672", c.name);
        continue;
      }
      w.ShowNetworkWindow();
      w.EditNomServeur->showPopup();
      QAbstractItemView* view = w.EditNomServeur->view();
      QTRY_VERIFY(view->isVisible());
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                        view->visualRect(view->model()->index(c.choose, 0)).center());
      QTRY_VERIFY(!view->isVisible());
      QCOMPARE(w.EditNomServeur->currentText(), c.address);
      QCOMPARE(w.EditNumeroPort->text(), c.port);
      // The other server leaving changes nothing; Connexion connects there.
      Left(*list, "salon");
      QCOMPARE(w.EditNomServeur->currentText(), c.address);
      w.bnConnexionClick();
      QTRY_COMPARE(w.ConnectionState(), State::ClientConnected);
      QVERIFY(shown.texts.isEmpty());
    }
  }

  void connexionFailuresKeepTheStepsAlreadyMade_data() {
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("error");
    QTest::newRow("port not a number") << true << ""
                                       << "29O672" << kBadInteger.arg("29O672");
    QTest::newRow("port too large") << false << "127.0.0.1"
                                    << "4294967296" << kBadInteger.arg("4294967296");
    QTest::newRow("no server name") << false << ""
                                    << "290672"
                                    << "Aucune adresse spécifiée";
    QTest::newRow("port in use")
        << true << "" << QString::number(rival_.serverPort() + 65536 * 3)
        << QString("Erreur socket Windows : Adresse déjà utilisée (%1), avec l'API 'bind'")
               .arg(EADDRINUSE);
  }

  void connexionFailuresKeepTheStepsAlreadyMade() {
    QFETCH(bool, server);
    QFETCH(QString, name);
    QFETCH(QString, port);
    QFETCH(QString, error);
    TShownErrors shown;
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    if (server) {
      // An attempt of the client socket under way is closed before the port
      // text is read.
      w.ClientSocket->SetHost("127.0.0.1");
      w.ClientSocket->Open();
    } else {
      w.RadioClientClick();
      w.EditNomServeur->setEditText(name);
    }
    w.EditNumeroPort->setText(port);
    w.ShowNetworkWindow();
    w.bnConnexionClick();
    QCOMPARE(shown.texts, QStringList{error});
    // The steps before the failure stay made; the rest did not happen.
    QVERIFY(!w.ClientSocket->Opening());
    QVERIFY(side.game.NetworkGame);
    QVERIFY(side.game.MovesStopped);
    QVERIFY(!side.game.ModesEnabled);
    QCOMPARE(side.Status(), QString());
    QVERIFY(w.bnConnexion->Enabled());
    QVERIFY(w.isVisible());
    QCOMPARE(w.ConnectionState(), State::Idle);

    // Déconnexion gives the main window back.
    w.bnDeconnexionClick();
    QVERIFY(!side.game.NetworkGame);
    QVERIFY(side.game.ModesEnabled);
    QVERIFY(side.game.StartEnabled);
    QCOMPARE(side.Status(), kDisconnected);
    QVERIFY(!w.isVisible());
  }

  void serverLifecycle() {
    TShownErrors shown;
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    w.ShowNetworkWindow();
    const quint16 port = side.Listen();
    QCOMPARE(w.ConnectionState(), State::Listening);
    QCOMPARE(side.Status(), QString(" En attente de connexion"));
    QVERIFY(!w.isVisible());
    QVERIFY(!w.bnConnexion->Enabled());
    QVERIFY(w.bnDeconnexion->Enabled());
    QVERIFY(side.game.MovesStopped);

    // A chat line with nobody to hear it goes nowhere.
    w.SendChatLine("personne ?");

    TRawPeer first, second;
    QVERIFY(first.Connect(port));
    QTRY_COMPARE(w.ConnectionState(), State::ServerConnected);
    QCOMPARE(side.Status(), QString(" Serveur - Connecté"));
    QVERIFY(side.game.StartEnabled);

    // A second peer is turned away at once: it changes nothing, the status,
    // the column targets and the start button included, and the first peer
    // goes on.
    side.game.Status = "x";
    side.game.MovesStopped = side.game.StartEnabled = false;
    QSignalSpy secondGone(&second.socket, &QTcpSocket::disconnected);
    QVERIFY(second.Connect(port));
    second.Send("DATA_CHAT|du second");
    QTRY_COMPARE(secondGone.count(), 1);
    Pump(50);
    QCOMPARE(w.ServerActiveConnections(), 1);
    QCOMPARE(side.Status(), QString("x"));
    QVERIFY(!side.game.MovesStopped && !side.game.StartEnabled);
    QVERIFY(side.game.Received.isEmpty());
    w.SendChatLine("à toi");
    QTRY_COMPARE(first.received, QByteArray("DATA_CHAT|\xE0 toi"));
    QVERIFY(second.received.isEmpty());

    // Fermer keeps everything.
    w.ShowNetworkWindow();
    w.bnFermer->OnClick();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.ConnectionState(), State::ServerConnected);

    // The first peer leaves: everything closes.
    first.socket.disconnectFromHost();
    QTRY_COMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), kDisconnected);
    QVERIFY(!side.game.NetworkGame);
    QVERIFY(side.game.ModesEnabled);
    QVERIFY(w.bnConnexion->Enabled());
    QVERIFY(shown.texts.isEmpty());

    // Connexion again listens with the fields as they stand.
    const quint16 again = side.Listen();
    TRawPeer third;
    QVERIFY(third.Connect(again));
    QTRY_COMPARE(w.ConnectionState(), State::ServerConnected);

    // Déconnexion closes the server: later peers are refused.
    w.bnDeconnexion->OnClick();
    QCOMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), kDisconnected);
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, again);
    QVERIFY(!late.waitForConnected(2000));
    QCOMPARE(late.error(), QAbstractSocket::ConnectionRefusedError);
  }

  void clientLifecycle() {
    TShownErrors shown;
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    // A refused connection shows only in the status.
    side.Join(ClosedPort());
    QTRY_COMPARE(side.Status(), kDisconnected);
    QCOMPARE(w.ConnectionState(), State::Idle);
    QVERIFY(w.bnConnexion->Enabled());

    QTcpServer peerServer;
    QVERIFY(peerServer.listen(QHostAddress::LocalHost, 0));
    w.EditNumeroPort->setText(QString::number(peerServer.serverPort()));
    w.bnConnexionClick();
    QCOMPARE(side.Status(), QString(" Connexion en cours"));
    QCOMPARE(w.ConnectionState(), State::Connecting);
    QVERIFY(!side.game.IsServer);
    QTRY_COMPARE(w.ConnectionState(), State::ClientConnected);
    QCOMPARE(side.Status(), QString(" Client - Connecté"));
    QVERIFY(side.game.StartEnabled);
    QTRY_VERIFY(peerServer.hasPendingConnections());
    std::unique_ptr<QTcpSocket> peer(peerServer.nextPendingConnection());
    w.SendChatLine("oui");
    QTRY_COMPARE(peer->bytesAvailable(), 13);
    QCOMPARE(peer->readAll(), QByteArray("DATA_CHAT|oui"));

    peer->disconnectFromHost();
    QTRY_COMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), kDisconnected);
    QVERIFY(!side.game.NetworkGame);
    QVERIFY(shown.texts.isEmpty());

    // Déconnexion while connecting abandons the attempt for good.
    w.bnConnexionClick();
    QCOMPARE(w.ConnectionState(), State::Connecting);
    w.bnDeconnexionClick();
    Pump(200);
    QCOMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), kDisconnected);
  }

  // The role boxes, the port and the server's name are locked while a
  // connection is open or opening, and only then: a role switched under an
  // open connection sent the moves to the socket without a peer.
  void fieldsLockedWhileAConnectionIsOpen() {
    TShownErrors shown;
    TLoneWindow side;
    TFormReseau& w = *side.reseau;
    QTcpServer peerServer;
    QVERIFY(peerServer.listen(QHostAddress::LocalHost, 0));
    TRawPeer peer;
    quint16 port = 0;
    const struct {
      const char* step;
      std::function<void()> action;
      State state;
      bool locked;
      bool nameEnabled;
    } steps[] = {
        {"Connexion fails on the port text",
         [&] {
           w.EditNumeroPort->setText("x");
           w.bnConnexionClick();
         },
         State::Idle, false, false},
        {"listening", [&] { port = side.Listen(); }, State::Listening, true, false},
        {"server connected", [&] { peer.Connect(port); }, State::ServerConnected, true, false},
        {"the peer leaves", [&] { peer.socket.disconnectFromHost(); }, State::Idle, false, false},
        {"connecting", [&] { side.Join(peerServer.serverPort()); }, State::Connecting, true, false},
        {"client connected", [] {}, State::ClientConnected, true, false},
        {"Déconnexion", [&] { w.bnDeconnexionClick(); }, State::Idle, false, true},
    };
    for (const auto& step : steps) {
      step.action();
      QTRY_COMPARE(w.ConnectionState(), step.state);
      for (QWidget* field :
           std::initializer_list<QWidget*>{w.RadioServeur, w.RadioClient, w.EditNumeroPort})
        QVERIFY2(field->isEnabled() == !step.locked, step.step);
      QVERIFY2(w.EditNomServeur->isEnabled() == step.nameEnabled, step.step);
      if (!step.locked) continue;
      // A click on the other role box changes nothing.
      const bool server = side.game.IsServer;
      QTest::mouseClick(server ? w.RadioClient : w.RadioServeur, Qt::LeftButton, {},
                        QPoint(10, 11));
      QVERIFY2(side.game.IsServer == server, step.step);
    }
    QCOMPARE(shown.texts, QStringList{kBadInteger.arg("x")});
  }

  // The exact bytes of a game against a plain socket.
  void messagesOnTheWire() {
    TServedPeer s;
    QVERIFY(s.Connect());
    TSide& side = s.side;
    TRawPeer& peer = s.peer;

    side.main->bnStartClick();
    QVERIFY(peer.Expect("INIT|xxx"));
    QCOMPARE(side.Log(), (QStringList{"DEBUT DE LA PARTIE", "MODE MULTI-JOUEURS",
                                      "Vous commencez la partie", ""}));
    side.main->Colonne0Click(4);
    QVERIFY(peer.Expect("DATA_GAME|4"));
    QVERIFY(!test::ColumnControl<TColumnTarget>(*side.main, 4)->isEnabled());

    peer.Send("DATA_GAME|4");
    QTRY_VERIFY(side.main->GridText().mid(28, 7) == "0000200");
    QTRY_VERIFY(side.Idle());
    QCOMPARE(side.Log().constLast(), QString("[ADVERSAIRE-2] : Adversaire a joué la colonne n°4"));
    QVERIFY(test::ColumnControl<TColumnTarget>(*side.main, 0)->isEnabled());
    QVERIFY(!test::Control<TImageButton>(*side.main, "bnStart")->Enabled());

    peer.Send(
        "DATA_CHAT|\xC7"
        "a va ? | oui");
    QTRY_COMPARE(test::Control<TChatMemo>(*side.main, "MemoChat")->toPlainText(),
                 QString("Ça va ? \n"));
    test::Control<TChatField>(*side.main, "EditChat")->setText("Très bien, 5 €");
    side.main->bnEnvoyerChatClick();
    QVERIFY(peer.Expect(QByteArray("DATA_CHAT|Tr\xE8s bien, 5 \x80")));

    // The peer starts a game of its own in the middle of this one.
    peer.Send("INIT|xxx");
    QTRY_COMPARE(side.Log(), (QStringList{"DEBUT DE LA PARTIE", "MODE MULTI-JOUEURS",
                                          "Votre adversaire commence la partie", ""}));
    QCOMPARE(side.main->GridText(), QString(42, u'0'));
    QVERIFY(NoColumnEnabled(side));
    peer.Send("DATA_FIN|");
    QTRY_VERIFY(side.main->Game().GameOver());
    QVERIFY(s.shown.texts.isEmpty());
  }

  void receivedMessagesEdgeCases() {
    TServedPeerOf<TLoneWindow> s;
    QVERIFY(s.Connect());
    TRecordingGame& game = s.side.game;
    TFormReseau& w = *s.side.reseau;

    // Anything at all disables the start button; unknown commands do no more.
    game.StartEnabled = true;
    w.ProcessNetMessage("init|xxx");
    QVERIFY(!game.StartEnabled);
    QVERIFY(game.Received.isEmpty());
    // An empty read is ignored.
    game.StartEnabled = true;
    w.ProcessNetMessage("");
    QVERIFY(game.StartEnabled);

    w.ProcessNetMessage("INIT");
    QCOMPARE(game.Received, QStringList{"start"});
    game.Received.clear();
    // A number outside the grid never reaches the game; a text that is no
    // number goes to the game, which reports it in its turn.
    for (const char* bad : {"DATA_GAME|7", "DATA_GAME|-1", "DATA_GAME|03", "DATA_GAME|10",
                            "DATA_GAME|", "DATA_GAME", "DATA_GAME|x"})
      w.ProcessNetMessage(bad);
    QCOMPARE(game.Received, (QStringList{"move ", "move ", "move x"}));
    game.Received.clear();
    // Through the socket, stranger columns: numbers stop here, the rest goes on.
    for (const char* bad : {"DATA_GAME|2147483648", "DATA_GAME|3.0", "DATA_GAME|+3", "DATA_GAME| 3",
                            "DATA_GAME|\xB3", "DATA_GAME|33", "DATA_GAME|999999999999999999999"})
      QVERIFY(s.SendAndSettle(bad));
    QCOMPARE(game.Received, (QStringList{"move 2147483648", "move 3.0", "move \u00B3",
                                         "move 999999999999999999999"}));
    QVERIFY(s.shown.texts.isEmpty());
    game.Received.clear();

    // Chat: empty lines count, and only up to the first "|".
    for (const char* chat : {"DATA_CHAT", "DATA_CHAT|", "DATA_CHAT|a|b|"})
      w.ProcessNetMessage(chat);
    QCOMPARE(game.Received, (QStringList{"chat ", "chat ", "chat a"}));
  }

  // A chat line and a move sent right behind it reach the other copy in one
  // read: both are taken, in order, whichever side sends.
  void chatLineAndMoveInOneRead() {
    TShownErrors shown;
    TSide a, b;
    QVERIFY(ConnectTwoCopies(a, b));
    a.main->bnStartClick();
    QTRY_COMPARE(b.Log().value(2), QString("Votre adversaire commence la partie"));
    // No event runs between the two sends; each goes in the peer's turn.
    auto send = [](TSide& sender, TSide& receiver, int column) {
      sender.reseau->SendNetMessage("DATA_CHAT", "salut");
      sender.reseau->SendNetMessage("DATA_GAME", QString::number(column));
      return QTest::qWaitFor(
          [&] { return receiver.Idle() && receiver.main->GridText().mid(35)[column] != u'0'; });
    };
    QVERIFY(send(a, b, 2));
    // a plays the same column through its game, so that b's answer is in turn;
    // b, whose turn it is, takes that second copy for nothing.
    a.main->Colonne0Click(2);
    QVERIFY(send(b, a, 4));
    QCOMPARE(test::Control<TChatMemo>(*a.main, "MemoChat")->toPlainText(), QString("salut\n"));
    QCOMPARE(test::Control<TChatMemo>(*b.main, "MemoChat")->toPlainText(), QString("salut\n"));
    QCOMPARE(a.main->GridText().mid(35), QString("0010200"));
    QCOMPARE(b.main->GridText().mid(35), QString("0010000"));
    QVERIFY(shown.texts.isEmpty());
  }

  // Chat lines that hold each command word, sent while the receiver is to
  // move and while it waits: chat lines on both sides, whole and alike, and
  // neither grid changes.
  void chatLinesWithCommandWordsStayChat() {
    TShownErrors shown;
    TSide a, b;
    QVERIFY(ConnectTwoCopies(a, b));
    a.main->bnStartClick();
    QTRY_COMPARE(b.Log().value(2), QString("Votre adversaire commence la partie"));
    a.main->Colonne0Click(4);
    QTRY_VERIFY(b.Idle() && b.main->GridText() == a.main->GridText());
    const QString grid = a.main->GridText();
    const QStringList typed = {"regarde DATA_GAME|0", "INIT|xxx", "fin DATA_FIN|",
                               "DATA_CHAT|DATA_GAME|6", "αβγ Привет 中文 😀"};
    QString expected;
    for (const QString& line : typed) expected += QString(line).replace(u'|', u'\u00A6') + u'\n';
    expected.replace(QString("αβγ Привет 中文 😀"), QString("??? ?????? ?? ?"));
    for (TSide* sender : {&a, &b}) {
      for (const QString& line : typed) {
        test::Control<TChatField>(*sender->main, "EditChat")->setText(line);
        sender->main->bnEnvoyerChatClick();
        // Sent one by one, as a player would: each its own read.
        Pump(30);
      }
      if (sender == &a)
        QTRY_COMPARE(test::Control<TChatMemo>(*b.main, "MemoChat")->toPlainText(), expected);
    }
    QTRY_COMPARE(test::Control<TChatMemo>(*b.main, "MemoChat")->toPlainText(), expected + expected);
    QTRY_COMPARE(test::Control<TChatMemo>(*a.main, "MemoChat")->toPlainText(), expected + expected);
    QCOMPARE(a.main->GridText(), grid);
    QCOMPARE(b.main->GridText(), grid);
    QVERIFY(test::ColumnControl<TColumnTarget>(*b.main, 0)->isEnabled());
    QVERIFY(shown.texts.isEmpty());
  }

  // Two copies of the game, one server and one client, play whole games.
  void twoCopiesPlayWholeGames() {
    TShownErrors shown;
    TSide a, b;
    QVERIFY(ConnectTwoCopies(a, b));

    // Game 1: the server begins and wins in column 0.
    a.main->bnStartClick();
    QTRY_COMPARE(b.Log().value(2), QString("Votre adversaire commence la partie"));
    QCOMPARE(a.Log().value(2), QString("Vous commencez la partie"));
    PlayGame(a, b, {0, 1, 0, 1, 0, 1, 0});
    QVERIFY(a.Log().contains("Bravo, vous avez gagné !"));
    QVERIFY(b.Log().contains("Désolé, vous avez perdu !"));
    QVERIFY(b.Log().contains("[ADVERSAIRE-1] : Adversaire a joué la colonne n°0"));
    QVERIFY(b.Log().contains("[HUMAIN-2] : Je joue la colonne n° 1"));
    QTRY_VERIFY(test::Control<TImageButton>(*a.main, "bnStart")->Enabled() &&
                test::Control<TImageButton>(*b.main, "bnStart")->Enabled());

    // Game 2: the client begins and the grid fills without a four.
    b.main->bnStartClick();
    QTRY_COMPARE(a.Log().value(2), QString("Votre adversaire commence la partie"));
    PlayGame(b, a, {3, 3, 0, 2, 5, 4, 5, 6, 4, 2, 2, 3, 3, 5, 5, 2, 2, 4, 3, 3, 1,
                    1, 2, 1, 5, 5, 0, 4, 0, 4, 4, 6, 6, 6, 6, 0, 1, 0, 6, 0, 1, 1});
    // The score counts both games by player, each side's own wins first:
    // the server won the first.
    QCOMPARE(a.Log().mid(a.Log().size() - 2),
             QStringList({"Egalité !", "Score : 1 - 0, 1 nul(s)"}));
    QCOMPARE(b.Log().mid(b.Log().size() - 2),
             QStringList({"Egalité !", "Score : 0 - 1, 1 nul(s)"}));
    QCOMPARE(test::Control<QLabel>(*a.main, "lbScore")->text(), QString("1-0"));
    QCOMPARE(test::Control<QLabel>(*b.main, "lbScore")->text(), QString("0-1"));

    // Chat both ways, accents and "|" included; each side shows its own
    // lines as the other side does.
    test::Control<TChatField>(*a.main, "EditChat")->setText("Bien joué | encore ?");
    a.main->bnEnvoyerChatClick();
    QTRY_COMPARE(test::Control<TChatMemo>(*b.main, "MemoChat")->toPlainText(),
                 QString("Bien joué \n"));
    test::Control<TChatField>(*b.main, "EditChat")->setText("Oui, volontiers… œuf");
    b.main->bnEnvoyerChatClick();
    QTRY_COMPARE(test::Control<TChatMemo>(*a.main, "MemoChat")->toPlainText(),
                 QString("Bien joué \nOui, volontiers… œuf\n"));
    QCOMPARE(test::Control<TChatMemo>(*b.main, "MemoChat")->toPlainText(),
             QString("Bien joué \nOui, volontiers… œuf\n"));

    // Déconnexion on the client: both sides end up disconnected.
    b.reseau->bnDeconnexionClick();
    QTRY_COMPARE(a.reseau->ConnectionState(), State::Idle);
    QCOMPARE(a.Status(), kDisconnected);
    QCOMPARE(b.Status(), kDisconnected);
    QVERIFY(shown.texts.isEmpty());
  }

 private:
  // a serves, b joins it.
  static bool ConnectTwoCopies(TSide& a, TSide& b) {
    b.Join(a.Listen());
    return QTest::qWaitFor([&] {
      return a.reseau->ConnectionState() == State::ServerConnected &&
             b.reseau->ConnectionState() == State::ClientConnected;
    });
  }

  // Plays the columns in turn, `first` beginning, and checks after every move
  // that both grids are equal.
  void PlayGame(TSide& first, TSide& second, const std::vector<int>& columns) {
    TSide* mover = &first;
    TSide* other = &second;
    for (int column : columns) {
      QTRY_VERIFY(mover->Idle() &&
                  test::ColumnControl<TColumnTarget>(*mover->main, column)->isEnabled());
      mover->main->Colonne0Click(column);
      QTRY_VERIFY_WITH_TIMEOUT(other->Idle() && other->main->GridText() == mover->main->GridText(),
                               10000);
      std::swap(mover, other);
    }
    QTRY_VERIFY_WITH_TIMEOUT(first.Idle() && second.Idle(), 20000);
    QVERIFY(first.main->Game().GameOver());
    QVERIFY(second.main->Game().GameOver());
  }
};

QTEST_MAIN(FormReseauTest)
#include "tst_FormReseau.moc"
