#pragma once
// Numbers in network byte order (most significant byte first) in a byte
// buffer, written and read with explicit shifts, so that the bytes are the
// same on every host and no struct is ever laid over a buffer. Integers of 1,
// 2, 4 or 8 bytes travel as they are, floats and doubles as their IEEE bit
// patterns. The buffer is of char, signed char or unsigned char (std::uint8_t);
// the caller makes sure it holds sizeof(T) bytes.
//
// The one big-endian reader and writer of the RTI and of the monitor (which
// shares this header without the rest of the toolkit).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace DtBigEndianDetail {
template <std::size_t Size>
struct BitsOf;
template <>
struct BitsOf<1> {
  using type = std::uint8_t;
};
template <>
struct BitsOf<2> {
  using type = std::uint16_t;
};
template <>
struct BitsOf<4> {
  using type = std::uint32_t;
};
template <>
struct BitsOf<8> {
  using type = std::uint64_t;
};

// The unsigned integer with the bits of T.
template <class T>
using Bits = typename BitsOf<sizeof(T)>::type;

template <class T, class Byte>
constexpr void Check() {
  static_assert(std::is_arithmetic_v<T>, "big-endian fields are numbers");
  static_assert(std::is_integral_v<Byte> && sizeof(Byte) == 1, "a buffer of bytes");
}
}  // namespace DtBigEndianDetail

template <class T, class Byte>
void DtPutBigEndian(T value, Byte* out) {
  DtBigEndianDetail::Check<T, Byte>();
  using Bits = DtBigEndianDetail::Bits<T>;
  const Bits bits = std::bit_cast<Bits>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<Byte>(bits >> (8 * (sizeof(T) - 1 - i)));
}

template <class T, class Byte>
T DtGetBigEndian(const Byte* in) {
  DtBigEndianDetail::Check<T, Byte>();
  using Bits = DtBigEndianDetail::Bits<T>;
  Bits bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits = static_cast<Bits>((bits << 8) | static_cast<unsigned char>(in[i]));
  return std::bit_cast<T>(bits);
}
