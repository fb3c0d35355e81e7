#include "engine/CWakeup.h"

#include <sys/eventfd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

CWakeup::CWakeup() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (!m_fd)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

void CWakeup::Signal()
{
    const std::uint64_t one = 1;
    // Cannot fail short of a counter overflow, which leaves it readable anyway.
    while (::write(m_fd.Get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void CWakeup::Clear()
{
    std::uint64_t count = 0;
    while (::read(m_fd.Get(), &count, sizeof count) < 0 && errno == EINTR) {
    }
}
