// The DIS intake: a net-manager thread that owns the socket and reopens it on
// a change of port or group, a receive thread per opening, and two workers
// (Transmitter PDUs, Signal PDUs) that convert each PDU to host order and hand
// it to the application's IPduHandler.
//
// Start, SetPort, SetMulticastAddress and Stop are called from one thread at
// a time (the application's, never a handler: Stop waits for the handlers);
// each is carried out by the net-manager thread and returns when it is done.
// The other members may be called from any thread.
#pragma once

#include "engine/CPduWorker.h"
#include "engine/IntakeCounters.h"
#include "engine/NetOptions.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class CDisSocket;
class CReceiveThread;
class IPduHandler;

class CNetMgr {
public:
    // The handler must outlive the net manager's threads (Stop or the destructor).
    explicit CNetMgr(IPduHandler& handler);
    // Stop().
    ~CNetMgr();
    CNetMgr(const CNetMgr&) = delete;
    CNetMgr& operator=(const CNetMgr&) = delete;

    // Starts the threads and opens the socket on options.port and
    // options.multicastAddress. Returns true once it is open; false when it
    // could not be opened (ErrorText says why), with every thread ended again.
    // Does nothing on a running net manager but answer whether its socket is open.
    bool Start(const NetOptions& options);

    // Reopen on another port or group (0 = none). The same value as in use
    // leaves an open socket alone. Returns whether a socket is open afterwards;
    // when the new one cannot be opened the intake receives nothing until a
    // later change opens one. False, doing nothing, when not running.
    bool SetPort(std::uint16_t port);
    bool SetMulticastAddress(std::uint32_t address);

    // Closes the socket, lets the workers handle what they hold, and joins
    // every thread. Nothing calls the handler afterwards.
    void Stop();

    bool IsRunning() const { return m_running.load(); }
    bool IsSocketOpen() const { return m_socketOpen.load(); }
    // The port the open socket is bound to (useful after asking for port 0).
    std::uint16_t BoundPort() const { return m_boundPort.load(); }
    // Why the last opening failed; empty after a successful one.
    std::string ErrorText() const;
    // What the user should hear about an opening that worked, once per net
    // manager: a receive buffer the kernel made smaller than asked for, with
    // both sizes. Empty when there is nothing (left) to say.
    std::string TakeNotice();
    // Whether another socket (another program's) is bound to the open
    // socket's port now, where DIS datagrams for it could reach it: the
    // system then hands each unicast PDU to one of them only (the one bound
    // last). Looked up in the system's list of sockets at each call; false
    // while no socket is open.
    bool IsPortShared() const;
    // What the user is told while the port is shared.
    static std::string SharedPortNotice(std::uint16_t port);
    IntakeCounts Counters() const { return m_counters.Snapshot(); }

private:
    void Run(std::promise<bool> started);
    void ServeCommands();
    // Runs `command` on the net-manager thread and returns its result.
    bool Call(std::function<bool()> command);
    // Reopens with a new port or group; an open socket on the same value stays.
    template <typename Value>
    bool Change(Value NetOptions::*setting, Value value);
    bool OpenSocket();
    void CloseSocket();
    void SetError(std::string text);
    void NoteReceiveBuffer(const CDisSocket& socket);

    IPduHandler& m_handler;
    IntakeCounters m_counters;

    // Owned by the net-manager thread while it runs.
    NetOptions m_options;
    std::unique_ptr<CPduWorker> m_signalWorker;
    std::unique_ptr<CPduWorker> m_transmitterWorker;
    std::unique_ptr<CDisSocket> m_socket;
    std::unique_ptr<CReceiveThread> m_receiveThread;   // reads m_socket; goes first
    bool m_stopRequested = false;

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_socketOpen{false};
    std::atomic<std::uint16_t> m_boundPort{0};
    std::atomic<std::uint32_t> m_boundAddress{0};
    std::atomic<std::uint64_t> m_socketInode{0};

    mutable std::mutex m_lock;   // guards the members below
    std::condition_variable m_commandReady;
    std::deque<std::packaged_task<bool()>> m_commands;
    bool m_accepting = false;   // the net-manager thread serves m_commands
    std::string m_error;
    std::string m_notice;
    bool m_bufferNoted = false;

    std::thread m_thread;
};
