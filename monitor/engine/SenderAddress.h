// The IPv4 address a datagram came from, as the intake hands it on: the
// number, with its dotted text made only when someone reads it (the tree and
// the log do; most Signal PDUs are handled without it).
#pragma once

#include "util/DtIpv4Address.h"

#include <cstdint>
#include <string_view>

class SenderAddress {
public:
    // `address` has the first octet in its high byte.
    explicit SenderAddress(std::uint32_t address) : m_address(address) {}
    // From dotted text (tests and tools name senders so); any other text
    // reads as 0.0.0.0.
    SenderAddress(const char* dotted) : m_address(ParseDottedAddress(dotted).value_or(0)) {}

    std::uint32_t Address() const { return m_address; }
    // "a.b.c.d"; valid while this object lives.
    std::string_view Text() const
    {
        if (m_length == 0) {
            const std::string text = DottedAddress(m_address);
            m_length = static_cast<unsigned char>(text.copy(m_text, sizeof m_text));
        }
        return {m_text, m_length};
    }

private:
    std::uint32_t m_address;
    mutable char m_text[16] = {};
    mutable unsigned char m_length = 0;
};
