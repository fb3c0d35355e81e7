// This host's IPv4 addresses as dotted texts, looked up once: the transmitter
// tree asks at every radio update whether a sender is this host, and a host
// look-up there would stall the GUI thread behind the resolver.
#pragma once

#include <QSet>
#include <QString>

class CLocalAddresses {
public:
    // The addresses of every interface that is up (loopback included: PDUs
    // sent over it come from this host) and those the host name resolves to.
    static CLocalAddresses ThisHost();
    // The addresses of this host, looked up on the first call of the process.
    static const CLocalAddresses& Cached();

    CLocalAddresses() = default;
    explicit CLocalAddresses(QSet<QString> addresses) : m_addresses(std::move(addresses)) {}

    bool Contains(const QString& dotted) const { return m_addresses.contains(dotted); }
    const QSet<QString>& addresses() const { return m_addresses; }

private:
    QSet<QString> m_addresses;
};
