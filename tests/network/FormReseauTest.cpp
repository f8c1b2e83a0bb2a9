// The network window: its layout, the roles, Connexion and its failures, the
// connection's states and texts, and the messages both ways, against a plain
// socket or a second copy of the game in the same process.
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTcpServer>

#include "NetTestSupport.h"
#include "controls/ButtonComps.h"
#include "network/LocalAddress.h"
#include "rules/Board.h"

using namespace zerud;
using namespace zerud::test;
using State = TFormReseau::TConnectionState;

namespace {

QRgb Pixel(QWidget& widget, int x, int y) { return widget.grab().toImage().pixel(x, y); }

}  // namespace

class FormReseauTest : public QObject {
  Q_OBJECT

 private slots:
  void layout() {
    TShownErrors shown;
    TSide side;
    TFormReseau& w = *side.reseau;
    QCOMPARE(w.windowTitle(), QString("Réseau"));
    QCOMPARE(w.size(), QSize(312, 166));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!w.isVisible());

    QCOMPARE(w.RadioServeur->text(), QString("Créer une partie en réseau [MODE SERVEUR] "));
    QCOMPARE(w.RadioClient->text(), QString("Rejoindre une partie  en réseau [MODE CLIENT]"));
    QCOMPARE(w.RadioServeur->geometry(), QRect(6, 6, 299, 22));
    QCOMPARE(w.RadioClient->geometry(), QRect(6, 27, 299, 22));
    QCOMPARE(w.RadioServeur->font().pixelSize(), 12);
    QCOMPARE(w.RadioClient->font().pixelSize(), 13);
    QCOMPARE(w.RadioClient->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w.RadioServeur->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.Label3->text(), QString("Nom du serveur"));
    QCOMPARE(w.Label3->geometry(), QRect(8, 86, 91, 16));
    QCOMPARE(w.Label5->text(), QString("Numéro de port"));
    QCOMPARE(w.Label5->geometry(), QRect(8, 107, 90, 16));
    QCOMPARE(w.LabelAdresseIP->pos(), QPoint(8, 65));
    QCOMPARE(w.EditNomServeur->geometry(), QRect(115, 86, 189, 18));
    QCOMPARE(w.EditNumeroPort->geometry(), QRect(115, 107, 189, 18));
    QCOMPARE(w.EditNumeroPort->text(), QString("290672"));
    QCOMPARE(w.EditNumeroPort->font().family(), QString("Tahoma"));
    QCOMPARE(w.EditNumeroPort->font().pixelSize(), 13);
    QVERIFY(!w.EditNumeroPort->hasFrame());

    struct {
      TEncartaButton* button;
      const char* caption;
      QRect place;
    } const buttons[] = {{w.bnConnexion, "Connexion", {3, 139, 86, 22}},
                         {w.bnDeconnexion, "Déconnexion", {94, 139, 86, 22}},
                         {w.bnFermer, "Fermer", {241, 139, 68, 22}}};
    for (const auto& b : buttons) {
      QCOMPARE(b.button->Caption(), QString(b.caption));
      QCOMPARE(b.button->geometry(), b.place);
      QCOMPARE(b.button->Color(), QColor(144, 178, 255));
      QCOMPARE(b.button->ColorBorder(), QColor(0, 66, 217));
      QCOMPARE(b.button->ColorOver(), QColor(0, 66, 217));
      QCOMPARE(b.button->ColorDown(), QColor(0, 66, 217));
      QCOMPARE(b.button->ColorOverCaption(), QColor(Qt::black));
      QCOMPARE(b.button->FontColor(), QColor(Qt::black));
      QVERIFY(b.button->Enabled());
    }
    QCOMPARE(w.bnFermer->toolTip(), QString("Fermer cette fenêtre"));

    // Tab order: server name, port, client box, server box.
    QList<QWidget*> chain;
    for (QWidget* next = w.EditNomServeur->nextInFocusChain(); next != w.EditNomServeur;
         next = next->nextInFocusChain())
      if (next == w.EditNumeroPort || next == w.RadioClient || next == w.RadioServeur)
        chain << next;
    QCOMPARE(chain, (QList<QWidget*>{w.EditNumeroPort, w.RadioClient, w.RadioServeur}));

    // The panels: light blue with black outlines, darker behind the fields.
    QCOMPARE(QColor(Pixel(w, 310, 100)), QColor(208, 223, 255));
    QCOMPARE(QColor(Pixel(w, 0, 0)), QColor(Qt::black));
    QCOMPARE(QColor(Pixel(w, 3, 30)), QColor(Qt::black));
    QCOMPARE(QColor(Pixel(w, 200, 54)), QColor(208, 223, 255));
    QCOMPARE(QColor(Pixel(w, 112, 95)), QColor(Qt::black));
    QCOMPARE(QColor(Pixel(w, 113, 95)), QColor(144, 178, 255));
    QCOMPARE(QColor(Pixel(w, 300, 115)), QColor(144, 178, 255));
    QVERIFY(shown.texts.isEmpty());
  }

  void creationShowsTheAddressAndSelectsTheServerRole() {
    TSide side;
    TFormReseau& w = *side.reseau;
    QVERIFY(w.LabelAdresseIP->text().startsWith("Votre adresse IP : "));
    const QString address = HostToAddress(LocalComputerName());
    QCOMPARE(w.LabelAdresseIP->text(),
             "Votre adresse IP : " + (address.isEmpty() ? QString("introuvable") : address));
    QVERIFY(w.LabelAdresseIP->width() >= w.LabelAdresseIP->sizeHint().width());
    QVERIFY(w.RadioServeur->isChecked());
    QCOMPARE(w.EditNomServeur->text(), LocalComputerName());
    QVERIFY(!w.EditNomServeur->isEnabled());
    QVERIFY(side.main->IsServer);
    QCOMPARE(side.main->NetworkLink(), static_cast<TNetworkLink*>(&w));
    QCOMPARE(side.Status(), QString(" Déconnecté."));
    QCOMPARE(w.ConnectionState(), State::Idle);
  }

  void roleBoxes() {
    TSide side;
    TFormReseau& w = *side.reseau;
    side.main->move(100, 50);
    w.ShowNetworkWindow();
    QCOMPARE(w.pos(),
             QPoint(100 + (side.main->width() - 312) / 2, 50 + (side.main->height() - 166) / 2));
    QTest::mouseClick(w.RadioClient, Qt::LeftButton, {}, QPoint(10, 11));
    QVERIFY(w.RadioClient->isChecked());
    QVERIFY(w.EditNomServeur->isEnabled());
    QCOMPARE(w.EditNomServeur->text(), QString());
    QVERIFY(!side.main->IsServer);
    w.EditNomServeur->setText("serveur");
    QTest::mouseClick(w.RadioServeur, Qt::LeftButton, {}, QPoint(10, 11));
    QCOMPARE(w.EditNomServeur->text(), LocalComputerName());
    QVERIFY(!w.EditNomServeur->isEnabled());
    QVERIFY(side.main->IsServer);
    QTest::mouseClick(w.RadioClient, Qt::LeftButton, {}, QPoint(10, 11));
    QCOMPARE(w.EditNomServeur->text(), QString());
  }

  void connexionFailuresKeepTheStepsAlreadyMade_data() {
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("error");
    QTest::newRow("port not a number") << true << ""
                                       << "29O672"
                                       << "'29O672' n'est pas une valeur entière correcte";
    QTest::newRow("port too large") << false << "127.0.0.1"
                                    << "4294967296"
                                    << "'4294967296' n'est pas une valeur entière correcte";
    QTest::newRow("no server name") << false << ""
                                    << "290672"
                                    << "Aucune adresse spécifiée";
  }

  void connexionFailuresKeepTheStepsAlreadyMade() {
    QFETCH(bool, server);
    QFETCH(QString, name);
    QFETCH(QString, port);
    QFETCH(QString, error);
    TShownErrors shown;
    TSide side;
    TFormReseau& w = *side.reseau;
    if (server) {
      // An attempt of the client socket under way is closed before the port
      // text is read.
      w.ClientSocket->SetHost("127.0.0.1");
      w.ClientSocket->Open();
    } else {
      w.RadioClientClick();
      w.EditNomServeur->setText(name);
    }
    w.EditNumeroPort->setText(port);
    w.ShowNetworkWindow();
    w.bnConnexionClick();
    QCOMPARE(shown.texts, QStringList{error});
    // The steps before the failure stay made; the rest did not happen.
    QVERIFY(!w.ClientSocket->Opening());
    QVERIFY(side.main->NetworkGame);
    QVERIFY(!side.main->cbMachine->isEnabled());
    QVERIFY(!side.main->cbJoueursHumains->isEnabled());
    QCOMPARE(side.Status(), QString(" Déconnecté."));
    QVERIFY(w.bnConnexion->Enabled());
    QVERIFY(w.isVisible());
    QCOMPARE(w.ConnectionState(), State::Idle);

    // Déconnexion gives the main window back.
    w.bnDeconnexionClick();
    QVERIFY(!side.main->NetworkGame);
    QVERIFY(side.main->cbMachine->isEnabled());
    QVERIFY(side.main->cbJoueursHumains->isEnabled());
    QCOMPARE(side.Status(), QString(" Déconnecté"));
    QVERIFY(!w.isVisible());
  }

  void portInUseIsReportedWithTheSystemsText() {
    TShownErrors shown;
    QTcpServer rival;
    QVERIFY(rival.listen(QHostAddress::AnyIPv4, 0));
    TSide side;
    side.reseau->EditNumeroPort->setText(QString::number(rival.serverPort() + 65536 * 3));
    side.reseau->bnConnexionClick();
    QCOMPARE(shown.texts.size(), 1);
    QVERIFY2(shown.texts[0].startsWith("Erreur socket Windows : ") &&
                 shown.texts[0].endsWith(", avec l'API 'bind'"),
             qPrintable(shown.texts[0]));
    QVERIFY(side.main->NetworkGame);
    QCOMPARE(side.reseau->ConnectionState(), State::Idle);
    // With the field corrected, Connexion works.
    rival.close();
    side.reseau->bnConnexionClick();
    QCOMPARE(side.reseau->ConnectionState(), State::Listening);
    QCOMPARE(side.Status(), QString(" En attente de connexion"));
  }

  void serverLifecycle() {
    TShownErrors shown;
    TSide side;
    TFormReseau& w = *side.reseau;
    w.ShowNetworkWindow();
    const quint16 port = side.Listen();
    QCOMPARE(w.ConnectionState(), State::Listening);
    QCOMPARE(side.Status(), QString(" En attente de connexion"));
    QVERIFY(!w.isVisible());
    QVERIFY(!w.bnConnexion->Enabled());
    QVERIFY(w.bnDeconnexion->Enabled());
    QVERIFY(side.main->NetworkGame);
    for (auto* target : side.main->Colonne) QVERIFY(!target->isEnabled());

    // A chat line with nobody to hear it sends nothing and empties the edit.
    side.main->EditChat->setText("personne ?");
    side.main->bnEnvoyerChatClick();
    QCOMPARE(side.main->EditChat->text(), QString());

    TRawPeer first, second;
    QVERIFY(first.Connect(port));
    QTRY_COMPARE(w.ConnectionState(), State::ServerConnected);
    QCOMPARE(side.Status(), QString(" Serveur - Connecté"));
    QVERIFY(side.main->bnStart->Enabled());
    QVERIFY(first.received.isEmpty());

    // A second peer is accepted too, and never hears anything.
    side.main->lbReseau->setText("x");
    QVERIFY(second.Connect(port));
    QTRY_COMPARE(w.ServerActiveConnections(), 2);
    QCOMPARE(side.Status(), QString(" Serveur - Connecté"));
    side.main->EditChat->setText("à toi");
    side.main->bnEnvoyerChatClick();
    QTRY_COMPARE(first.received, QByteArray("DATA_CHAT|\xE0 toi"));
    // Messages from the second peer count as well.
    second.Send("DATA_CHAT|du second");
    QTRY_COMPARE(side.main->MemoChat->toPlainText(), QString("du second\n"));
    Pump(50);
    QVERIFY(second.received.isEmpty());

    // Fermer keeps everything.
    w.ShowNetworkWindow();
    w.bnFermer->OnClick();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.ConnectionState(), State::ServerConnected);

    // The first peer leaves: everything closes, the second peer too.
    QSignalSpy secondGone(&second.socket, &QTcpSocket::disconnected);
    first.socket.disconnectFromHost();
    QTRY_COMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), QString(" Déconnecté"));
    QVERIFY(!side.main->NetworkGame);
    QVERIFY(side.main->cbMachine->isEnabled());
    QVERIFY(w.bnConnexion->Enabled());
    QVERIFY(side.main->bnStart->Enabled());
    QTRY_COMPARE(secondGone.count(), 1);
    QVERIFY(shown.texts.isEmpty());

    // Connexion again listens with the fields as they stand.
    const quint16 again = side.Listen();
    QCOMPARE(w.ConnectionState(), State::Listening);
    TRawPeer third;
    QVERIFY(third.Connect(again));
    QTRY_COMPARE(w.ConnectionState(), State::ServerConnected);
  }

  void deconnexionWhileListeningRefusesLaterPeers() {
    TSide side;
    const quint16 port = side.Listen();
    side.reseau->ShowNetworkWindow();
    side.reseau->bnDeconnexion->OnClick();
    QVERIFY(!side.reseau->isVisible());
    QCOMPARE(side.reseau->ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), QString(" Déconnecté"));
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!late.waitForConnected(2000));
    QCOMPARE(late.error(), QAbstractSocket::ConnectionRefusedError);
  }

  void clientLifecycle() {
    TShownErrors shown;
    QTcpServer peerServer;
    QVERIFY(peerServer.listen(QHostAddress::LocalHost, 0));
    TSide side;
    TFormReseau& w = *side.reseau;
    side.Join(peerServer.serverPort());
    QCOMPARE(side.Status(), QString(" Connexion en cours"));
    QCOMPARE(w.ConnectionState(), State::Connecting);
    QVERIFY(!side.main->IsServer);
    // An empty chat line from the client sends nothing and keeps nothing.
    QTRY_COMPARE(w.ConnectionState(), State::ClientConnected);
    QCOMPARE(side.Status(), QString(" Client - Connecté"));
    QVERIFY(side.main->bnStart->Enabled());
    QTRY_VERIFY(peerServer.hasPendingConnections());
    std::unique_ptr<QTcpSocket> peer(peerServer.nextPendingConnection());
    side.main->EditChat->clear();
    side.main->bnEnvoyerChatClick();
    side.main->EditChat->setText("oui");
    side.main->bnEnvoyerChatClick();
    QTRY_COMPARE(peer->bytesAvailable(), 13);
    QCOMPARE(peer->readAll(), QByteArray("DATA_CHAT|oui"));

    peer->disconnectFromHost();
    QTRY_COMPARE(w.ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), QString(" Déconnecté"));
    QVERIFY(!side.main->NetworkGame);
    QVERIFY(shown.texts.isEmpty());
  }

  void clientFailuresShowOnlyTheStatus() {
    TShownErrors shown;
    TSide side;
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    side.Join(closedPort);
    QTRY_COMPARE(side.Status(), QString(" Déconnecté"));
    QCOMPARE(side.reseau->ConnectionState(), State::Idle);
    QVERIFY(side.reseau->bnConnexion->Enabled());
    QVERIFY(shown.texts.isEmpty());

    // Déconnexion while connecting abandons the attempt for good.
    QTcpServer peerServer;
    QVERIFY(peerServer.listen(QHostAddress::LocalHost, 0));
    side.reseau->EditNumeroPort->setText(QString::number(peerServer.serverPort()));
    side.reseau->bnConnexionClick();
    QCOMPARE(side.reseau->ConnectionState(), State::Connecting);
    side.reseau->bnDeconnexionClick();
    Pump(200);
    QCOMPARE(side.reseau->ConnectionState(), State::Idle);
    QCOMPARE(side.Status(), QString(" Déconnecté"));
  }

  // The exact bytes of a game against a plain socket.
  void messagesOnTheWire() {
    TServedPeer s;
    QVERIFY(s.Connect());
    TSide& side = s.side;
    TRawPeer& peer = s.peer;

    side.main->bnStartClick();
    QTRY_COMPARE(peer.received, QByteArray("INIT|xxx"));
    peer.Take();
    QCOMPARE(side.Log(), (QStringList{"DEBUT DE LA PARTIE", "MODE MULTI-JOUEURS",
                                      "Vous commencez la partie", ""}));
    side.main->Colonne0Click(4);
    QTRY_COMPARE(peer.received, QByteArray("DATA_GAME|4"));
    peer.Take();
    QVERIFY(!side.main->Colonne[4]->isEnabled());

    peer.Send("DATA_GAME|4");
    QTRY_VERIFY(side.main->GridText().mid(28, 7) == "0000200");
    QTRY_VERIFY(side.Idle());
    QCOMPARE(side.LastLogLine(), QString("[ADVERSAIRE-2] : Adversaire a joué la colonne n°4"));
    QVERIFY(side.main->Colonne[0]->isEnabled());
    QVERIFY(!side.main->bnStart->Enabled());

    peer.Send(
        "DATA_CHAT|\xC7"
        "a va ? | oui");
    QTRY_COMPARE(side.main->MemoChat->toPlainText(), QString("Ça va ? \n"));
    side.main->EditChat->setText("Très bien, 5 €");
    side.main->bnEnvoyerChatClick();
    QTRY_COMPARE(peer.received, QByteArray("DATA_CHAT|Tr\xE8s bien, 5 \x80"));
    peer.Take();

    // The peer starts a game of its own in the middle of this one.
    peer.Send("INIT|xxx");
    QTRY_COMPARE(side.Log(), (QStringList{"DEBUT DE LA PARTIE", "MODE MULTI-JOUEURS",
                                          "Votre adversaire commence la partie", ""}));
    QCOMPARE(side.main->GridText(), QString(42, u'0'));
    for (auto* target : side.main->Colonne) QVERIFY(!target->isEnabled());
    peer.Send("DATA_FIN|");
    QTRY_VERIFY(side.main->GameOver);
    QVERIFY(s.shown.texts.isEmpty());
  }

  void receivedMessagesEdgeCases() {
    TServedPeer s;
    QVERIFY(s.Connect());
    TSide& side = s.side;
    TFormReseau& w = *side.reseau;

    // Anything at all disables the start button; unknown commands do no more.
    QVERIFY(side.main->bnStart->Enabled());
    w.ProcessNetMessage("init|xxx");
    QVERIFY(!side.main->bnStart->Enabled());
    QCOMPARE(side.main->MoveNumber, 1);
    QVERIFY(side.Log().isEmpty());

    // An empty read is ignored.
    side.main->bnStart->SetEnabled(true);
    w.ProcessNetMessage("");
    QVERIFY(side.main->bnStart->Enabled());

    w.ProcessNetMessage("INIT");
    QCOMPARE(side.Log().value(2), QString("Votre adversaire commence la partie"));

    // Bad columns change nothing; only a text that is no number is reported.
    const QString grid = side.main->GridText();
    const int logLines = side.main->MemoMessages->LineCount();
    for (const char* bad : {"DATA_GAME|7", "DATA_GAME|-1", "DATA_GAME|03", "DATA_GAME|10",
                            "DATA_GAME|", "DATA_GAME", "DATA_GAME|x"})
      w.ProcessNetMessage(bad);
    QCOMPARE(side.main->GridText(), grid);
    QCOMPARE(side.main->MemoMessages->LineCount(), logLines);
    QCOMPARE(side.main->MoveNumber, 1);
    QCOMPARE(s.shown.texts, (QStringList{"'' n'est pas une valeur entière correcte",
                                         "'' n'est pas une valeur entière correcte",
                                         "'x' n'est pas une valeur entière correcte"}));

    // Chat: empty lines count, and only up to the first "|".
    w.ProcessNetMessage("DATA_CHAT");
    w.ProcessNetMessage("DATA_CHAT|");
    w.ProcessNetMessage("DATA_CHAT|a|b|");
    QCOMPARE(side.main->MemoChat->toPlainText(), QString("\n\na\n"));

    // A move and a chat line in one read are both taken.
    s.peer.Send("DATA_GAME|2DATA_CHAT|vu");
    QTRY_COMPARE(side.main->MemoChat->toPlainText(), QString("\n\na\nvu\n"));
    QTRY_VERIFY(side.Idle());
    QCOMPARE(side.main->GridText().mid(35, 7), QString("0010000"));
  }

  // Two copies of the game, one server and one client, play whole games.
  void twoCopiesPlayWholeGames() {
    TShownErrors shown;
    TSide a, b;
    b.Join(a.Listen());
    QTRY_COMPARE(a.reseau->ConnectionState(), State::ServerConnected);
    QTRY_COMPARE(b.reseau->ConnectionState(), State::ClientConnected);

    // Game 1: the server begins and wins in column 0.
    a.main->bnStartClick();
    QTRY_COMPARE(b.Log().value(2), QString("Votre adversaire commence la partie"));
    QCOMPARE(a.Log().value(2), QString("Vous commencez la partie"));
    PlayGame(a, b, {0, 1, 0, 1, 0, 1, 0});
    QVERIFY(a.Log().contains("Bravo, vous avez gagné !"));
    QVERIFY(b.Log().contains("Désolé, vous avez perdu !"));
    QVERIFY(b.Log().contains("[ADVERSAIRE-1] : Adversaire a joué la colonne n°0"));
    QVERIFY(b.Log().contains("[HUMAIN-2] : Je joue la colonne n° 1"));
    QTRY_VERIFY(a.main->bnStart->Enabled() && b.main->bnStart->Enabled());

    // Game 2: the client begins and the grid fills without a four.
    b.main->bnStartClick();
    QTRY_COMPARE(a.Log().value(2), QString("Votre adversaire commence la partie"));
    PlayGame(b, a, DrawnGame());
    QCOMPARE(a.LastLogLine(), QString("Egalité !"));
    QCOMPARE(b.LastLogLine(), QString("Egalité !"));

    // Chat both ways, accents and "|" included.
    a.main->EditChat->setText("Bien joué | encore ?");
    a.main->bnEnvoyerChatClick();
    QTRY_COMPARE(b.main->MemoChat->toPlainText(), QString("Bien joué \n"));
    b.main->EditChat->setText("Oui, volontiers… œuf");
    b.main->bnEnvoyerChatClick();
    QTRY_COMPARE(a.main->MemoChat->toPlainText(), QString("Oui, volontiers… œuf\n"));

    // Déconnexion on the client: both sides end up disconnected.
    b.reseau->bnDeconnexionClick();
    QTRY_COMPARE(a.reseau->ConnectionState(), State::Idle);
    QCOMPARE(a.Status(), QString(" Déconnecté"));
    QCOMPARE(b.Status(), QString(" Déconnecté"));
    QVERIFY(shown.texts.isEmpty());
  }

 private:
  // Plays the columns in turn, `first` beginning, and checks after every move
  // that both grids are equal.
  void PlayGame(TSide& first, TSide& second, const std::vector<int>& columns) {
    TSide* mover = &first;
    TSide* other = &second;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      QTRY_VERIFY(mover->Idle() && mover->main->Colonne[columns[i]]->isEnabled());
      mover->main->Colonne0Click(columns[i]);
      QTRY_VERIFY_WITH_TIMEOUT(other->Idle() && other->main->GridText() == mover->main->GridText(),
                               10000);
      std::swap(mover, other);
    }
    QTRY_VERIFY_WITH_TIMEOUT(first.Idle() && second.Idle(), 20000);
    QVERIFY(first.main->GameOver);
    QVERIFY(second.main->GameOver);
  }

  // A full game without four in a row, found by trying random games.
  static std::vector<int> DrawnGame() {
    for (unsigned seed = 1;; ++seed) {
      TBoard board;
      std::vector<int> moves;
      unsigned state = seed;
      for (int player = 1;; player = OtherPlayer(player)) {
        std::vector<int> open;
        for (int c = 0; c < 7; ++c)
          if (LandingRow(board, c) != -1) open.push_back(c);
        state = state * 1103515245u + 12345u;
        const int c = open[(state >> 16) % open.size()];
        board.Set(LandingRow(board, c), c, PlayerCell(player));
        moves.push_back(c);
        int direction = 0, column = 0, row = 0, winner = 0;
        bool full = false;
        if (CheckGameEnd(board, direction, column, row, winner, full)) {
          if (winner == 0) return moves;
          break;
        }
      }
    }
  }
};

QTEST_MAIN(FormReseauTest)
#include "FormReseauTest.moc"
