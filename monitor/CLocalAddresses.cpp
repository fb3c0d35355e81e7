#include "CLocalAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <climits>
#include <memory>

namespace {

QString Dotted(const sockaddr* address)
{
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(address);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr)
        return {};
    return QString::fromLatin1(text);
}

void AddInterfaceAddresses(QSet<QString>& addresses)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return;
    std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, freeifaddrs);
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET && (entry->ifa_flags & IFF_UP))
            addresses.insert(Dotted(entry->ifa_addr));
    }
}

void AddHostNameAddresses(QSet<QString>& addresses)
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0)
        return;   // a name that does not resolve names no address
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next)
        addresses.insert(Dotted(entry->ai_addr));
}

}   // namespace

CLocalAddresses CLocalAddresses::ThisHost()
{
    QSet<QString> addresses;
    AddInterfaceAddresses(addresses);
    AddHostNameAddresses(addresses);
    addresses.remove(QString());
    return CLocalAddresses(std::move(addresses));
}

const CLocalAddresses& CLocalAddresses::Cached()
{
    static const CLocalAddresses addresses = ThisHost();
    return addresses;
}
