#pragma once

#include <QString>

// What the main window needs of the network window: its socket states, the
// sending of a message, and showing the window. The network window implements
// it, so the game does not depend on the network code.
namespace zerud {

class TNetworkLink {
 public:
  virtual ~TNetworkLink() = default;

  // The server socket listens (it is open, with or without a peer).
  virtual bool ServerListening() const = 0;
  // Number of connections the server socket has accepted and that are still open.
  virtual int ServerActiveConnections() const = 0;
  // The client socket is active: its connection is established.
  virtual bool ClientActive() const = 0;
  // The client socket's connection is established.
  virtual bool ClientConnected() const = 0;

  // Builds "<command>|<payload>" and sends it to the peer; sends nothing when
  // there is no peer.
  virtual void SendNetMessage(const QString& command, const QString& payload) = 0;

  // Shows the network window, not modally.
  virtual void ShowNetworkWindow() = 0;
};

}  // namespace zerud
