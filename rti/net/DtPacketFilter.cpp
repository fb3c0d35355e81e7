#include "net/DtPacketFilter.h"

#include <algorithm>
#include <cstring>

DtPacketFilter::~DtPacketFilter() = default;

void DtPacketFilter::set(Mode mode, int count, const std::uint32_t* values) {
  setMode(mode);
  add(count, values);
}

void DtPacketFilter::add(int count, const std::uint32_t* values) {
  for (int i = 0; i < count; ++i) values_.push_back(values[i]);
}

void DtPacketFilter::remove(int count, const std::uint32_t* values) {
  for (int i = 0; i < count; ++i) {
    const auto listed = std::find(values_.begin(), values_.end(), values[i]);
    if (listed != values_.end()) values_.erase(listed);
  }
}

void DtPacketFilter::setMode(Mode mode) {
  clear();
  mode_ = mode;
}

bool DtPacketFilter::match(const void* data, int offset, Width width) const {
  const unsigned char* field = static_cast<const unsigned char*>(data) + offset;
  std::uint32_t value;
  if (width == Width::Word) {
    std::memcpy(&value, field, sizeof value);
  } else {
    value = *field;
  }
  const bool listed = std::find(values_.begin(), values_.end(), value) != values_.end();
  return listed != (mode_ == Mode::PassUnlisted);
}

void DtPacketFilter::clear() { values_.clear(); }
