// The DIS intake's UDP socket: opened, bound and (for a multicast group)
// joined in one step, closed when the object goes. The descriptor blocks: its
// receive thread waits in the read itself and is woken for good by
// ShutDownReading (closing a socket wakes no reader on Linux).
#pragma once

#include "engine/NetOptions.h"
#include "engine/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class CDisSocket {
public:
    // The largest datagram taken in; a longer one is counted as truncated.
    static constexpr std::size_t kDatagramBufferSize = 8192;
    static constexpr int kMulticastTtl = 25;
    // ClassifyPdu's answer for a datagram that is not a Transmitter or Signal PDU.
    static constexpr int kOtherPdu = -1;

    // Opens a socket on `port` for `multicast` (0 = none). The bind follows the
    // target address (the group's dotted form, or "255.255.255.255"):
    //   127.x.x.x        bind to that address;
    //   else BindAdx set bind to it, or to any address when that fails;
    //   else a group     bind to any address and join the group;
    //   else             bind to any address.
    // The socket reuses its address, so that other programs may listen to
    // the port too. Returns nothing, with the reason in `error`, when the
    // socket cannot be created, marked for address reuse, bound or joined.
    static std::unique_ptr<CDisSocket> Create(std::uint16_t port, std::uint32_t multicast, const NetOptions& options,
                                              std::string& error);

    int Fd() const { return m_fd.Get(); }
    std::uint16_t BoundPort() const { return m_boundPort; }
    // The address bound to, host order (0: any address).
    std::uint32_t BoundAddress() const { return m_boundAddress; }
    // The socket's inode, by which the system's socket lists name it.
    std::uint64_t Inode() const { return m_inode; }
    const std::string& TargetAddress() const { return m_targetAddress; }
    std::int32_t QueueFlush() const { return m_queueFlush; }
    // The receive buffer the kernel set up (SO_RCVBUF as read back: Linux
    // doubles what is asked for its bookkeeping, and caps it at
    // net.core.rmem_max, doubled likewise).
    std::int32_t ReceiveBufferGranted() const { return m_receiveBufferGranted; }
    // Another socket was bound to the port already: the system hands each
    // unicast datagram to one of them only (broadcasts and multicasts reach
    // every one).
    bool SharesPort() const { return m_sharesPort; }

    // Set while a receive thread reads this socket.
    bool IsReceiving() const { return m_receiving.load(); }
    void SetReceiving(bool receiving) { m_receiving.store(receiving); }
    // Ends reading: a read blocked on the socket returns, and so does every
    // later one. Any thread.
    void ShutDownReading();
    // How long a read waits for a datagram before it fails with EAGAIN; none
    // waits for ever. The receive thread's own.
    void SetReadTimeout(std::optional<std::chrono::microseconds> timeout);

    // The PDU type (byte 2) when it is 25 or 26, else kOtherPdu; nothing else
    // of the header is looked at. `length` must be at least 3.
    static int ClassifyPdu(const std::uint8_t* datagram, std::size_t length);

private:
    CDisSocket(UniqueFd fd, std::string targetAddress, std::int32_t queueFlush)
        : m_fd(std::move(fd)), m_targetAddress(std::move(targetAddress)), m_queueFlush(queueFlush)
    {
    }

    UniqueFd m_fd;
    std::string m_targetAddress;
    std::int32_t m_queueFlush;
    std::uint16_t m_boundPort = 0;
    std::uint32_t m_boundAddress = 0;
    std::uint64_t m_inode = 0;
    std::int32_t m_receiveBufferGranted = 0;
    bool m_sharesPort = false;
    std::atomic<bool> m_receiving{false};
};
