// The thread that reads one opening of the DIS socket. It keeps Transmitter
// and Signal PDUs, counts and drops everything else, and hands each kept
// datagram to `dispatch` on its own thread. It leaves only when told to:
// empty datagrams, interrupted reads and transient errors do not end it.
#pragma once

#include "core/CWakeup.h"
#include "core/IntakeCounters.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>

class CDisSocket;
struct sockaddr_in;

class CReceiveThread {
public:
    // type is 25 or 26; sender is the dotted IPv4 address of the datagram's source.
    using Dispatch = std::function<void(int type, const std::uint8_t* datagram, std::size_t length, const char* sender)>;

    // Starts reading at once. `socket` and `counters` must outlive this object.
    CReceiveThread(CDisSocket& socket, IntakeCounters& counters, Dispatch dispatch);
    // Wakes the thread and joins it; the socket may be closed afterwards.
    ~CReceiveThread();
    CReceiveThread(const CReceiveThread&) = delete;
    CReceiveThread& operator=(const CReceiveThread&) = delete;

private:
    void Run();
    void Take(const std::uint8_t* datagram, std::size_t length, const sockaddr_in& from);
    // Waits for the wake-up (and for a datagram when `forData`), at most timeoutMs (-1: no limit).
    void Wait(bool forData, int timeoutMs);

    CDisSocket& m_socket;
    IntakeCounters& m_counters;
    Dispatch m_dispatch;
    CWakeup m_wakeup;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;   // last: starts once everything above exists
};
