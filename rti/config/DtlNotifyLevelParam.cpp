#include "config/DtlNotifyLevelParam.h"

#include "util/DtNotify.h"

std::int32_t DtlNotifyLevelParam::hostValue() const { return DtGetNotifyLevel(); }

void DtlNotifyLevelParam::setHostValue(std::int32_t value) { DtSetNotifyLevel(value); }
