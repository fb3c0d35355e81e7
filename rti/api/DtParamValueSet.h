#pragma once
// DtParamValueSet: the library's RTI::ParameterHandleValuePairSet, the
// parameter values of one interaction. Parameter handles travel as 16-bit
// numbers: 65536 and more are refused with InteractionParameterNotDefined.

#include "api/DtValuePairSet.h"

class DtParamValueSet : public DtValuePairSet<RTI::ParameterHandleValuePairSet> {
public:
  // The region set starts at 0 (none).
  explicit DtParamValueSet(RTI::ULong capacity);

  RTI::TransportType getTransportType() const override;
  RTI::OrderType getOrderType() const override;
  RTI::Region* getRegion() const override;

private:
  void checkHandle(RTI::Handle h) const override;
};
