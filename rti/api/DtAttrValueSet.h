#pragma once
// DtAttrValueSet: the library's RTI::AttributeHandleValuePairSet, the
// attribute values of one update or reflection. Attribute handles of 320 and
// more cannot travel and are refused with AttributeNotDefined.

#include <cstdint>

#include "api/DtValuePairSet.h"

class DtAttrValueSet : public DtValuePairSet<RTI::AttributeHandleValuePairSet> {
public:
  // The region set starts at the process-wide default.
  explicit DtAttrValueSet(RTI::ULong capacity);

  // Index-checked like the other per-pair operations, though every pair has
  // the set's transport and order.
  RTI::TransportType getTransportType(RTI::ULong i) const override;
  RTI::OrderType getOrderType(RTI::ULong i) const override;
  // The set's region, whatever i is.
  RTI::Region* getRegion(RTI::ULong i) const override;

  // The region set of every attribute value set made afterwards (0 = none).
  // Thread-safe.
  static void setDefaultRegion(std::uint32_t regionSet);
  static std::uint32_t defaultRegion();

private:
  void checkHandle(RTI::Handle h) const override;
};
