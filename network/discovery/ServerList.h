#pragma once

#include <avahi-common/address.h>

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace zerud {

// The game servers found on the local network, as the client's drop-down
// shows them: "name (address:port)", one row each, sorted by name. It is fed
// with what Avahi's browser and resolvers report and keeps only what the
// game can use: IPv4 addresses (the sockets are IPv4), a port, at most
// kMostServers rows, names cut to kLongestName characters with every
// control character shown as "\uFFFD".
class TServerList : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kMostServers = 50;
  static constexpr int kLongestName = 40;
  // Beside the row's text: the address (also its edit text) and the port.
  static constexpr int AddressRole = Qt::UserRole;
  static constexpr int PortRole = Qt::UserRole + 1;

  using QAbstractListModel::QAbstractListModel;

  // A service was resolved, or resolved again after a change; it replaces
  // the row of the same service (interface, name and domain).
  void Found(AvahiIfIndex interface, const char* name, const char* domain,
             const AvahiAddress* address, uint16_t port);
  // The service left the network.
  void Gone(AvahiIfIndex interface, const char* name, const char* domain);
  // The daemon went away: nothing is known any more.
  void Clear();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  struct TServer {
    AvahiIfIndex interface;
    QString service;  // the name as announced, for finding the row again
    QString domain;
    QString name;  // as shown
    QString address;
    quint16 port;
  };
  int RowOf(AvahiIfIndex interface, const QString& service, const QString& domain) const;
  void Insert(TServer server);
  void Remove(int row);

  std::vector<TServer> servers_;
};

// A text Avahi hands over (UTF-8, possibly null) as a QString.
inline QString FromAvahi(const char* text) { return QString::fromUtf8(text ? text : ""); }

// `name` as it may be shown: every control or formatting character becomes
// "\uFFFD", and a name longer than `longest` characters ends in "…".
QString ShownServiceName(const QString& name, int longest);

}  // namespace zerud
