// The servers on the local network, browsed and resolved through Avahi.
#include "network/discovery/ServiceBrowser.h"

#include <QTimer>

#include "network/discovery/ServerList.h"
#include "network/discovery/ServiceType.h"

namespace zerud {

TServiceBrowser::TServiceBrowser(TAvahiSession& session, TServerList& list, QObject* parent)
    : QObject(parent), session_(session), list_(list) {
  connect(&session_, &TAvahiSession::StateChanged, this, &TServiceBrowser::SessionChanged);
  Start();
}

TServiceBrowser::~TServiceBrowser() { Stop(); }

void TServiceBrowser::SessionChanged(TAvahiSession::TState state) {
  if (state == TAvahiSession::TState::Running)
    Start();
  else if (state == TAvahiSession::TState::Gone)
    Stop();
}

void TServiceBrowser::Start() {
  AvahiClient* client = session_.Client();
  if (browser_ != nullptr || client == nullptr) return;
  browser_ =
      avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, kServiceType, nullptr,
                                static_cast<AvahiLookupFlags>(0), BrowseCallback, this);
}

void TServiceBrowser::Stop() {
  for (auto& [key, resolver] : resolvers_) avahi_service_resolver_free(resolver);
  resolvers_.clear();
  if (browser_) avahi_service_browser_free(browser_);
  browser_ = nullptr;
  list_.Clear();
}

void TServiceBrowser::Appeared(AvahiIfIndex interface, AvahiProtocol protocol, const char* name,
                               const char* type, const char* domain) {
  const TKey key{interface, FromAvahi(name), FromAvahi(domain)};
  AvahiClient* client = session_.Client();
  // A flood of services gets no more resolvers than the list has rows.
  if (client == nullptr || resolvers_.count(key) != 0 ||
      resolvers_.size() >= static_cast<size_t>(TServerList::kMostServers))
    return;
  AvahiServiceResolver* resolver =
      avahi_service_resolver_new(client, interface, protocol, name, type, domain, AVAHI_PROTO_INET,
                                 static_cast<AvahiLookupFlags>(0), ResolveCallback, this);
  if (resolver) resolvers_[key] = resolver;
}

void TServiceBrowser::Disappeared(AvahiIfIndex interface, const char* name, const char* domain) {
  const auto found = resolvers_.find(TKey{interface, FromAvahi(name), FromAvahi(domain)});
  if (found != resolvers_.end()) {
    avahi_service_resolver_free(found->second);
    resolvers_.erase(found);
  }
  list_.Gone(interface, name, domain);
}

void TServiceBrowser::BrowseCallback(AvahiServiceBrowser*, AvahiIfIndex interface,
                                     AvahiProtocol protocol, AvahiBrowserEvent event,
                                     const char* name, const char* type, const char* domain,
                                     AvahiLookupResultFlags, void* userdata) {
  auto* browser = static_cast<TServiceBrowser*>(userdata);
  switch (event) {
    case AVAHI_BROWSER_NEW:
      browser->Appeared(interface, protocol, name, type, domain);
      break;
    case AVAHI_BROWSER_REMOVE:
      browser->Disappeared(interface, name, domain);
      break;
    case AVAHI_BROWSER_FAILURE:
      // Nothing more will come from this browser; a new one starts when the
      // daemon runs again. It is freed out of its own callback.
      QTimer::singleShot(0, browser, &TServiceBrowser::Stop);
      break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
    case AVAHI_BROWSER_CACHE_EXHAUSTED:
      break;
  }
}

void TServiceBrowser::ResolveCallback(AvahiServiceResolver*, AvahiIfIndex interface, AvahiProtocol,
                                      AvahiResolverEvent event, const char* name, const char*,
                                      const char* domain, const char*, const AvahiAddress* address,
                                      uint16_t port, AvahiStringList*, AvahiLookupResultFlags,
                                      void* userdata) {
  auto* browser = static_cast<TServiceBrowser*>(userdata);
  if (event == AVAHI_RESOLVER_FOUND)
    browser->list_.Found(interface, name, domain, address, port);
  else
    // It no longer answers: out of the list, and free to be resolved again
    // when the browser sees it anew.
    browser->Disappeared(interface, name, domain);
}

}  // namespace zerud
