#pragma once
// IPv4 addresses as the RTI's sockets and the monitor keep them (a 32-bit
// number whose high byte is the first octet, host order) and as people read
// them (dotted text). The one place that writes and reads the dotted form;
// it needs nothing from the system, so the monitor shares it without seeing
// the rest of the toolkit.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "a.b.c.d".
inline std::string DottedAddress(std::uint32_t address) {
  std::string text;
  text.reserve(15);
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned octet = (address >> shift) & 0xFFu;
    if (octet >= 100) text.push_back(static_cast<char>('0' + octet / 100));
    if (octet >= 10) text.push_back(static_cast<char>('0' + octet / 10 % 10));
    text.push_back(static_cast<char>('0' + octet % 10));
    if (shift) text.push_back('.');
  }
  return text;
}

// The address of a dotted text: exactly four decimal octets of 0 to 255,
// without signs, spaces or leading zeros; nothing for any other text.
inline std::optional<std::uint32_t> ParseDottedAddress(std::string_view text) {
  std::uint32_t address = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3 || (digits > 1 && text.front() == '0')) return std::nullopt;
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    if (value > 255) return std::nullopt;
    address = (address << 8) | value;
    text.remove_prefix(digits);
  }
  if (!text.empty()) return std::nullopt;
  return address;
}
