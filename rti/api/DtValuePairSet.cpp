#include "api/DtValuePairSet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "api/DtClassDescription.h"
#include "util/DtNotify.h"
#include "util/DtPrintField.h"

template <class ApiSet>
DtValuePairSet<ApiSet>::DtValuePairSet(RTI::ULong capacity, std::uint32_t regionSet)
    : capacity_(capacity), regionSet_(regionSet), transport_(0), order_(0), region_(nullptr) {
  // Room for the pairs of a usual set at once, not by doubling as they come.
  constexpr RTI::ULong roomAtOnce = 16;
  entries_.reserve(std::min(capacity, roomAtOnce));
}

template <class ApiSet>
DtValuePairSet<ApiSet>::~DtValuePairSet() = default;

template <class ApiSet>
void DtValuePairSet<ApiSet>::checkIndex(RTI::ULong i) const {
  if (i >= entries_.size()) throw RTI::ArrayIndexOutOfBounds("");
}

template <class ApiSet>
RTI::ULong DtValuePairSet<ApiSet>::size() const {
  return entries_.size();
}

template <class ApiSet>
RTI::Handle DtValuePairSet<ApiSet>::getHandle(RTI::ULong i) const {
  checkIndex(i);
  return entries_[i]->handle();
}

template <class ApiSet>
RTI::ULong DtValuePairSet<ApiSet>::getValueLength(RTI::ULong i) const {
  checkIndex(i);
  return entries_[i]->size();
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::getValue(RTI::ULong i, char* buff, RTI::ULong& valueLength) const {
  checkIndex(i);
  valueLength = entries_[i]->size();
  if (valueLength != 0) std::memcpy(buff, entries_[i]->data(), valueLength);
}

template <class ApiSet>
char* DtValuePairSet<ApiSet>::getValuePointer(RTI::ULong i, RTI::ULong& valueLength) const {
  checkIndex(i);
  valueLength = entries_[i]->size();
  return entries_[i]->data();
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::add(RTI::Handle h, const char* buff, RTI::ULong valueLength) {
  checkHandle(h);
  if (entries_.size() >= capacity_) throw RTI::ValueCountExceeded("");
  // checkHandle keeps every handle below 2^16, so it fits the pair's u32.
  entries_.push_back(std::make_unique<DtAttrVal>(static_cast<std::uint32_t>(h), buff, valueLength));
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::remove(RTI::Handle h) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i]->handle() == h) {
      entries_[i] = std::move(entries_.back());
      entries_.pop_back();
      return;
    }
  }
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::moveFrom(const ApiSet& other, RTI::ULong& i) {
  if (i >= other.size()) throw RTI::ArrayIndexOutOfBounds("");
  RTI::Handle h = other.getHandle(i);
  RTI::ULong length = 0;
  const char* value = other.getValuePointer(i, length);
  add(h, value, length);
  const_cast<ApiSet&>(other).remove(h);
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::empty() {
  entries_.clear();
}

template <class ApiSet>
RTI::ULong DtValuePairSet<ApiSet>::start() const {
  return 0;
}

template <class ApiSet>
RTI::ULong DtValuePairSet<ApiSet>::valid(RTI::ULong i) const {
  return i < entries_.size() ? 1 : 0;
}

template <class ApiSet>
RTI::ULong DtValuePairSet<ApiSet>::next(RTI::ULong i) const {
  return i + 1;
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::print() const {
  DtPrintField("NumValues:", static_cast<unsigned int>(entries_.size()));
  for (const std::unique_ptr<DtAttrVal>& entry : entries_) {
    DtPrintField("Handle:", static_cast<unsigned int>(entry->handle()));
    DtNotifyInfo("%-20s %lu\n", "Bytes:", entry->size());
    // Four bytes to a line, printed straight from the pair whatever its length.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(entry->data());
    for (RTI::ULong b = 0; b < entry->size(); b += 4) {
      char line[4 * 3 + 1];
      int used = 0;
      for (RTI::ULong k = b; k < b + 4 && k < entry->size(); ++k)
        used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), " %02x",
                              static_cast<unsigned int>(bytes[k]));
      DtNotifyInfo("%s\n", line);
    }
  }
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::print(const DtClassDescription* classInfo) const {
  printNames(*this, classInfo);
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::printNames(const ApiSet& set, const DtClassDescription* classInfo) {
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    const RTI::ULong h = set.getHandle(i);
    DtNotifyVerbose("\t%i: %s (%lu)\n", static_cast<int>(i), DtClassDescription::printableName(classInfo, h), h);
  }
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::setRegionSet(std::uint32_t regionSet) {
  regionSet_ = regionSet;
}

template <class ApiSet>
std::uint32_t DtValuePairSet<ApiSet>::regionSet() const {
  return regionSet_;
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::setRegion(RTI::Region* region) {
  region_ = region;
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::setTransportType(std::uint32_t transport) {
  transport_ = transport;
}

template <class ApiSet>
std::uint32_t DtValuePairSet<ApiSet>::transportType() const {
  return transport_;
}

template <class ApiSet>
void DtValuePairSet<ApiSet>::setOrderType(std::uint32_t order) {
  order_ = order;
}

template <class ApiSet>
std::uint32_t DtValuePairSet<ApiSet>::orderType() const {
  return order_;
}

template class DtValuePairSet<RTI::AttributeHandleValuePairSet>;
template class DtValuePairSet<RTI::ParameterHandleValuePairSet>;
