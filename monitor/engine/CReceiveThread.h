// The thread that reads one opening of the DIS socket. It reads the waiting
// datagrams a batch at a time, keeps Transmitter and Signal PDUs, counts and
// drops everything else, and hands the kept ones to their workers in batches:
// when a batch is full, or once the oldest PDU held has waited the hand-off
// delay. It leaves only
// when told to: empty datagrams, interrupted reads and transient errors do not
// end it, and an error that keeps coming back is retried at a slowing pace.
#pragma once

#include "engine/CWakeup.h"
#include "engine/DatagramReader.h"
#include "engine/IntakeCounters.h"
#include "engine/NetOptions.h"
#include "engine/PduBatch.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

class CDisSocket;
class CPduWorker;

class CReceiveThread {
public:
    // Starts reading at once; `read` stands in for the socket's reads (tests).
    // Everything given must outlive this object.
    CReceiveThread(CDisSocket& socket, IntakeCounters& counters, CPduWorker& transmitters, CPduWorker& signals,
                   const IntakeLimits& limits, DatagramReader::ReadBatch read = {});
    // Wakes the thread (ending reading on the socket) and joins it; the
    // socket is then to be closed.
    ~CReceiveThread();
    CReceiveThread(const CReceiveThread&) = delete;
    CReceiveThread& operator=(const CReceiveThread&) = delete;

private:
    void Run();
    void Take(const DatagramReader& reader, std::size_t index);
    void HandOff(std::size_t worker);
    void HandOffAll();
    bool IsHeld() const;
    // Reads wait at most the hand-off delay while PDUs are held, else for ever.
    void HoldUntilHandOff(bool holding);
    // Waits for the stop, at most `timeout`.
    void WaitForStop(std::chrono::milliseconds timeout);

    CDisSocket& m_socket;
    IntakeCounters& m_counters;
    std::array<CPduWorker*, 2> m_workers;   // Transmitter, Signal
    const IntakeLimits m_limits;
    const DatagramReader::ReadBatch m_read;
    std::array<std::unique_ptr<PduBatch>, 2> m_pending;     // receive thread only
    std::chrono::steady_clock::time_point m_pendingSince;   // the oldest PDU held
    bool m_holding = false;
    std::uint32_t m_kernelDroppedSeen = 0;
    CWakeup m_wakeup;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;   // last: starts once everything above exists
};
