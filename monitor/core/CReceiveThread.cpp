#include "core/CReceiveThread.h"

#include "core/CDisSocket.h"
#include "core/ThreadSetup.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <vector>

CReceiveThread::CReceiveThread(CDisSocket& socket, IntakeCounters& counters, Dispatch dispatch)
    : m_socket(socket), m_counters(counters), m_dispatch(std::move(dispatch)), m_thread([this] { Run(); })
{
    NameThread(m_thread, "dis-receive");
}

CReceiveThread::~CReceiveThread()
{
    m_stop.store(true);
    m_wakeup.Signal();
    m_thread.join();
}

void CReceiveThread::Run()
{
    SetCurrentThreadPriority(ThreadPriority::Highest);
    m_socket.SetReceiving(true);
    std::vector<std::uint8_t> buffer(CDisSocket::kDatagramBufferSize);
    int failuresInARow = 0;
    // Under steady traffic the socket never runs dry, so the stop flag is
    // looked at before every read, not only when poll() wakes.
    while (!m_stop.load(std::memory_order_relaxed)) {
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        // MSG_TRUNC: the result is the datagram's real size, so an oversized
        // one is recognised instead of being taken for a shorter PDU.
        const ssize_t read = ::recvfrom(m_socket.Fd(), buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT,
                                        reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (read >= 0) {
            failuresInARow = 0;
            Take(buffer.data(), static_cast<std::size_t>(read), from);
            continue;
        }
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            Wait(true, -1);
            continue;
        }
        // A transient error goes away with the read that reported it; one
        // that keeps coming back is retried at a slowing pace, not spun on.
        IntakeCounters::Add(m_counters.readErrors);
        if (++failuresInARow > 1)
            Wait(false, std::min(failuresInARow, 100));
    }
    m_socket.SetReceiving(false);
}

void CReceiveThread::Take(const std::uint8_t* datagram, std::size_t length, const sockaddr_in& from)
{
    IntakeCounters::Add(m_counters.received);
    if (length == 0) {
        IntakeCounters::Add(m_counters.empty);
        return;
    }
    if (length > CDisSocket::kDatagramBufferSize) {
        IntakeCounters::Add(m_counters.truncated);
        return;
    }
    if (length < 3) {   // not even the PDU type is there
        IntakeCounters::Add(m_counters.tooShort);
        return;
    }
    const int type = CDisSocket::ClassifyPdu(datagram, length);
    if (type == CDisSocket::kOtherPdu) {
        IntakeCounters::Add(m_counters.droppedOtherType);
        IntakeCounters::Add(m_counters.droppedByType[datagram[2]]);
        return;
    }
    char sender[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, sender, sizeof sender);
    m_dispatch(type, datagram, length, sender);
}

void CReceiveThread::Wait(bool forData, int timeoutMs)
{
    pollfd fds[2] = {{m_wakeup.Fd(), POLLIN, 0}, {m_socket.Fd(), POLLIN, 0}};
    // EINTR needs no handling: the caller loops and looks at the stop flag.
    (void)::poll(fds, forData ? 2 : 1, timeoutMs);
}
