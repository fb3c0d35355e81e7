// Reads the datagrams waiting on a socket in batches (one recvmmsg call for
// up to a batch of them), into buffers it keeps: each datagram's bytes, its
// real length (also when it was longer than the buffer), its sender, and the
// socket's count of datagrams the kernel dropped for want of buffer space.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DatagramReader {
public:
    // What fills the messages: recvmmsg on a socket, or a stand-in. Returns
    // the number filled, or -1 with errno set.
    using ReadBatch = std::function<int(mmsghdr* messages, unsigned count)>;

    // Reads from `fd` (which should have SO_RXQ_OVFL set): waits as the
    // socket does for the first datagram, then takes what else is waiting.
    static ReadBatch FromSocket(int fd);

    // Room for `batch` datagrams of `datagramBuffer` bytes each.
    DatagramReader(std::size_t batch, std::size_t datagramBuffer);

    // Reads what is waiting, at most a batch: the count, or -1 with errno set.
    int Read(const ReadBatch& read);
    std::size_t BatchSize() const { return m_messages.size(); }

    // Of the datagrams of the last Read, by index.
    const std::uint8_t* Data(std::size_t i) const { return m_buffers.data() + i * m_datagramBuffer; }
    // The datagram's real size, which exceeds the buffer for a longer one.
    std::size_t Length(std::size_t i) const;
    // First octet in the high byte.
    std::uint32_t Sender(std::size_t i) const { return ntohl(m_senders[i].sin_addr.s_addr); }
    // The socket's running count of dropped datagrams, as the last Read saw it.
    std::optional<std::uint32_t> KernelDropped() const { return m_kernelDropped; }

private:
    const std::size_t m_datagramBuffer;
    std::vector<std::uint8_t> m_buffers;
    std::vector<mmsghdr> m_messages;
    std::vector<iovec> m_vectors;
    std::vector<sockaddr_in> m_senders;
    std::vector<std::uint8_t> m_controls;
    std::optional<std::uint32_t> m_kernelDropped;
    std::size_t m_filled = 0;   // messages the last read may have changed
};
