#pragma once
// DtAttrVal: one handle/value pair of a value set, holding its own copy of
// the value's bytes: a short value (most handles, words and names) inside
// the pair, a longer one in a block of its own, so that filling a set costs
// one allocation per pair. Pairs are never copied or moved, only made and
// deleted.

#include <cstdint>
#include <memory>

#include "RTI.hh"

class DtAttrVal {
public:
  // Copies length bytes; a null value is taken as empty only when length is 0
  // (else ValueLengthExceeded).
  DtAttrVal(std::uint32_t handle, const char* bytes, RTI::ULong length);
  DtAttrVal(const DtAttrVal&) = delete;
  DtAttrVal& operator=(const DtAttrVal&) = delete;
  virtual ~DtAttrVal();

  virtual std::uint32_t handle() const { return handle_; }
  virtual RTI::ULong size() const { return length_; }
  // The pair's own bytes, valid while the pair lives; never null.
  virtual char* data() const { return data_; }

private:
  static constexpr RTI::ULong inlineBytes = 32;

  std::uint32_t handle_;
  RTI::ULong length_;
  std::unique_ptr<char[]> longValue_;  // only for a value longer than inlineBytes
  char* data_;                         // shortValue_ or longValue_
  char shortValue_[inlineBytes];
};
