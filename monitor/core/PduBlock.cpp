#include "core/PduBlock.h"

#include <cstring>

PduBlock::PduBlock(const char* sender, const std::uint8_t* datagram, std::size_t length)
    : m_bytes(new std::uint8_t[kSenderFieldSize + length]), m_length(length)
{
    std::memset(m_bytes.get(), 0, kSenderFieldSize);
    std::memcpy(m_bytes.get(), sender, ::strnlen(sender, kSenderFieldSize - 1));
    if (length)
        std::memcpy(Pdu(), datagram, length);
}
