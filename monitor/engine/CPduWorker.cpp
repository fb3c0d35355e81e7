#include "engine/CPduWorker.h"

#include "engine/DisPdu.h"
#include "engine/IPduHandler.h"

#include <utility>

namespace {

// Emptied batches kept for reuse; more than the queue ever holds at a steady
// rate, few enough to give memory back after a burst.
constexpr std::size_t kMaxSpareBatches = 16;

// Converts the fixed part in the buffer itself and writes the host-order
// record back over it; a datagram that cannot hold its PDU is refused untouched.
template <typename Record>
bool ConvertInPlace(std::uint8_t* pdu, std::size_t length,
                    PduConversion (*convert)(const std::uint8_t*, std::size_t, Record&))
{
    Record record;
    if (convert(pdu, length, record) != PduConversion::Ok)
        return false;
    StoreRecord(record, pdu);
    return true;
}

}   // namespace

CPduWorker::CPduWorker(std::uint8_t pduType, IPduHandler& handler, IntakeCounters& counters, ThreadPriority priority,
                       std::size_t maxQueuedBytes)
    : m_pduType(pduType), m_handler(handler), m_counters(counters), m_maxQueuedBytes(maxQueuedBytes),
      m_thread([this, priority] { Run(priority); })
{
    NameThread(m_thread, pduType == DisPduType::Transmitter ? "dis-transmitter" : "dis-signal");
}

CPduWorker::~CPduWorker() { Stop(); }

bool CPduWorker::Post(std::unique_ptr<PduBatch>& batch)
{
    std::unique_ptr<PduBatch> next;
    bool wake = false;
    {
        std::lock_guard guard(m_lock);
        if (m_queuedBytes + batch->Size() > m_maxQueuedBytes) {
            IntakeCounters::Add(m_counters.queueFull, batch->Count());
            batch->Clear();
            return false;
        }
        m_queuedBytes += batch->Size();
        m_queue.push_back(std::move(batch));
        if (!m_spare.empty()) {
            next = std::move(m_spare.back());
            m_spare.pop_back();
        }
        wake = std::exchange(m_sleeping, false);
    }
    if (wake)
        m_ready.notify_one();
    batch = next ? std::move(next) : std::make_unique<PduBatch>();
    return true;
}

void CPduWorker::Stop()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_ready.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void CPduWorker::Run(ThreadPriority priority)
{
    SetCurrentThreadPriority(priority);
    std::vector<std::unique_ptr<PduBatch>> work;
    std::unique_lock lock(m_lock);
    for (;;) {
        // Handled batches go back for reuse at the next visit to the lock.
        for (auto& done : work)
            if (m_spare.size() < kMaxSpareBatches)
                m_spare.push_back(std::move(done));
        work.clear();
        while (m_queue.empty() && !m_stopping) {
            m_sleeping = true;
            m_ready.wait(lock);
        }
        m_sleeping = false;
        if (m_queue.empty())
            break;   // told to stop, and everything queued before has been handled
        work.swap(m_queue);
        m_queuedBytes = 0;
        lock.unlock();
        for (auto& batch : work) {
            Handle(*batch);
            batch->Clear();
        }
        lock.lock();
    }
}

void CPduWorker::Handle(PduBatch& batch)
{
    const bool transmitters = m_pduType == DisPduType::Transmitter;
    // Converted first and counted once a batch (the counters are shared with
    // the other threads), before any handler learns of the batch's PDUs.
    m_converted.assign(batch.Count(), false);
    std::uint64_t converted = 0;
    for (std::size_t i = 0; i < batch.Count(); ++i) {
        const PduBatch::Entry& entry = batch.Entries()[i];
        std::uint8_t* pdu = batch.Pdu(entry);
        m_converted[i] = transmitters ? ConvertInPlace<TransmitterPdu>(pdu, entry.length, NetToHostTransmitterPdu)
                                      : ConvertInPlace<SignalPdu>(pdu, entry.length, NetToHostSignalPdu);
        converted += m_converted[i] ? 1 : 0;
    }
    IntakeCounters::Add(transmitters ? m_counters.transmitterPdus : m_counters.signalPdus, converted);
    if (converted < batch.Count())
        IntakeCounters::Add(m_counters.tooShort, batch.Count() - converted);

    for (std::size_t i = 0; i < batch.Count(); ++i) {
        if (!m_converted[i])
            continue;
        const PduBatch::Entry& entry = batch.Entries()[i];
        const SenderAddress sender(entry.sender);
        if (transmitters)
            m_handler.OnTransmitterPdu(batch.Pdu(entry), entry.length, sender);
        else
            m_handler.OnSignalPdu(batch.Pdu(entry), entry.length, sender);
    }
}
