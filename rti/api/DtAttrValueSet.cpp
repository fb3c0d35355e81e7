#include "api/DtAttrValueSet.h"

#include <atomic>

#include "api/DtAttributeHandleSet.h"

namespace {
std::atomic<std::uint32_t> theDefaultRegion{0};
}  // namespace

RTI::AttributeHandleValuePairSet* RTI::AttributeSetFactory::create(RTI::ULong count) {
  return new DtAttrValueSet(count);
}

DtAttrValueSet::DtAttrValueSet(RTI::ULong capacity) : DtValuePairSet(capacity, theDefaultRegion.load()) {}

RTI::TransportType DtAttrValueSet::getTransportType(RTI::ULong i) const {
  checkIndex(i);
  return transportType();
}

RTI::OrderType DtAttrValueSet::getOrderType(RTI::ULong i) const {
  checkIndex(i);
  return orderType();
}

RTI::Region* DtAttrValueSet::getRegion(RTI::ULong) const { return region(); }

void DtAttrValueSet::setDefaultRegion(std::uint32_t regionSet) { theDefaultRegion.store(regionSet); }

std::uint32_t DtAttrValueSet::defaultRegion() { return theDefaultRegion.load(); }

void DtAttrValueSet::checkHandle(RTI::Handle h) const {
  // Values of an attribute that no handle set can name could never be
  // subscribed to or reflected.
  DtAttributeHandleSet::checkHandle(h);
}
