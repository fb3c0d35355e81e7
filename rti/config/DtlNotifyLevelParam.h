// The process-wide notify level as the configuration variable DtNotifyLevel.
#pragma once

#include "config/DtlIntegerParam.h"

// Reads and writes the level through the notify layer's atomic accessors:
// interpreters on several threads may each have it registered.
class DtlNotifyLevelParam : public DtlIntegerParamBase {
public:
  DtlNotifyLevelParam() : DtlIntegerParamBase("DtNotifyLevel") {}

protected:
  std::int32_t hostValue() const override;
  void setHostValue(std::int32_t value) override;
};
