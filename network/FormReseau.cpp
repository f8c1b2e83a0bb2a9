// The network window's behaviour: the roles, opening and closing the
// connection, its state in the main window, and the messages both ways.
#include "network/FormReseau.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "controls/ButtonComps.h"
#include "network/ChatText.h"
#include "network/LocalAddress.h"
#include "network/Protocol.h"
#include "network/Sockets.h"
#include "network/discovery/Discovery.h"
#include "platform/Centring.h"
#include "platform/ErrorDisplay.h"
#include "rules/Errors.h"
#include "rules/Integer.h"

namespace zerud {
namespace {

bool IsInteger(const QString& text) {
  return ParseIntegerIn(text.toStdString(), INT32_MIN, INT32_MAX).has_value();
}

// lbReseau's texts, each with its leading blank.
constexpr char kStatusListening[] = " En attente de connexion";
constexpr char kStatusConnecting[] = " Connexion en cours";
constexpr char kStatusServerConnected[] = " Serveur - Connecté";
constexpr char kStatusClientConnected[] = " Client - Connecté";
constexpr char kStatusDisconnected[] = " Déconnecté";

constexpr char kAddressPrefix[] = "Votre adresse IP : ";
// The widest the list of servers found opens, in pixels.
constexpr int kWidestServerList = 480;
// Shown in place of the address when this machine's name does not resolve.
constexpr char kAddressUnknown[] = "introuvable";

}  // namespace

TFormReseau::TFormReseau(TGameLink* game, QWidget* parent)
    : QWidget(parent),
      game_(game),
      gameWindow_(game ? game->GameWindow() : nullptr),
      discovery_(new TDiscovery(this)) {
  BuildControls();
  ListFoundServers();

  ServerSocket = new TServerSocket(this);
  ServerSocket->setObjectName(QStringLiteral("ServerSocket"));
  ServerSocket->SetPort(kDefaultPort);
  // One game, one peer: a stranger joining while the other player is
  // connected is turned away at once and never heard.
  ServerSocket->SetMaxConnections(1);
  ServerSocket->OnAccept = [this](TSocketConnection* s) { ServerSocketAccept(s); };
  ServerSocket->OnClientRead = [this](TSocketConnection* s) { ServerSocketClientRead(s); };
  ServerSocket->OnClientDisconnect = [this](TSocketConnection* s) {
    ServerSocketClientDisconnect(s);
  };
  ServerSocket->OnClientError = [this](TSocketConnection* s, TErrorEvent kind, int& code) {
    ServerSocketClientError(s, kind, code);
  };

  ClientSocket = new TClientSocket(this);
  ClientSocket->setObjectName(QStringLiteral("ClientSocket"));
  ClientSocket->SetPort(kDefaultPort);
  ClientSocket->OnConnect = [this](TSocketConnection* s) { ClientSocketConnect(s); };
  ClientSocket->OnRead = [this](TSocketConnection* s) { ClientSocketRead(s); };
  ClientSocket->OnDisconnect = [this](TSocketConnection* s) { ClientSocketDisconnect(s); };
  ClientSocket->OnError = [this](TSocketConnection* s, TErrorEvent kind, int& code) {
    ClientSocketError(s, kind, code);
  };
  // A failure the handlers above left unsilenced is shown here.
  ServerSocket->OnErrorReport = ClientSocket->OnErrorReport = ShowError;

  if (TGameLink* g = Game()) g->SetNetworkLink(this);
  FormCreate();
}

TFormReseau::~TFormReseau() {
  // Discovery goes first, withdrawing the announcement: its list empties as
  // it goes, into the server name's box, which must still be whole.
  delete discovery_;
  // The sockets close with the window, without telling anyone.
  ServerSocket->OnClientDisconnect = nullptr;
  ServerSocket->OnClientError = nullptr;
  ClientSocket->OnDisconnect = nullptr;
  ClientSocket->OnError = nullptr;
  ServerSocket->Close();
  ClientSocket->Close();
  TGameLink* game = Game();
  if (game && game->NetworkLink() == this) game->SetNetworkLink(nullptr);
}

void TFormReseau::FormDestroy() { discovery_->Withdraw(); }

void TFormReseau::FormCreate() {
  const QString address = ReachableAddress(HostToAddress(LocalComputerName()), LocalInterfaces());
  LabelAdresseIP->setText(QString::fromUtf8(kAddressPrefix) +
                          (address.isEmpty() ? QString::fromUtf8(kAddressUnknown) : address));
  // The label grows with its text from its left edge, as an auto-sized label.
  LabelAdresseIP->resize(LabelAdresseIP->sizeHint().width(), LabelAdresseIP->height());
  RadioServeur->setChecked(true);
  RadioServeurClick();
}

void TFormReseau::ListFoundServers() {
  QAbstractItemModel* servers = &discovery_->Servers();
  EditNomServeur->setModel(servers);
  // The field is the player's: a server that appears, changes or goes never
  // rewrites what is typed there (the box itself would choose the first
  // server that comes into an empty list).
  auto remember = [this] { typedName_ = EditNomServeur->currentText(); };
  auto restore = [this] {
    if (EditNomServeur->currentIndex() != -1) EditNomServeur->setCurrentIndex(-1);
    if (EditNomServeur->currentText() != typedName_) EditNomServeur->setEditText(typedName_);
  };
  // The rows are longer than the field: the list opens as wide as they need,
  // up to a limit past which a row loses its middle.
  auto widen = [this] {
    QAbstractItemView* list = EditNomServeur->view();
    list->setMinimumWidth(
        std::min(list->sizeHintForColumn(0) + 4 * list->frameWidth() + 8, kWidestServerList));
  };
  connect(servers, &QAbstractItemModel::rowsAboutToBeInserted, this, remember);
  connect(servers, &QAbstractItemModel::rowsAboutToBeRemoved, this, remember);
  for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(servers, changed, this, restore);
    connect(servers, changed, this, widen);
  }
  connect(servers, &QAbstractItemModel::dataChanged, this, widen);
  connect(EditNomServeur, &QComboBox::activated, this, &TFormReseau::EditNomServeurSelect);
}

void TFormReseau::EditNomServeurSelect(int row) {
  const QModelIndex server = EditNomServeur->model()->index(row, 0);
  if (!server.isValid()) return;
  const QString address = server.data(TServerList::AddressRole).toString();
  const QString port = server.data(TServerList::PortRole).toString();
  // No row stays chosen, for the same reason as above.
  EditNomServeur->setCurrentIndex(-1);
  EditNomServeur->setEditText(address);
  EditNumeroPort->setText(port);
}

void TFormReseau::RadioServeurClick() {
  EditNomServeur->setEditText(LocalComputerName());
  EditNomServeur->setEnabled(false);
  if (TGameLink* game = Game()) game->SetServerRole(true);
}

void TFormReseau::RadioClientClick() {
  EditNomServeur->setEnabled(true);
  // Only a change of role empties the field: a second click on the box
  // already chosen keeps the name the user typed.
  if (!ClientRole()) EditNomServeur->clearEditText();
  EditNomServeur->setFocus();
  if (TGameLink* game = Game()) game->SetServerRole(false);
}

void TFormReseau::bnConnexionClick() {
  TGameLink* game = Game();
  if (!game) return;
  // Step 1. No move until the connection is up; no change of mode meanwhile.
  game->EnterNetworkMode();
  try {
    if (game->ServerRole()) {
      // Step 2. Listen on every local address. The client socket is closed
      // first and stays closed when the port text turns out to be wrong.
      ClientSocket->Close();
      ServerSocket->SetPort(PortSetting());
      ServerSocket->Open();
      SetStatus(kStatusListening);
      // The other player's game finds this one on the local network.
      discovery_->Announce(LocalComputerName(), ServerSocket->ListeningPort());
    } else {
      // Step 3. Look the server up and connect in the background.
      ClientSocket->SetPort(PortSetting());
      ClientSocket->SetHost(EditNomServeur->currentText());
      ClientSocket->Open();
      SetStatus(kStatusConnecting);
    }
  } catch (const TGameError& error) {
    // What was done stays done; the user corrects the field and tries again,
    // or presses Déconnexion.
    ShowError(QString::fromUtf8(error.what()));
    return;
  }
  // Step 4. Connexion waits for a reset; Déconnexion is the way back. The
  // role, the port and the server's name stay as they are meanwhile: a role
  // switched under an open connection would send the moves to a socket
  // that has no peer.
  bnConnexion->SetEnabled(false);
  bnDeconnexion->SetEnabled(true);
  LockFields(true);
  // Step 5.
  hide();
}

int TFormReseau::PortSetting() const { return ParseInteger(EditNumeroPort->text().toStdString()); }

void TFormReseau::LockFields(bool locked) {
  RadioServeur->setEnabled(!locked);
  RadioClient->setEnabled(!locked);
  EditNumeroPort->setEnabled(!locked);
  // The server's name is this machine's own in the server role.
  EditNomServeur->setEnabled(!locked && ClientRole());
}

void TFormReseau::ResetToDisconnected() {
  ClientSocket->Close();
  ServerSocket->Close();
  discovery_->Withdraw();
  LockFields(false);
  TGameLink* game = Game();
  if (!game) return;
  game->LeaveNetworkMode();
  SetStatus(kStatusDisconnected);
  bnConnexion->SetEnabled(true);
  game->AllowNewGame(true);
}

void TFormReseau::bnDeconnexionClick() {
  ResetToDisconnected();
  hide();
}

void TFormReseau::bnFermerClick() { hide(); }

void TFormReseau::ServerSocketAccept(TSocketConnection*) {
  // One peer at a time: nobody else is invited while it plays.
  discovery_->Withdraw();
  TGameLink* game = Game();
  if (!game) return;
  game->StopMoves();
  game->SetServerRole(true);
  SetStatus(kStatusServerConnected);
  game->AllowNewGame(true);
}

void TFormReseau::ClientSocketConnect(TSocketConnection*) {
  TGameLink* game = Game();
  if (!game) return;
  game->StopMoves();
  SetStatus(kStatusClientConnected);
  game->AllowNewGame(true);
}

void TFormReseau::ServerSocketClientRead(TSocketConnection* socket) { ReadMessages(socket); }

void TFormReseau::ClientSocketRead(TSocketConnection* socket) { ReadMessages(socket); }

void TFormReseau::ServerSocketClientDisconnect(TSocketConnection*) { ResetToDisconnected(); }

void TFormReseau::ClientSocketDisconnect(TSocketConnection*) { ResetToDisconnected(); }

void TFormReseau::ServerSocketClientError(TSocketConnection*, TErrorEvent, int& errorCode) {
  ResetToDisconnected();
  errorCode = 0;
}

void TFormReseau::ClientSocketError(TSocketConnection*, TErrorEvent, int& errorCode) {
  ResetToDisconnected();
  errorCode = 0;
}

void TFormReseau::ReadMessages(TSocketConnection* socket) {
  const QString text = FromWire(socket->ReceiveText());
  if (text.isEmpty()) return;
  // The game queues what it is handed and plays it from the event loop in
  // the order sent, so every message of this read is handed over before the
  // first of them runs.
  for (const QString& message : SplitReceivedText(text)) ProcessNetMessage(message);
}

void TFormReseau::ProcessNetMessage(const QString& text) {
  TGameLink* game = Game();
  if (!game || text.isEmpty()) return;
  game->AllowNewGame(false);
  const QString command = GetField(kFieldSeparator, text, 1);
  if (command == QLatin1String(kCommandInit)) {
    game->StartPeerGame();
  } else if (command == QLatin1String(kCommandMove)) {
    const QString column = GetField(kFieldSeparator, text, 2);
    // A number outside the grid is dropped in silence; a text that is no
    // number goes to the game, which reports it in its turn.
    if (MoveColumn(column) < 0 && IsInteger(column)) return;
    game->PlayPeerMove(column);
  } else if (command == QLatin1String(kCommandEnd)) {
    game->EndPeerGame();
  } else if (command == QLatin1String(kCommandChat)) {
    game->ShowPeerChat(ChatLine(GetField(kFieldSeparator, text, 2)));
  }
}

void TFormReseau::SetStatus(const char* text) {
  if (TGameLink* game = Game()) game->ShowNetworkStatus(QString::fromUtf8(text));
}

TFormReseau::TConnectionState TFormReseau::ConnectionState() const {
  if (ServerSocket->Active())
    return ServerSocket->ActiveConnections() > 0 ? TConnectionState::ServerConnected
                                                 : TConnectionState::Listening;
  if (ClientSocket->Connected()) return TConnectionState::ClientConnected;
  if (ClientSocket->Opening()) return TConnectionState::Connecting;
  return TConnectionState::Idle;
}

bool TFormReseau::ServerListening() const { return ServerSocket->Active(); }

int TFormReseau::ServerActiveConnections() const { return ServerSocket->ActiveConnections(); }

bool TFormReseau::ClientActive() const { return ClientSocket->Active(); }

bool TFormReseau::ClientConnected() const { return ClientSocket->Connected(); }

void TFormReseau::SendNetMessage(const QString& command, const QString& payload) {
  // The server talks to the first peer it accepted only.
  TSocketConnection* connection =
      (Game() && Game()->ServerRole()) ? ServerSocket->Connection(0) : ClientSocket->Connection();
  if (connection) connection->SendText(ToWire(BuildNetMessage(command, payload)));
}

void TFormReseau::SendGameStart() {
  SendNetMessage(QString::fromLatin1(kCommandInit), QString::fromLatin1(kInitPayload));
}

void TFormReseau::SendMove(int column) {
  SendNetMessage(QString::fromLatin1(kCommandMove), QString::number(column));
}

QString TFormReseau::SendChatLine(const QString& text) {
  SendNetMessage(QString::fromLatin1(kCommandChat), EscapeChatText(text));
  return ChatLineAsReceived(text);
}

void TFormReseau::showEvent(QShowEvent* event) {
  // Every time it appears, the window sits in the middle of the game's window
  // (of its inside, where it is drawn as a part of it).
  if (gameWindow_) {
    const QRect area = isWindow() ? gameWindow_->geometry() : gameWindow_->rect();
    move(CentredTopLeft(area, size()));
  }
  QWidget::showEvent(event);
}

void TFormReseau::ShowNetworkWindow() {
  show();
  raise();
  activateWindow();
}

}  // namespace zerud
