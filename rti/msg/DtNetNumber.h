#pragma once
// Wire numbers: the integers and floats of message bodies and save-file
// records, each exactly its wire size, with no padding and no alignment, so
// that a body is a sequence of them. A value is stored by the process-wide
// byte-order switch: 1 (the default, which nothing in the library changes)
// stores the most significant byte first; any other value the least
// significant first. The switch is read at every load and store.
//
// Default construction leaves the bytes as they are (a body laid over a
// received buffer reads what is there); copying copies the bytes unchanged.

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "util/DtBigEndian.h"

namespace DtNetOrder {
// The switch itself; use DtNetByteOrder / DtSetNetByteOrder.
extern std::atomic<int> theByteOrder;
}  // namespace DtNetOrder

inline int DtNetByteOrder() { return DtNetOrder::theByteOrder.load(std::memory_order_relaxed); }
void DtSetNetByteOrder(int order);

// Stores `bits` (an unsigned integer of N bytes) at `out` by the switch.
template <class Bits>
inline void DtNetStoreBits(Bits bits, unsigned char* out) {
  if (DtNetByteOrder() == 1) {
    DtPutBigEndian(bits, out);
  } else {
    for (std::size_t i = 0; i < sizeof(Bits); ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
  }
}

template <class Bits>
inline Bits DtNetLoadBits(const unsigned char* in) {
  if (DtNetByteOrder() == 1) return DtGetBigEndian<Bits>(in);
  Bits bits = 0;
  for (std::size_t i = sizeof(Bits); i-- > 0;) bits = static_cast<Bits>((bits << 8) | in[i]);
  return bits;
}

// One wire number: Value as seen by the program, Bits its unsigned pattern.
template <class Value, class Bits>
class DtNetNumber {
public:
  using value_type = Value;
  static constexpr std::size_t wireSize = sizeof(Bits);

  DtNetNumber() {}                            // NOLINT: leaves the bytes as they are, on purpose
  DtNetNumber(Value value) { store(value); }  // NOLINT: implicit, like the number it holds
  DtNetNumber(const DtNetNumber&) = default;
  DtNetNumber& operator=(const DtNetNumber&) = default;
  Value operator=(Value value) {
    store(value);
    return value;
  }
  operator Value() const { return load(); }

  // Reading and writing a wire number at any byte address.
  static Value read(const void* at) {
    return std::bit_cast<Value>(DtNetLoadBits<Bits>(static_cast<const unsigned char*>(at)));
  }
  static void write(void* at, Value value) {
    DtNetStoreBits<Bits>(std::bit_cast<Bits>(value), static_cast<unsigned char*>(at));
  }

private:
  void store(Value value) { write(bytes_, value); }
  Value load() const { return read(bytes_); }

  unsigned char bytes_[sizeof(Bits)];
};

using DtNetU8 = DtNetNumber<std::uint8_t, std::uint8_t>;
using DtNetU16 = DtNetNumber<std::uint16_t, std::uint16_t>;
using DtNetI16 = DtNetNumber<std::int16_t, std::uint16_t>;
using DtNetU32 = DtNetNumber<std::uint32_t, std::uint32_t>;
using DtNetI32 = DtNetNumber<std::int32_t, std::uint32_t>;
using DtNetF32 = DtNetNumber<float, std::uint32_t>;
using DtNetF64 = DtNetNumber<double, std::uint64_t>;

static_assert(sizeof(DtNetU16) == 2 && alignof(DtNetU16) == 1);
static_assert(sizeof(DtNetU32) == 4 && alignof(DtNetU32) == 1);
static_assert(sizeof(DtNetF64) == 8 && alignof(DtNetF64) == 1);
