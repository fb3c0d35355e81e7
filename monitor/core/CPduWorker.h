// A worker of the DIS intake: converts the PDUs of one type (Transmitter or
// Signal) to host order and hands them to the application's handler, on its
// own thread, so that a slow handler never stalls the socket.
#pragma once

#include "core/IntakeCounters.h"
#include "core/PduBlock.h"
#include "core/ThreadSetup.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class IPduHandler;

class CPduWorker {
public:
    // How much a worker that falls behind may hold before new datagrams are
    // dropped (and counted), so that a stuck handler cannot eat the memory.
    static constexpr std::size_t kMaxQueuedBytes = std::size_t{16} << 20;

    // `pduType` is DisPduType::Transmitter or DisPduType::Signal. The handler
    // is called on the worker's thread and must not throw; it and `counters`
    // must outlive the worker.
    CPduWorker(std::uint8_t pduType, IPduHandler& handler, IntakeCounters& counters, ThreadPriority priority);
    // Stop().
    ~CPduWorker();
    CPduWorker(const CPduWorker&) = delete;
    CPduWorker& operator=(const CPduWorker&) = delete;

    // Any thread. Queues the block, or drops it (false) when the queue is full.
    bool Post(PduBlock&& block);
    // Handles every block queued so far, then ends the thread and joins it.
    void Stop();

private:
    void Run(ThreadPriority priority);
    void Handle(PduBlock& block);

    const std::uint8_t m_pduType;
    IPduHandler& m_handler;
    IntakeCounters& m_counters;
    std::mutex m_lock;   // guards the three members below
    std::condition_variable m_ready;
    std::vector<PduBlock> m_queue;
    std::size_t m_queuedBytes = 0;
    bool m_stopping = false;
    std::thread m_thread;   // last: starts once everything above exists
};
