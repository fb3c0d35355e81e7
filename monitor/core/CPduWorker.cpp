#include "core/CPduWorker.h"

#include "core/DisPdu.h"
#include "core/IPduHandler.h"

namespace {

// Converts the fixed part in the block itself and writes the host-order record
// back over it; a datagram that cannot hold its PDU is refused untouched.
template <typename Record>
bool ConvertInPlace(PduBlock& block, PduConversion (*convert)(const std::uint8_t*, std::size_t, Record&))
{
    Record record;
    if (convert(block.Pdu(), block.Length(), record) != PduConversion::Ok)
        return false;
    StoreRecord(record, block.Pdu());
    return true;
}

} // namespace

CPduWorker::CPduWorker(std::uint8_t pduType, IPduHandler& handler, IntakeCounters& counters, ThreadPriority priority)
    : m_pduType(pduType), m_handler(handler), m_counters(counters), m_thread([this, priority] { Run(priority); })
{
    NameThread(m_thread, pduType == DisPduType::Transmitter ? "dis-transmitter" : "dis-signal");
}

CPduWorker::~CPduWorker() { Stop(); }

bool CPduWorker::Post(PduBlock&& block)
{
    bool wasIdle = false;
    {
        std::lock_guard guard(m_lock);
        if (m_queuedBytes + block.Size() > kMaxQueuedBytes)
            return false;
        wasIdle = m_queue.empty();
        m_queuedBytes += block.Size();
        m_queue.push_back(std::move(block));
    }
    // The worker sleeps only on an empty queue; while it holds a batch it
    // comes back for the rest by itself, so most posts wake nobody.
    if (wasIdle)
        m_ready.notify_one();
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
    std::vector<PduBlock> batch;
    std::unique_lock lock(m_lock);
    for (;;) {
        m_ready.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty())
            break;   // told to stop, and everything queued before has been handled
        batch.swap(m_queue);
        m_queuedBytes = 0;
        lock.unlock();
        for (PduBlock& block : batch)
            Handle(block);
        batch.clear();
        lock.lock();
    }
}

void CPduWorker::Handle(PduBlock& block)
{
    if (m_pduType == DisPduType::Transmitter) {
        if (!ConvertInPlace<TransmitterPdu>(block, NetToHostTransmitterPdu)) {
            IntakeCounters::Add(m_counters.tooShort);
            return;
        }
        IntakeCounters::Add(m_counters.transmitterPdus);
        m_handler.OnTransmitterPdu(block.Pdu(), block.Length(), block.Sender());
    } else {
        if (!ConvertInPlace<SignalPdu>(block, NetToHostSignalPdu)) {
            IntakeCounters::Add(m_counters.tooShort);
            return;
        }
        IntakeCounters::Add(m_counters.signalPdus);
        m_handler.OnSignalPdu(block.Pdu(), block.Length(), block.Sender());
    }
}
