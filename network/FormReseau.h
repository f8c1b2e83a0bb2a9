#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "links/GameLink.h"
#include "links/NetworkLink.h"
#include "network/SocketErrors.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zerud {

class TClientSocket;
class TDiscovery;
class TEncartaButton;
class TServerSocket;
class TSocketConnection;

// The network window: the choice between the server and the client role,
// the server's name and the port, Connexion, Déconnexion and Fermer. It owns
// the game's two sockets, shows the connection's state in the main window
// and hands every received message to the game, both through TGameLink.
// On the local network it announces the server while it waits for a player,
// and offers the servers it finds in the server name's drop-down.
class TFormReseau : public QWidget, public TNetworkLink {
  Q_OBJECT

 public:
  // The one state the connection is in.
  enum class TConnectionState { Idle, Listening, Connecting, ServerConnected, ClientConnected };

  // The port text both sides start with; its low 16 bits make TCP port 28528.
  static constexpr int kDefaultPort = 290672;
  static constexpr int kClientWidth = 312;
  static constexpr int kClientHeight = 166;

  // Creates the window hidden and registers it as the game's network link.
  explicit TFormReseau(TGameLink* game, QWidget* parent = nullptr);
  ~TFormReseau() override;

  QRadioButton* RadioServeur = nullptr;
  QRadioButton* RadioClient = nullptr;
  QLabel* LabelAdresseIP = nullptr;
  QLabel* Label3 = nullptr;
  // Editable: a name or an address is typed, or a server found is chosen.
  QComboBox* EditNomServeur = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* EditNumeroPort = nullptr;
  TEncartaButton* bnConnexion = nullptr;
  TEncartaButton* bnDeconnexion = nullptr;
  TEncartaButton* bnFermer = nullptr;
  TServerSocket* ServerSocket = nullptr;
  TClientSocket* ClientSocket = nullptr;

  // Event handlers.
  void RadioServeurClick();
  void RadioClientClick();
  void bnConnexionClick();
  void bnDeconnexionClick();
  void bnFermerClick();
  // A server of the drop-down chosen: its address and port fill the fields.
  void EditNomServeurSelect(int row);
  void ServerSocketAccept(TSocketConnection* socket);
  void ServerSocketClientRead(TSocketConnection* socket);
  void ServerSocketClientDisconnect(TSocketConnection* socket);
  void ServerSocketClientError(TSocketConnection* socket, TErrorEvent kind, int& errorCode);
  void ClientSocketConnect(TSocketConnection* socket);
  void ClientSocketRead(TSocketConnection* socket);
  void ClientSocketDisconnect(TSocketConnection* socket);
  void ClientSocketError(TSocketConnection* socket, TErrorEvent kind, int& errorCode);

  // The program ends: the announcement on the local network goes first.
  void FormDestroy();

  // Acts on one received message.
  void ProcessNetMessage(const QString& text);

  TConnectionState ConnectionState() const;

  // The sockets' states.
  bool ServerListening() const;
  int ServerActiveConnections() const;
  // The client socket's connection is established (its active flag).
  bool ClientActive() const;
  bool ClientConnected() const;

  // TNetworkLink
  void SendGameStart() override;
  void SendMove(int column) override;
  QString SendChatLine(const QString& text) override;
  void ShowNetworkWindow() override;

  // Builds "<command>|<payload>" and sends it to the peer; sends nothing when
  // there is no peer. The one way out to the socket.
  void SendNetMessage(const QString& command, const QString& payload);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  // The servers found fill EditNomServeur's drop-down.
  void ListFoundServers();
  // EditNumeroPort's text as an integer; throws TConvertError otherwise.
  int PortSetting() const;
  // The role boxes, the port and the server's name, locked while a
  // connection is open or opening.
  void LockFields(bool locked);
  void ResetToDisconnected();
  void ReadMessages(TSocketConnection* socket);
  void SetStatus(const char* text);

  // The game, or null once its window is gone.
  TGameLink* Game() const { return gameWindow_ ? game_ : nullptr; }
  // The game holds the role; the two boxes show it.
  bool ClientRole() const { return Game() != nullptr && !Game()->ServerRole(); }

  TGameLink* game_;
  QPointer<QWidget> gameWindow_;
  TDiscovery* discovery_;
  // The server name as typed, kept while the drop-down's rows change.
  QString typedName_;
};

}  // namespace zerud
