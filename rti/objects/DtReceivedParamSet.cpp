#include "objects/DtReceivedParamSet.h"

#include <cstring>

#include "api/DtAttrVal.h"
#include "api/DtHandleLimit.h"

DtReceivedParamSet::DtReceivedParamSet() = default;
DtReceivedParamSet::~DtReceivedParamSet() = default;

void DtReceivedParamSet::begin(const DtInteractionMsg& msg) {
  clear();
  transport_ = msg.transportType();
  order_ = msg.orderType();
}

void DtReceivedParamSet::clear() {
  entries_.clear();
  added_.clear();
}

const DtReceivedParamSet::Entry& DtReceivedParamSet::at(RTI::ULong i) const {
  if (i >= entries_.size()) throw RTI::ArrayIndexOutOfBounds("");
  return entries_[i];
}

void DtReceivedParamSet::getValue(RTI::ULong i, char* buff, RTI::ULong& valueLength) const {
  const Entry& entry = at(i);
  valueLength = entry.length;
  if (entry.length > 0) std::memcpy(buff, entry.value, entry.length);
}

char* DtReceivedParamSet::getValuePointer(RTI::ULong i, RTI::ULong& valueLength) const {
  const Entry& entry = at(i);
  valueLength = entry.length;
  return entry.value;
}

void DtReceivedParamSet::add(RTI::Handle h, const char* buff, RTI::ULong valueLength) {
  DtCheckHandleBelow<RTI::InteractionParameterNotDefined>(h, 65536, "Parameter");
  auto copy = std::make_unique<DtAttrVal>(static_cast<std::uint32_t>(h), buff, valueLength);
  entries_.push_back({h, copy->data(), valueLength});
  added_.push_back(std::move(copy));
}

void DtReceivedParamSet::remove(RTI::Handle h) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].handle == h) {
      entries_[i] = entries_.back();
      entries_.pop_back();
      return;
    }
  }
}

void DtReceivedParamSet::moveFrom(const RTI::ParameterHandleValuePairSet& other, RTI::ULong& i) {
  if (i >= other.size()) throw RTI::ArrayIndexOutOfBounds("");
  const RTI::Handle h = other.getHandle(i);
  RTI::ULong length = 0;
  const char* value = other.getValuePointer(i, length);
  add(h, value, length);
  const_cast<RTI::ParameterHandleValuePairSet&>(other).remove(h);
}

void DtReceivedParamSet::empty() { entries_.clear(); }
