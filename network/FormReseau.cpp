// The network window's behaviour: the roles, opening and closing the
// connection, its state in the main window, and the messages both ways.
#include "network/FormReseau.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

#include "controls/ButtonComps.h"
#include "game/FormMain.h"
#include "network/LocalAddress.h"
#include "network/Protocol.h"
#include "network/Sockets.h"
#include "platform/Centring.h"
#include "platform/ErrorDisplay.h"
#include "rules/PatternTable.h"

namespace zerud {
namespace {

// lbReseau's texts, each with its leading blank.
constexpr char kStatusListening[] = " En attente de connexion";
constexpr char kStatusConnecting[] = " Connexion en cours";
constexpr char kStatusServerConnected[] = " Serveur - Connecté";
constexpr char kStatusClientConnected[] = " Client - Connecté";
constexpr char kStatusDisconnected[] = " Déconnecté";

constexpr char kAddressPrefix[] = "Votre adresse IP : ";
// Shown in place of the address when this machine's name does not resolve.
constexpr char kAddressUnknown[] = "introuvable";

// The longest part of a peer's bad column text repeated in the error shown.
constexpr qsizetype kShownColumnText = 64;

// Adds one line at the end of the chat memo, an empty one included: every
// line ends with its line break, so the memo holds as many lines as it was
// given. The view follows the new line when it showed the end already.
// Besides its count of lines, the memo keeps at most kChatTextLimit
// characters: the oldest lines go first.
void AppendChatLine(QPlainTextEdit* memo, const QString& line) {
  QScrollBar* bar = memo->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextDocument* document = memo->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(line + QLatin1Char('\n'));
  // characterCount() counts the empty last block's end as well.
  while (document->characterCount() - 1 > TFormMain::kChatTextLimit && document->blockCount() > 1) {
    QTextCursor oldest(document);
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
  }
  if (atEnd) bar->setValue(bar->maximum());
}

}  // namespace

TFormReseau::TFormReseau(TFormMain* formMain, QWidget* parent) : QWidget(parent), main_(formMain) {
  BuildControls();

  ServerSocket = new TServerSocket(this);
  ServerSocket->setObjectName(QStringLiteral("ServerSocket"));
  ServerSocket->SetPort(kDefaultPort);
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

  if (main_) main_->SetNetworkLink(this);
  FormCreate();
}

TFormReseau::~TFormReseau() {
  // The sockets close with the window, without telling anyone.
  ServerSocket->OnClientDisconnect = nullptr;
  ServerSocket->OnClientError = nullptr;
  ClientSocket->OnDisconnect = nullptr;
  ClientSocket->OnError = nullptr;
  ServerSocket->Close();
  ClientSocket->Close();
  if (main_ && main_->NetworkLink() == this) main_->SetNetworkLink(nullptr);
}

void TFormReseau::FormCreate() {
  const QString address = ReachableAddress(HostToAddress(LocalComputerName()), LocalInterfaces());
  LabelAdresseIP->setText(QString::fromUtf8(kAddressPrefix) +
                          (address.isEmpty() ? QString::fromUtf8(kAddressUnknown) : address));
  // The label grows with its text from its left edge, as an auto-sized label.
  LabelAdresseIP->resize(LabelAdresseIP->sizeHint().width(), LabelAdresseIP->height());
  RadioServeur->setChecked(true);
  RadioServeurClick();
}

void TFormReseau::RadioServeurClick() {
  clientRole_ = false;
  EditNomServeur->setText(LocalComputerName());
  EditNomServeur->setEnabled(false);
  if (main_) main_->IsServer = true;
}

void TFormReseau::RadioClientClick() {
  EditNomServeur->setEnabled(true);
  // Only a change of role empties the field: a second click on the box
  // already chosen keeps the name the user typed.
  if (!std::exchange(clientRole_, true)) EditNomServeur->clear();
  EditNomServeur->setFocus();
  if (main_) main_->IsServer = false;
}

void TFormReseau::bnConnexionClick() {
  if (!main_) return;
  // Step 1. No move until the connection is up; no change of mode meanwhile.
  main_->EnableColumns(false);
  main_->NetworkGame = true;
  main_->cbJoueursHumains->setEnabled(false);
  main_->cbMachine->setEnabled(false);
  try {
    if (main_->IsServer) {
      // Step 2. Listen on every local address. The client socket is closed
      // first and stays closed when the port text turns out to be wrong.
      ClientSocket->Close();
      ServerSocket->SetPort(PortSetting());
      ServerSocket->Open();
      SetStatus(kStatusListening);
    } else {
      // Step 3. Look the server up and connect in the background.
      ClientSocket->SetPort(PortSetting());
      ClientSocket->SetHost(EditNomServeur->text());
      ClientSocket->Open();
      SetStatus(kStatusConnecting);
    }
  } catch (const TGameError& error) {
    // What was done stays done; the user corrects the field and tries again,
    // or presses Déconnexion.
    ShowError(QString::fromUtf8(error.what()));
    return;
  }
  // Step 4. Connexion waits for a reset; Déconnexion is the way back.
  bnConnexion->SetEnabled(false);
  bnDeconnexion->SetEnabled(true);
  // Step 5.
  hide();
}

int TFormReseau::PortSetting() const {
  return TPatternTable::ParseValue(EditNumeroPort->text().toStdString());
}

void TFormReseau::ResetToDisconnected() {
  ClientSocket->Close();
  ServerSocket->Close();
  // What is left of the reads of the ended connections is dropped.
  pending_.clear();
  if (!main_) return;
  main_->NetworkGame = false;
  main_->cbJoueursHumains->setEnabled(true);
  main_->cbMachine->setEnabled(true);
  SetStatus(kStatusDisconnected);
  bnConnexion->SetEnabled(true);
  main_->bnStart->SetEnabled(true);
}

void TFormReseau::bnDeconnexionClick() {
  ResetToDisconnected();
  hide();
}

void TFormReseau::bnFermerClick() { hide(); }

void TFormReseau::ServerSocketAccept(TSocketConnection*) {
  if (!main_) return;
  main_->EnableColumns(false);
  main_->IsServer = true;
  SetStatus(kStatusServerConnected);
  main_->bnStart->SetEnabled(true);
}

void TFormReseau::ClientSocketConnect(TSocketConnection*) {
  if (!main_) return;
  main_->EnableColumns(false);
  SetStatus(kStatusClientConnected);
  main_->bnStart->SetEnabled(true);
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
  // Messages are handled in the order they arrived: a read that comes while
  // an earlier one is still being handled (its move falling) first finishes
  // what was left of the earlier one.
  pending_ += SplitReceivedText(text);
  while (!pending_.isEmpty()) ProcessNetMessage(pending_.takeFirst());
}

void TFormReseau::ProcessNetMessage(const QString& text) {
  if (!main_ || text.isEmpty()) return;
  main_->bnStart->SetEnabled(false);
  const QString command = GetField(kFieldSeparator, text, 1);
  if (command == QLatin1String(kCommandInit)) {
    main_->StartOpponentGame();
  } else if (command == QLatin1String(kCommandMove)) {
    const QString column = GetField(kFieldSeparator, text, 2);
    if (MoveColumn(column) < 0) {
      RejectMove(column);
      return;
    }
    main_->PlayOpponentMove(column);
  } else if (command == QLatin1String(kCommandEnd)) {
    main_->EndAnnouncedByPeer();
  } else if (command == QLatin1String(kCommandChat)) {
    AppendChatLine(main_->MemoChat, ChatLine(GetField(kFieldSeparator, text, 2)));
  }
}

// A column that is not a number is reported as the conversion error it is; a
// number outside the grid is dropped in silence. Either way nothing of the
// game changes. A peer flooding bad columns gets one report at a time.
void TFormReseau::RejectMove(const QString& column) {
  try {
    TPatternTable::ParseValue(column.toStdString());
    return;
  } catch (const TConvertError&) {
  }
  if (showingPeerError_) return;
  QString shown = column.left(kShownColumnText);
  if (shown.size() < column.size()) shown += QStringLiteral("…");
  showingPeerError_ = true;
  ShowError(QString::fromUtf8(TConvertError(shown.toStdString()).what()));
  showingPeerError_ = false;
}

void TFormReseau::SetStatus(const char* text) {
  if (main_) main_->lbReseau->setText(QString::fromUtf8(text));
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
      (main_ && main_->IsServer) ? ServerSocket->Connection(0) : ClientSocket->Connection();
  if (connection) connection->SendText(ToWire(BuildNetMessage(command, payload)));
}

void TFormReseau::showEvent(QShowEvent* event) {
  // Every time it appears, the window sits in the middle of the main window
  // (of its inside, where it is drawn as a part of it).
  if (main_) {
    const QRect area = isWindow() ? main_->geometry() : main_->rect();
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
