#include "api/DtConcreteFedHandleSet.h"

#include <algorithm>

RTI::FederateHandleSet* RTI::FederateHandleSetFactory::create(RTI::ULong count) {
  return new DtConcreteFedHandleSet(count);
}

DtConcreteFedHandleSet::DtConcreteFedHandleSet(RTI::ULong capacity) : capacity_(capacity) {}

RTI::ULong DtConcreteFedHandleSet::size() const { return handles_.size(); }

RTI::FederateHandle DtConcreteFedHandleSet::getHandle(RTI::ULong i) const {
  if (i >= handles_.size()) throw RTI::ArrayIndexOutOfBounds("");
  return handles_[i];
}

void DtConcreteFedHandleSet::add(RTI::FederateHandle h) {
  if (handles_.size() >= capacity_) throw RTI::ValueCountExceeded("");
  handles_.push_back(h);
}

void DtConcreteFedHandleSet::remove(RTI::FederateHandle h) {
  auto found = std::find(handles_.begin(), handles_.end(), h);
  if (found == handles_.end()) return;
  *found = handles_.back();
  handles_.pop_back();
}

void DtConcreteFedHandleSet::empty() { handles_.clear(); }

RTI::Boolean DtConcreteFedHandleSet::isMember(RTI::FederateHandle h) const {
  return std::find(handles_.begin(), handles_.end(), h) != handles_.end() ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}
