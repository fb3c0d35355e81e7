// A worker of the DIS intake: converts the PDUs of one type (Transmitter or
// Signal) to host order and hands them to the application's handler, on its
// own thread, so that a slow handler never stalls the socket.
//
// PDUs come in batches, in the order they were received, and are handled in
// that order. The receive thread wakes the worker only when it sleeps: while
// it works through what it holds, new batches wait in its queue.
#pragma once

#include "engine/IntakeCounters.h"
#include "engine/PduBatch.h"
#include "engine/ThreadSetup.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class IPduHandler;

class CPduWorker {
public:
    // `pduType` is DisPduType::Transmitter or DisPduType::Signal. The handler
    // is called on the worker's thread and must not throw; it and `counters`
    // must outlive the worker. `maxQueuedBytes` bounds the queue (PduBatch::
    // Size), so that a stuck handler cannot eat the memory: datagrams beyond
    // it are dropped and counted.
    CPduWorker(std::uint8_t pduType, IPduHandler& handler, IntakeCounters& counters, ThreadPriority priority,
               std::size_t maxQueuedBytes);
    // Stop().
    ~CPduWorker();
    CPduWorker(const CPduWorker&) = delete;
    CPduWorker& operator=(const CPduWorker&) = delete;

    // One thread at a time (the receive thread). Queues the batch's PDUs, or
    // drops them all (counted as queueFull) when the queue would exceed its
    // bound; `batch` comes back empty, ready for the next PDUs.
    bool Post(std::unique_ptr<PduBatch>& batch);
    // Handles every batch queued so far, then ends the thread and joins it.
    void Stop();

private:
    void Run(ThreadPriority priority);
    void Handle(PduBatch& batch);

    const std::uint8_t m_pduType;
    IPduHandler& m_handler;
    IntakeCounters& m_counters;
    const std::size_t m_maxQueuedBytes;
    std::mutex m_lock;   // guards the members below
    std::condition_variable m_ready;
    std::vector<std::unique_ptr<PduBatch>> m_queue;
    std::vector<std::unique_ptr<PduBatch>> m_spare;   // handled, emptied, for reuse
    std::size_t m_queuedBytes = 0;
    bool m_sleeping = false;
    bool m_stopping = false;
    std::vector<bool> m_converted;   // worker thread only: which PDUs of a batch are whole
    std::thread m_thread;            // last: starts once everything above exists
};
