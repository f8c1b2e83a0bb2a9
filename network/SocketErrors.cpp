#include "network/SocketErrors.h"

#include <cerrno>

namespace zerud {

TSocketError::TSocketError(const QString& text) : TGameError(text.toStdString()) {}

TSystemError SystemError(QAbstractSocket::SocketError error) {
  // Qt hides errno behind its own codes; each is given back the number this
  // system uses for the same failure so the texts stay meaningful.
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return {ECONNREFUSED, QStringLiteral("Connexion refusée")};
    case QAbstractSocket::RemoteHostClosedError:
      return {ECONNRESET, QStringLiteral("Connexion fermée par l'hôte distant")};
    case QAbstractSocket::HostNotFoundError:
      return {ENXIO, QStringLiteral("Hôte introuvable")};
    case QAbstractSocket::SocketAccessError:
      return {EACCES, QStringLiteral("Permission refusée")};
    case QAbstractSocket::SocketResourceError:
      return {EMFILE, QStringLiteral("Ressources insuffisantes")};
    case QAbstractSocket::SocketTimeoutError:
      return {ETIMEDOUT, QStringLiteral("Délai d'attente dépassé")};
    case QAbstractSocket::NetworkError:
      return {ENETDOWN, QStringLiteral("Erreur réseau")};
    case QAbstractSocket::AddressInUseError:
      return {EADDRINUSE, QStringLiteral("Adresse déjà utilisée")};
    case QAbstractSocket::SocketAddressNotAvailableError:
      return {EADDRNOTAVAIL, QStringLiteral("Adresse non disponible")};
    case QAbstractSocket::UnsupportedSocketOperationError:
      return {EAFNOSUPPORT, QStringLiteral("Opération non prise en charge")};
    default:
      return {EIO, QStringLiteral("Erreur inconnue")};
  }
}

QString SystemCallErrorText(const TSystemError& error, const QString& call) {
  return QStringLiteral("Erreur socket Windows : %1 (%2), avec l'API '%3'")
      .arg(error.text)
      .arg(error.code)
      .arg(call);
}

QString AsyncErrorText(int code) { return QStringLiteral("Erreur socket asynchrone %1").arg(code); }

}  // namespace zerud
