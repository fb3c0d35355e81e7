#include "api/DtParamValueSet.h"

#include "api/DtHandleLimit.h"

RTI::ParameterHandleValuePairSet* RTI::ParameterSetFactory::create(RTI::ULong count) {
  return new DtParamValueSet(count);
}

DtParamValueSet::DtParamValueSet(RTI::ULong capacity) : DtValuePairSet(capacity, 0) {}

RTI::TransportType DtParamValueSet::getTransportType() const { return transportType(); }

RTI::OrderType DtParamValueSet::getOrderType() const { return orderType(); }

RTI::Region* DtParamValueSet::getRegion() const { return region(); }

void DtParamValueSet::checkHandle(RTI::Handle h) const {
  DtCheckHandleBelow<RTI::InteractionParameterNotDefined>(h, 65536, "Parameter");
}
