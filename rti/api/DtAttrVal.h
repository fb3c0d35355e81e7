#pragma once
// DtAttrVal: one handle/value pair of a value set, holding its own copy of
// the value's bytes. Pairs are never copied, only made and deleted.

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
  virtual char* data() const { return data_.get(); }

private:
  std::uint32_t handle_;
  RTI::ULong length_;
  std::unique_ptr<char[]> data_;
};
