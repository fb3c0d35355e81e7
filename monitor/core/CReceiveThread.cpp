#include "core/CReceiveThread.h"

#include "core/CDisSocket.h"
#include "core/CPduWorker.h"
#include "core/DisPdu.h"
#include "core/ThreadSetup.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t kTransmitters = 0;
constexpr std::size_t kSignals = 1;

} // namespace

CReceiveThread::CReceiveThread(CDisSocket& socket, IntakeCounters& counters, CPduWorker& transmitters,
                               CPduWorker& signals, const IntakeLimits& limits, DatagramReader::ReadBatch read)
    : m_socket(socket), m_counters(counters), m_workers{&transmitters, &signals}, m_limits(limits),
      m_read(read ? std::move(read) : DatagramReader::FromSocket(socket.Fd())),
      m_pending{std::make_unique<PduBatch>(), std::make_unique<PduBatch>()}, m_thread([this] { Run(); })
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
    DatagramReader reader(std::max<std::size_t>(m_limits.readBatch, 1), CDisSocket::kDatagramBufferSize);
    int failuresInARow = 0;
    // Under steady traffic the socket never runs dry, so the stop flag is
    // looked at before every read, not only when poll() wakes.
    while (!m_stop.load(std::memory_order_relaxed)) {
        const int count = reader.Read(m_read);
        if (count > 0) {
            failuresInARow = 0;
            IntakeCounters::Add(m_counters.received, static_cast<std::uint64_t>(count));
            for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
                Take(reader, i);
            if (const auto dropped = reader.KernelDropped()) {
                // The socket's own running count (it wraps at 2^32).
                IntakeCounters::Add(m_counters.kernelDropped, static_cast<std::uint32_t>(*dropped - m_kernelDroppedSeen));
                m_kernelDroppedSeen = *dropped;
            }
            // A short batch means the socket is empty for now.
            if (static_cast<std::size_t>(count) < m_limits.readBatch)
                HandOffAll();
            continue;
        }
        const int error = count == 0 ? EAGAIN : errno;
        if (error == EINTR)
            continue;
        HandOffAll();
        if (error == EAGAIN || error == EWOULDBLOCK) {
            Wait(true, -1);
            continue;
        }
        // A transient error goes away with the read that reported it; one
        // that keeps coming back is retried at a slowing pace, not spun on.
        IntakeCounters::Add(m_counters.readErrors);
        if (++failuresInARow > 1)
            Wait(false, static_cast<int>(std::min<std::int64_t>(failuresInARow, m_limits.maxReadBackoff.count())));
    }
    HandOffAll();
    m_socket.SetReceiving(false);
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

void CReceiveThread::Wait(bool forData, int timeoutMs)
{
    pollfd fds[2] = {{m_wakeup.Fd(), POLLIN, 0}, {m_socket.Fd(), POLLIN, 0}};
    // EINTR needs no handling: the caller loops and looks at the stop flag.
    (void)::poll(fds, forData ? 2 : 1, timeoutMs);
}
