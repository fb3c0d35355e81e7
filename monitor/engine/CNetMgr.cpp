#include "engine/CNetMgr.h"

#include "engine/CDisSocket.h"
#include "engine/CReceiveThread.h"
#include "engine/CUdpPortTable.h"
#include "engine/DisPdu.h"
#include "engine/ThreadSetup.h"

#include <exception>
#include <utility>

CNetMgr::CNetMgr(IPduHandler& handler) : m_handler(handler) {}

CNetMgr::~CNetMgr() { Stop(); }

bool CNetMgr::Start(const NetOptions& options)
{
    if (m_thread.joinable())
        return IsSocketOpen();
    m_options = options;
    m_stopRequested = false;
    std::promise<bool> started;
    std::future<bool> result = started.get_future();
    try {
        m_thread = std::thread([this, promise = std::move(started)]() mutable { Run(std::move(promise)); });
        NameThread(m_thread, "dis-netmgr");
    } catch (const std::exception& e) {
        SetError(std::string("Cannot start the DIS intake: ") + e.what());
        return false;
    }
    if (result.get())
        return true;
    m_thread.join();
    return false;
}

bool CNetMgr::SetPort(std::uint16_t port) { return Change(&NetOptions::port, port); }

bool CNetMgr::SetMulticastAddress(std::uint32_t address) { return Change(&NetOptions::multicastAddress, address); }

template <typename Value>
bool CNetMgr::Change(Value NetOptions::*setting, Value value)
{
    return Call([this, setting, value] {
        if (m_options.*setting == value && m_socket)
            return true;
        m_options.*setting = value;
        return OpenSocket();
    });
}

void CNetMgr::Stop()
{
    if (!m_thread.joinable())
        return;
    Call([this] {
        m_stopRequested = true;
        return true;
    });
    m_thread.join();
}

std::string CNetMgr::ErrorText() const
{
    std::lock_guard guard(m_lock);
    return m_error;
}

std::string CNetMgr::TakeNotice()
{
    std::lock_guard guard(m_lock);
    return std::exchange(m_notice, {});
}

void CNetMgr::NoteReceiveBuffer(const CDisSocket& socket)
{
    const std::int32_t asked = m_options.receiveBufferSize;
    const std::int32_t granted = socket.ReceiveBufferGranted();
    std::lock_guard guard(m_lock);
    if (m_bufferNoted || granted <= 0 || granted >= asked)
        return;
    m_bufferNoted = true;
    m_notice = "The DIS socket's receive buffer is " + std::to_string(granted) + " bytes, less than the " +
               std::to_string(asked) +
               " bytes asked for (the system's limit is net.core.rmem_max): bursts of traffic may lose datagrams.";
}

std::string CNetMgr::SharedPortNotice(std::uint16_t port)
{
    return "Port " + std::to_string(port) + " is also in use by another program: unicast PDUs reach only one of them";
}

bool CNetMgr::IsPortShared() const
{
    const std::uint16_t port = m_boundPort.load();
    if (port == 0)
        return false;
    return CUdpPortTable::Read().OthersOn(port, m_boundAddress.load(), m_socketInode.load());
}

void CNetMgr::SetError(std::string text)
{
    std::lock_guard guard(m_lock);
    m_error = std::move(text);
}

void CNetMgr::Run(std::promise<bool> started)
{
    SetCurrentThreadPriority(ThreadPriority::TimeCritical);
    bool open = false;
    try {
        const std::size_t queueBytes = m_options.limits.workerQueueBytes;
        m_signalWorker = std::make_unique<CPduWorker>(DisPduType::Signal, m_handler, m_counters,
                                                      ThreadPriority::TimeCritical, queueBytes);
        m_transmitterWorker = std::make_unique<CPduWorker>(DisPduType::Transmitter, m_handler, m_counters,
                                                           ThreadPriority::Highest, queueBytes);
        open = OpenSocket();
    } catch (const std::exception& e) {
        SetError(std::string("Cannot start the DIS intake: ") + e.what());
    }
    if (open) {
        std::lock_guard guard(m_lock);
        m_accepting = true;
    }
    m_running.store(open);
    started.set_value(open);
    if (open)
        ServeCommands();
    CloseSocket();
    // Each worker handles what it still holds before it ends.
    m_signalWorker.reset();
    m_transmitterWorker.reset();
    m_running.store(false);
}

void CNetMgr::ServeCommands()
{
    std::unique_lock lock(m_lock);
    while (!m_stopRequested) {
        m_commandReady.wait(lock, [this] { return !m_commands.empty(); });
        std::packaged_task<bool()> command = std::move(m_commands.front());
        m_commands.pop_front();
        lock.unlock();
        command();
        lock.lock();
    }
    // A caller still waiting behind the stop is answered "not running".
    m_accepting = false;
    m_commands.clear();
}

bool CNetMgr::Call(std::function<bool()> command)
{
    std::packaged_task<bool()> task(std::move(command));
    std::future<bool> result = task.get_future();
    {
        std::lock_guard guard(m_lock);
        if (!m_accepting)
            return false;
        m_commands.push_back(std::move(task));
    }
    m_commandReady.notify_one();
    try {
        return result.get();
    } catch (const std::future_error&) {   // dropped unrun at the stop
        return false;
    }
}

bool CNetMgr::OpenSocket()
{
    CloseSocket();
    std::string error;
    std::unique_ptr<CDisSocket> socket =
        CDisSocket::Create(m_options.port, m_options.multicastAddress, m_options, error);
    if (!socket) {
        SetError(std::move(error));
        return false;
    }
    try {
        m_receiveThread = std::make_unique<CReceiveThread>(*socket, m_counters, *m_transmitterWorker, *m_signalWorker,
                                                           m_options.limits);
    } catch (const std::exception& e) {
        SetError(std::string("Cannot start reading the DIS socket: ") + e.what());
        return false;
    }
    m_socket = std::move(socket);
    // The port in use from now on, also when the system picked it.
    m_options.port = m_socket->BoundPort();
    m_boundAddress.store(m_socket->BoundAddress());
    m_socketInode.store(m_socket->Inode());
    m_boundPort.store(m_options.port);
    m_socketOpen.store(true);
    NoteReceiveBuffer(*m_socket);
    IntakeCounters::Add(m_counters.socketOpenings);
    SetError({});
    return true;
}

void CNetMgr::CloseSocket()
{
    m_socketOpen.store(false);
    m_boundPort.store(0);
    // Closing a socket does not wake a thread blocked on it: the reader is
    // woken and joined first, and only then is its socket closed.
    m_receiveThread.reset();
    m_socket.reset();
}
