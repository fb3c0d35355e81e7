#include "engine/CUdpSender.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace {

std::uint32_t Resolve(const std::string& host)
{
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1)
        return address.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (error != 0)
        throw std::runtime_error("cannot resolve \"" + host + "\": " + ::gai_strerror(error));
    const std::uint32_t resolved = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return resolved;
}

void Require(bool ok, const char* what)
{
    if (!ok)
        throw std::system_error(errno, std::generic_category(), what);
}

}   // namespace

CUdpSender::CUdpSender(const std::string& host, std::uint16_t port, const UdpSenderOptions& options)
    : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)), m_address(Resolve(host)), m_port(htons(port))
{
    Require(static_cast<bool>(m_fd), "socket");
    const int on = 1;
    Require(::setsockopt(m_fd.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0, "SO_BROADCAST");
    if (IN_MULTICAST(ntohl(m_address))) {
        if (!options.multicastInterface.empty()) {
            in_addr interface {
            };
            if (::inet_pton(AF_INET, options.multicastInterface.c_str(), &interface) != 1)
                throw std::runtime_error("not an interface address: \"" + options.multicastInterface + "\"");
            Require(::setsockopt(m_fd.Get(), IPPROTO_IP, IP_MULTICAST_IF, &interface, sizeof interface) == 0,
                    "IP_MULTICAST_IF");
        }
        const unsigned char ttl = static_cast<unsigned char>(options.multicastTtl);
        const unsigned char loop = 1;
        Require(::setsockopt(m_fd.Get(), IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) == 0, "IP_MULTICAST_TTL");
        Require(::setsockopt(m_fd.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop) == 0, "IP_MULTICAST_LOOP");
    }
}

bool CUdpSender::Send(const std::uint8_t* datagram, std::size_t length)
{
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = m_address;
    destination.sin_port = m_port;
    for (;;) {
        const ssize_t sent = ::sendto(m_fd.Get(), datagram, length, 0, reinterpret_cast<const sockaddr*>(&destination),
                                      sizeof destination);
        if (sent >= 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}
