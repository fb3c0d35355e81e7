#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "util/DtBigEndian.h"

// The encoded form of an RTIfedTime: the 64 bits of the IEEE 754 double,
// most significant byte first, so that a time reads back bit for bit on any
// host.
struct DtFedTimeCodec {
  static constexpr std::size_t encodedLength = 8;

  static void encode(double time, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &time, sizeof bits);
    DtPutBigEndian(bits, out);
  }

  static double decode(const char* in) {
    const std::uint64_t bits = DtGetBigEndian<std::uint64_t>(in);
    double time;
    std::memcpy(&time, &bits, sizeof time);
    return time;
  }
};
