#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// The encoded form of an RTIfedTime: the 64 bits of the IEEE 754 double,
// most significant byte first, so that a time reads back bit for bit on any
// host.
struct DtFedTimeCodec {
  static constexpr std::size_t encodedLength = 8;

  static void encode(double time, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &time, sizeof bits);
    for (std::size_t i = 0; i < encodedLength; ++i)
      out[i] = static_cast<char>(bits >> (8 * (encodedLength - 1 - i)));
  }

  static double decode(const char* in) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < encodedLength; ++i)
      bits = (bits << 8) | static_cast<unsigned char>(in[i]);
    double time;
    std::memcpy(&time, &bits, sizeof time);
    return time;
  }
};
