#pragma once
// Numbers as save files and messages hold them, most significant byte
// first, for the tests that write records out by hand.

#include <cstdint>
#include <string>

#include "util/DtBigEndian.h"

inline std::string be32(std::uint32_t value) {
  std::string bytes(4, '\0');
  DtPutBigEndian(value, bytes.data());
  return bytes;
}

inline std::string be16(std::uint16_t value) {
  std::string bytes(2, '\0');
  DtPutBigEndian(value, bytes.data());
  return bytes;
}
