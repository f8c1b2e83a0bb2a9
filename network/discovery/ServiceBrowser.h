#pragma once

#include <avahi-client/lookup.h>

#include <QObject>
#include <QString>
#include <map>
#include <tuple>

#include "network/discovery/AvahiSession.h"

namespace zerud {

class TServerList;

// Looks for the game's servers on the local network over IPv4 and keeps a
// resolver on each one it lists, so that the list follows them as they
// appear, change and go. At most as many resolvers as the list holds rows.
class TServiceBrowser : public QObject {
  Q_OBJECT

 public:
  TServiceBrowser(TAvahiSession& session, TServerList& list, QObject* parent = nullptr);
  ~TServiceBrowser() override;

 private:
  // A service as the browser names it.
  using TKey = std::tuple<AvahiIfIndex, QString, QString>;

  void SessionChanged(TAvahiSession::TState state);
  void Start();
  void Stop();
  void Appeared(AvahiIfIndex interface, AvahiProtocol protocol, const char* name, const char* type,
                const char* domain);
  void Disappeared(AvahiIfIndex interface, const char* name, const char* domain);
  static void BrowseCallback(AvahiServiceBrowser* browser, AvahiIfIndex interface,
                             AvahiProtocol protocol, AvahiBrowserEvent event, const char* name,
                             const char* type, const char* domain, AvahiLookupResultFlags flags,
                             void* userdata);
  static void ResolveCallback(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                              AvahiProtocol protocol, AvahiResolverEvent event, const char* name,
                              const char* type, const char* domain, const char* host,
                              const AvahiAddress* address, uint16_t port, AvahiStringList* txt,
                              AvahiLookupResultFlags flags, void* userdata);

  TAvahiSession& session_;
  TServerList& list_;
  AvahiServiceBrowser* browser_ = nullptr;
  std::map<TKey, AvahiServiceResolver*> resolvers_;
};

}  // namespace zerud
