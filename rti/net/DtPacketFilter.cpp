#include "net/DtPacketFilter.h"

#include <cstring>

namespace {

// The list keeps each value in its item's pointer.
void* asData(std::uint32_t value) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));  // NOLINT(performance-no-int-to-ptr)
}

std::uint32_t valueOf(const DtListItem* item) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(item->data()));
}

}  // namespace

DtPacketFilter::~DtPacketFilter() = default;

void DtPacketFilter::set(int mode, int count, const std::uint32_t* values) {
  setMode(mode);
  add(count, values);
}

void DtPacketFilter::add(int count, const std::uint32_t* values) {
  for (int i = 0; i < count; ++i) values_.append(asData(values[i]));
}

void DtPacketFilter::remove(int count, const std::uint32_t* values) {
  for (int i = 0; i < count; ++i) {
    for (DtListItem* item = values_.head(); item; item = item->next()) {
      if (valueOf(item) == values[i]) {
        values_.remove(item);
        break;
      }
    }
  }
}

void DtPacketFilter::setMode(int mode) {
  clear();
  mode_ = mode;
}

bool DtPacketFilter::match(const void* data, int offset, int width) const {
  const unsigned char* field = static_cast<const unsigned char*>(data) + offset;
  std::uint32_t value;
  if (width == Word) {
    std::memcpy(&value, field, sizeof value);
  } else {
    value = *field;
  }
  for (const DtListItem* item = values_.head(); item; item = item->next()) {
    if (valueOf(item) == value) return mode_ != PassUnlisted;
  }
  return mode_ == PassUnlisted;
}

void DtPacketFilter::clear() { values_.clear(); }
