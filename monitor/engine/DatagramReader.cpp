#include "engine/DatagramReader.h"

#include <cstring>

namespace {

// Enough for the drop counter's control message.
constexpr std::size_t kControlSize = CMSG_SPACE(sizeof(std::uint32_t));

}   // namespace

DatagramReader::ReadBatch DatagramReader::FromSocket(int fd)
{
    return [fd](mmsghdr* messages, unsigned count) {
        // MSG_TRUNC: each length is the datagram's real size, so an
        // oversized one is recognised instead of being taken for a shorter PDU.
        return ::recvmmsg(fd, messages, count, MSG_WAITFORONE | MSG_TRUNC, nullptr);
    };
}

DatagramReader::DatagramReader(std::size_t batch, std::size_t datagramBuffer)
    : m_datagramBuffer(datagramBuffer), m_buffers(batch * datagramBuffer), m_messages(batch), m_vectors(batch),
      m_senders(batch), m_controls(batch * kControlSize)
{
    for (std::size_t i = 0; i < batch; ++i) {
        m_vectors[i] = {m_buffers.data() + i * datagramBuffer, datagramBuffer};
        msghdr& header = m_messages[i].msg_hdr;
        header.msg_name = &m_senders[i];
        header.msg_iov = &m_vectors[i];
        header.msg_iovlen = 1;
        header.msg_control = m_controls.data() + i * kControlSize;
    }
    m_filled = batch;
}

int DatagramReader::Read(const ReadBatch& read)
{
    // The kernel writes back what it used of the name and control areas of
    // the messages it filled: those are set up again.
    for (std::size_t i = 0; i < m_filled; ++i) {
        m_messages[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
        m_messages[i].msg_hdr.msg_controllen = kControlSize;
        m_messages[i].msg_hdr.msg_flags = 0;
        m_messages[i].msg_len = 0;
    }
    const int count = read(m_messages.data(), static_cast<unsigned>(m_messages.size()));
    // A stand-in reader may touch more than it reports; all are set up again then.
    m_filled = count > 0 ? static_cast<std::size_t>(count) : m_messages.size();
    if (count > 0) {
        // Every datagram carries the running count; the last one's is the latest.
        msghdr& last = m_messages[static_cast<std::size_t>(count - 1)].msg_hdr;
        for (cmsghdr* control = CMSG_FIRSTHDR(&last); control; control = CMSG_NXTHDR(&last, control)) {
            if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SO_RXQ_OVFL) {
                std::uint32_t dropped = 0;
                std::memcpy(&dropped, CMSG_DATA(control), sizeof dropped);
                m_kernelDropped = dropped;
            }
        }
    }
    return count;
}

std::size_t DatagramReader::Length(std::size_t i) const
{
    const mmsghdr& message = m_messages[i];
    // A longer datagram is marked truncated; its length is the real one anyway (MSG_TRUNC).
    if ((message.msg_hdr.msg_flags & MSG_TRUNC) && message.msg_len <= m_datagramBuffer)
        return m_datagramBuffer + 1;
    return message.msg_len;
}
