#include "api/DtAttrVal.h"

#include <cstring>
#include <string>

DtAttrVal::DtAttrVal(std::uint32_t handle, const char* bytes, RTI::ULong length) : handle_(handle), length_(length) {
  if (bytes == nullptr && length != 0) {
    std::string reason = "No bytes given for a value of length " + std::to_string(length);
    throw RTI::ValueLengthExceeded(reason.c_str());
  }
  if (length > inlineBytes) longValue_ = std::make_unique<char[]>(length);
  data_ = longValue_ ? longValue_.get() : shortValue_;
  if (length != 0) std::memcpy(data_, bytes, length);
}

DtAttrVal::~DtAttrVal() = default;
