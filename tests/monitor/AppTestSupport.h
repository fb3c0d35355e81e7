// Helpers of the tests that run the whole application: free loopback ports
// for the DIS intake and waiting for what the event loop delivers.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <stdexcept>

namespace apptest {

// A UDP socket bound to a free port on every address, without address
// reuse: the intake cannot open that port while it exists.
class PortHolder {
public:
    PortHolder()
    {
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof address;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("no UDP port to hold");
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

inline std::uint16_t FreePort()
{
    return PortHolder().port();
}

inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace apptest
