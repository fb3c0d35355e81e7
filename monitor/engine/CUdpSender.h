// Sends datagrams to one IPv4 destination: a host, a broadcast address or a
// multicast group. For the sender tool, tests and benchmarks; the monitor
// itself never sends.
#pragma once

#include "engine/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct UdpSenderOptions {
    // Interface address for multicast (IP_MULTICAST_IF); empty = the system's choice.
    std::string multicastInterface;
    int multicastTtl = 1;   // stays on the local network unless asked
};

class CUdpSender {
public:
    // `host` is a dotted address or a host name. Throws std::runtime_error
    // with the reason when it cannot be resolved or the socket cannot be made.
    CUdpSender(const std::string& host, std::uint16_t port, const UdpSenderOptions& options = {});

    // False (errno set) when the system refuses the datagram.
    bool Send(const std::uint8_t* datagram, std::size_t length);
    // Any contiguous container of bytes (std::vector, std::string, ...).
    template <typename Bytes>
    bool Send(const Bytes& datagram)
    {
        return Send(reinterpret_cast<const std::uint8_t*>(datagram.data()), datagram.size());
    }

private:
    UniqueFd m_fd;
    std::uint32_t m_address = 0;   // network order
    std::uint16_t m_port = 0;      // network order
};
