// IPv4 addresses as the monitor keeps them (a 32-bit number whose high byte
// is the first octet) and as people read them (dotted text).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "a.b.c.d".
std::string DottedAddress(std::uint32_t address);

// The address of a dotted text; nothing for any other text.
std::optional<std::uint32_t> ParseDottedAddress(const std::string& text);
