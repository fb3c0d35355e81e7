#include "engine/CReceiveThread.h"

#include "engine/CDisSocket.h"
#include "engine/CPduWorker.h"
#include "engine/DisPdu.h"
#include "engine/ThreadSetup.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t kTransmitters = 0;
constexpr std::size_t kSignals = 1;

}   // namespace

CReceiveThread::CReceiveThread(CDisSocket& socket, IntakeCounters& counters, CPduWorker& transmitters,
                               CPduWorker& signals, const IntakeLimits& limits, DatagramReader::ReadBatch read)
    : m_socket(socket), m_counters(counters), m_workers{&transmitters, &signals}, m_limits(limits),
      m_read(read ? std::move(read) : DatagramReader::FromSocket(socket.Fd())), m_pending{std::make_unique<PduBatch>(),
                                                                                          std::make_unique<PduBatch>()},
      m_thread([this] { Run(); })
{
    NameThread(m_thread, "dis-receive");
}

CReceiveThread::~CReceiveThread()
{
    m_stop.store(true);
    m_wakeup.Signal();
    m_socket.ShutDownReading();
    m_thread.join();
}

void CReceiveThread::Run()
{
    SetCurrentThreadPriority(ThreadPriority::Highest);
    m_socket.SetReceiving(true);
    DatagramReader reader(std::max<std::size_t>(m_limits.readBatch, 1), CDisSocket::kDatagramBufferSize);
    int failuresInARow = 0;
    // The read itself waits for datagrams, as long as nothing is held; while
    // PDUs are held it waits at most the hand-off delay. Under steady traffic
    // the socket never runs dry, so the stop flag is looked at before every read.
    while (!m_stop.load(std::memory_order_relaxed)) {
        const int count = reader.Read(m_read);
        // Stopping ends reading: what the read returns now (the socket gives
        // empty reads once shut down) is no traffic.
        if (m_stop.load(std::memory_order_relaxed))
            break;
        if (count > 0) {
            failuresInARow = 0;
            IntakeCounters::Add(m_counters.received, static_cast<std::uint64_t>(count));
            for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
                Take(reader, i);
            if (const auto dropped = reader.KernelDropped()) {
                // The socket's own running count (it wraps at 2^32).
                IntakeCounters::Add(m_counters.kernelDropped,
                                    static_cast<std::uint32_t>(*dropped - m_kernelDroppedSeen));
                m_kernelDroppedSeen = *dropped;
            }
            if (IsHeld() && std::chrono::steady_clock::now() - m_pendingSince >= m_limits.handOffDelay)
                HandOffAll();
            HoldUntilHandOff(IsHeld());
            continue;
        }
        const int error = count == 0 ? EAGAIN : errno;
        if (error == EINTR)
            continue;
        HandOffAll();
        HoldUntilHandOff(false);
        if (error == EAGAIN || error == EWOULDBLOCK)
            continue;   // the hand-off delay ran out
        // A transient error goes away with the read that reported it; one
        // that keeps coming back is retried at a slowing pace, not spun on.
        IntakeCounters::Add(m_counters.readErrors);
        if (++failuresInARow > 1)
            WaitForStop(
                std::chrono::milliseconds(std::min<std::int64_t>(failuresInARow, m_limits.maxReadBackoff.count())));
    }
    HandOffAll();
    m_socket.SetReceiving(false);
}

bool CReceiveThread::IsHeld() const { return !m_pending[kTransmitters]->Empty() || !m_pending[kSignals]->Empty(); }

void CReceiveThread::HoldUntilHandOff(bool holding)
{
    // Changed only when the state changes: at a steady rate once per hand-off.
    if (holding == m_holding)
        return;
    m_holding = holding;
    m_socket.SetReadTimeout(holding ? std::optional(m_limits.handOffDelay) : std::nullopt);
}

void CReceiveThread::Take(const DatagramReader& reader, std::size_t index)
{
    const std::size_t length = reader.Length(index);
    const std::uint8_t* datagram = reader.Data(index);
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
    const std::size_t worker = type == DisPduType::Transmitter ? kTransmitters : kSignals;
    if (m_pending[kTransmitters]->Empty() && m_pending[kSignals]->Empty())
        m_pendingSince = std::chrono::steady_clock::now();
    m_pending[worker]->Add(datagram, length, reader.Sender(index));
    if (m_pending[worker]->Count() >= m_limits.handOffCount)
        HandOff(worker);
}

void CReceiveThread::HandOff(std::size_t worker)
{
    if (!m_pending[worker]->Empty())
        m_workers[worker]->Post(m_pending[worker]);
}

void CReceiveThread::HandOffAll()
{
    HandOff(kTransmitters);
    HandOff(kSignals);
}

void CReceiveThread::WaitForStop(std::chrono::milliseconds timeout)
{
    pollfd wakeup{m_wakeup.Fd(), POLLIN, 0};
    // EINTR needs no handling: the caller loops and looks at the stop flag.
    (void)::poll(&wakeup, 1, static_cast<int>(timeout.count()));
}
