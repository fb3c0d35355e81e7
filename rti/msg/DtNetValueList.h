#pragma once
// The shared variable elements of message bodies.
//
// DtNetAttr / DtNetParam, one value of a list:
//   0  u16  attribute or parameter handle
//   2  u16  value length n
//   4  n    the value's bytes as the federate gave them, then a zero byte
//           when n is odd (the entry's total size is 4 + even(n))
// DtNetAttrs / DtNetParams, a value list: a u16 count, then the entries in
// the set's index order.
// DtNetHandleSet: an attribute handle set's 44-byte form (a u32 count, then
// ten u32 words of the membership map), written and read by
// DtAttributeHandleSet.
//
// Writing copies each value once, from the set into the message; reading
// walks the entries within the bytes there are, so a count or length that
// reaches past them is found and never followed.

#include <cstdint>
#include <cstring>
#include <span>

#include "RTI.hh"
#include "msg/DtMsgLayout.h"
#include "msg/DtNetNumber.h"

struct DtNetAttr {
  static constexpr int headerSize = 4;
  static constexpr long totalSize(long valueLength) { return headerSize + DtEven(valueLength); }
};
using DtNetParam = DtNetAttr;

struct DtNetHandleSet {
  static constexpr int theSize = DtHandleSetAt::width;
};

// One value that its sender holds elsewhere, and a read-only view of such
// values that a value list reads as it reads a set (size, getHandle,
// getValueLength, getValuePointer): for a sender that has its values' bytes
// at hand and need not copy them into a set first. The bytes must stay put
// while the view is read.
struct DtNetValue {
  std::uint32_t handle;
  const char* bytes;
  std::uint32_t length;
};

class DtNetValueView {
public:
  explicit DtNetValueView(std::span<const DtNetValue> values) : values_(values) {}
  RTI::ULong size() const { return values_.size(); }
  RTI::Handle getHandle(RTI::ULong i) const { return values_[i].handle; }
  RTI::ULong getValueLength(RTI::ULong i) const { return values_[i].length; }
  const char* getValuePointer(RTI::ULong i, RTI::ULong& length) const {
    length = values_[i].length;
    return values_[i].bytes;
  }

private:
  std::span<const DtNetValue> values_;
};

template <class Set>
struct DtNetValueList {
  static constexpr int baseSize = 2;

  // The bytes the list of this set takes; -1 when a handle or a length does
  // not fit its 16 bits or the set has more than 65535 members.
  static long sizeNeeded(const Set& set) {
    if (set.size() > 0xFFFF) return -1;
    long total = baseSize;
    for (RTI::ULong i = 0; i < set.size(); ++i) {
      const RTI::ULong length = set.getValueLength(i);
      if (set.getHandle(i) > 0xFFFF || length > 0xFFFF) return -1;
      total += DtNetAttr::totalSize(static_cast<long>(length));
    }
    return total;
  }

  // Writes the list at `at`, which holds sizeNeeded(set) bytes, all zero.
  static void write(char* at, const Set& set) {
    DtNetU16::write(at, static_cast<std::uint16_t>(set.size()));
    char* entry = at + baseSize;
    for (RTI::ULong i = 0; i < set.size(); ++i) {
      RTI::ULong length = 0;
      const char* value = set.getValuePointer(i, length);
      DtNetU16::write(entry, static_cast<std::uint16_t>(set.getHandle(i)));
      DtNetU16::write(entry + 2, static_cast<std::uint16_t>(length));
      if (length > 0) std::memcpy(entry + DtNetAttr::headerSize, value, length);
      entry += DtNetAttr::totalSize(static_cast<long>(length));
    }
  }

  // The list's count (0 when not even the count is there).
  static std::uint16_t count(const char* at, int avail) { return avail >= baseSize ? DtNetU16::read(at) : 0; }

  // Calls f(handle, value, length) for each entry within `avail` bytes;
  // false when the count or an entry reaches past them (f is then not
  // called for the entry that does, nor after it). An odd last value may
  // lack its padding byte.
  template <class F>
  static bool forEach(const char* at, int avail, F&& f) {
    if (avail < baseSize) return false;
    const int n = DtNetU16::read(at);
    long offset = baseSize;
    for (int i = 0; i < n; ++i) {
      if (offset + DtNetAttr::headerSize > avail) return false;
      const std::uint16_t handle = DtNetU16::read(at + offset);
      const std::uint16_t length = DtNetU16::read(at + offset + 2);
      if (offset + DtNetAttr::headerSize + length > avail) return false;
      f(handle, at + offset + DtNetAttr::headerSize, length);
      offset += DtNetAttr::totalSize(length);
    }
    return true;
  }

  static bool valid(const char* at, int avail) {
    return forEach(at, avail, [](std::uint16_t, const char*, std::uint16_t) {});
  }

  // Adds every entry to `into`; false when the list reaches past `avail`.
  static bool read(const char* at, int avail, Set& into) {
    return forEach(at, avail,
                   [&](std::uint16_t h, const char* value, std::uint16_t length) { into.add(h, value, length); });
  }
};

using DtNetAttrs = DtNetValueList<RTI::AttributeHandleValuePairSet>;
using DtNetParams = DtNetValueList<RTI::ParameterHandleValuePairSet>;
