#pragma once

#include <QAbstractSocket>
#include <QString>

#include "rules/Errors.h"

// The failures of the socket layer and their French texts.
namespace zerud {

// The kind of operation an error event reports.
enum class TErrorEvent {
  eeGeneral,
  eeSend,
  eeReceive,
  eeConnect,
  eeDisconnect,
  eeAccept,
  eeLookup
};

// A socket operation refused or failed while opening or configuring a socket.
class TSocketError : public TGameError {
 public:
  explicit TSocketError(const QString& text);
};

inline constexpr char kTextSocketActive[] =
    "Ne peut modifier la valeur lorsque le socket est actif";
inline constexpr char kTextNoAddress[] = "Aucune adresse spécifiée";
inline constexpr char kTextCannotCreate[] = "Ne peut créer le nouveau socket";
inline constexpr char kTextClientAlreadyOpen[] = "Socket déjà ouvert";
inline constexpr char kTextServerAlreadyOpen[] = "Ne peut écouter sur un socket ouvert";

// The system's number for a socket failure (an errno value of this system)
// and its French description.
struct TSystemError {
  int code;
  QString text;
};
TSystemError SystemError(QAbstractSocket::SocketError error);

// "Erreur socket Windows : <text> (<code>), avec l'API '<call>'".
QString SystemCallErrorText(const TSystemError& error, const QString& call);
// "Erreur socket asynchrone <code>".
QString AsyncErrorText(int code);

}  // namespace zerud
