#pragma once
// Unsigned numbers in network byte order (most significant byte first) in a
// byte buffer, written and read with explicit shifts, so that the bytes are
// the same on every host and no struct is ever laid over a buffer. The
// caller makes sure the buffer holds sizeof(T) bytes.

#include <cstddef>
#include <type_traits>

template <class T>
void DtPutBigEndian(T value, char* out) {
  static_assert(std::is_unsigned_v<T>, "big-endian fields are unsigned");
  for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<char>(value >> (8 * (sizeof(T) - 1 - i)));
}

template <class T>
T DtGetBigEndian(const char* in) {
  static_assert(std::is_unsigned_v<T>, "big-endian fields are unsigned");
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>((value << 8) | static_cast<unsigned char>(in[i]));
  return value;
}
