// One received datagram on its way from the receive thread to a worker: the
// sender's address as zero-terminated dotted text in a 16-byte field, then the
// datagram's bytes. The worker converts the PDU in place and hands the same
// bytes on, so each datagram is copied once after the read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class PduBlock {
public:
    static constexpr std::size_t kSenderFieldSize = 16;   // "255.255.255.255" and its zero

    // Copies at most 15 characters of `sender` and the `length` datagram bytes.
    PduBlock(const char* sender, const std::uint8_t* datagram, std::size_t length);

    const char* Sender() const { return reinterpret_cast<const char*>(m_bytes.get()); }
    std::uint8_t* Pdu() { return m_bytes.get() + kSenderFieldSize; }
    const std::uint8_t* Pdu() const { return m_bytes.get() + kSenderFieldSize; }
    std::size_t Length() const { return m_length; }
    // Bytes held, for bounding a worker's queue.
    std::size_t Size() const { return kSenderFieldSize + m_length; }

private:
    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::size_t m_length;
};
