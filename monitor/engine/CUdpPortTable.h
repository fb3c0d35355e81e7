// The UDP sockets bound on this host (in this network namespace), as the
// kernel lists them in /proc/net/udp and /proc/net/udp6: enough to tell
// whether another program listens on the DIS port too. The system hands each
// unicast datagram to one of the sockets that share a port (the one bound
// last), broadcasts and multicasts to every one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class CUdpPortTable {
public:
    struct Socket {
        std::uint32_t address = 0;   // IPv4, host order; 0 with anyAddress
        bool anyAddress = false;     // 0.0.0.0 or ::
        std::uint16_t port = 0;
        std::uint64_t inode = 0;
    };

    // Both lists of this process's network namespace; empty when they
    // cannot be read.
    static CUdpPortTable Read();
    // From the texts of the two lists; lines that do not read as a socket
    // are skipped. IPv6 sockets count when bound to :: or to an IPv4 address.
    static CUdpPortTable Parse(std::string_view ipv4List, std::string_view ipv6List);

    // Whether a socket other than the one of `inode` is bound to `port` where
    // a datagram for `address` (0: any address) could reach it.
    bool OthersOn(std::uint16_t port, std::uint32_t address, std::uint64_t inode) const;

    const std::vector<Socket>& sockets() const { return m_sockets; }

private:
    void ParseList(std::string_view text, bool ipv6);

    std::vector<Socket> m_sockets;
};
