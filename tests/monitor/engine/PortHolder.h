// Free UDP ports for the networked tests of the DIS intake and the whole
// application.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

namespace testnet {

// A UDP socket bound to a free port (or to `port`) on every address. Without
// address reuse the intake cannot open that port while it exists; `shared`,
// it is bound with address reuse, so that sockets that reuse addresses too
// (the RTI's, another Quorlex's) share it while nobody else can take it.
// A shared holder of no given port takes one that nobody holds: the system
// would give a socket that reuses addresses a port that another such socket
// holds, and two tests running side by side would share it.
class PortHolder {
public:
    explicit PortHolder(bool shared = false, std::uint16_t port = 0)
    {
        if (shared && port == 0)
            port = PortHolder().port();
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        if (m_fd >= 0 && shared && setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
            close(m_fd);
            m_fd = -1;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(port);
        socklen_t size = sizeof address;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            if (m_fd >= 0)
                close(m_fd);
            throw std::runtime_error("no UDP port to hold");
        }
        m_port = ntohs(address.sin_port);
    }
    ~PortHolder() { close(m_fd); }
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;
    std::uint16_t port() const { return m_port; }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// A port that was free a moment ago.
inline std::uint16_t FreePort() { return PortHolder().port(); }

}   // namespace testnet
