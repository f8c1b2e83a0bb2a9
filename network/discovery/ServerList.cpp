// The servers found on the local network and the rules of what is shown.
#include "network/discovery/ServerList.h"

#include <QList>
#include <algorithm>

namespace zerud {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEllipsis = 0x2026;

// What would break the line, turn the text around or hide in it.
bool Unshowable(char32_t c) {
  switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      return true;
    default:
      return false;
  }
}

}  // namespace

QString ShownServiceName(const QString& name, int longest) {
  const QList<uint> chars = name.toUcs4();
  const bool cut = chars.size() > longest;
  QString shown;
  for (qsizetype i = 0; i < (cut ? longest - 1 : chars.size()); ++i) {
    const char32_t c = Unshowable(chars[i]) ? kReplacement : chars[i];
    if (QChar::requiresSurrogates(c)) {
      shown += QChar(QChar::highSurrogate(c));
      shown += QChar(QChar::lowSurrogate(c));
    } else {
      shown += QChar(c);
    }
  }
  if (cut) shown += QChar(kEllipsis);
  return shown;
}

void TServerList::Found(AvahiIfIndex interface, const char* name, const char* domain,
                        const AvahiAddress* address, uint16_t port) {
  const QString service = FromAvahi(name);
  const int row = RowOf(interface, service, FromAvahi(domain));
  // Only what the client socket can reach is offered.
  const bool usable = address != nullptr && address->proto == AVAHI_PROTO_INET &&
                      address->data.ipv4.address != 0 && port != 0;
  if (!usable) {
    if (row >= 0) Remove(row);
    return;
  }
  char text[AVAHI_ADDRESS_STR_MAX];
  avahi_address_snprint(text, sizeof text, address);
  if (row >= 0) {
    servers_[row].address = QString::fromLatin1(text);
    servers_[row].port = port;
    emit dataChanged(index(row), index(row));
    return;
  }
  // A flood of announcements is cut short.
  if (rowCount() >= kMostServers) return;
  Insert({interface, service, FromAvahi(domain), ShownServiceName(service, kLongestName),
          QString::fromLatin1(text), port});
}

void TServerList::Gone(AvahiIfIndex interface, const char* name, const char* domain) {
  const int row = RowOf(interface, FromAvahi(name), FromAvahi(domain));
  if (row >= 0) Remove(row);
}

void TServerList::Clear() {
  if (servers_.empty()) return;
  // Rows removed rather than a reset: a combo box empties its edit text on a
  // reset.
  beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
  servers_.clear();
  endRemoveRows();
}

int TServerList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(servers_.size());
}

QVariant TServerList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TServer& server = servers_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return QStringLiteral("%1 (%2:%3)").arg(server.name, server.address).arg(server.port);
    case Qt::EditRole:
    case AddressRole:
      return server.address;
    case PortRole:
      return server.port;
    default:
      return {};
  }
}

int TServerList::RowOf(AvahiIfIndex interface, const QString& service,
                       const QString& domain) const {
  for (size_t row = 0; row < servers_.size(); ++row) {
    const TServer& s = servers_[row];
    if (s.interface == interface && s.service == service && s.domain == domain)
      return static_cast<int>(row);
  }
  return -1;
}

void TServerList::Insert(TServer server) {
  // After the names that sort before it or equal it: a new server never
  // moves the rows a player is looking at more than it must.
  const auto place = std::upper_bound(
      servers_.begin(), servers_.end(), server, [](const TServer& a, const TServer& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
      });
  const int row = static_cast<int>(place - servers_.begin());
  beginInsertRows(QModelIndex(), row, row);
  servers_.insert(place, std::move(server));
  endInsertRows();
}

void TServerList::Remove(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  servers_.erase(servers_.begin() + row);
  endRemoveRows();
}

}  // namespace zerud
