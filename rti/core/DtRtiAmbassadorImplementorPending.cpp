// Services whose rows are still to come.
#include "core/DtRtiAmbassadorImplementor.h"

#include "api/DtNotImplemented.h"

#define DT_PENDING(type, kind, name, ...) \
  type DtRtiAmbassadorImplementor::name(DT_RTI_TYPES(__VA_ARGS__)) { DtNotImplemented(#name); }
DT_RTI_DECLARATION_SERVICES(DT_PENDING)
DT_RTI_OBJECT_SERVICES(DT_PENDING)
DT_RTI_OWNERSHIP_SERVICES(DT_PENDING)
DT_RTI_DDM_SERVICES(DT_PENDING)
DT_RTI_SUPPORT_SERVICES(DT_PENDING)
DT_RTI_ADVISORY_SERVICES(DT_PENDING)
RTI::RegionToken DtRtiAmbassadorImplementor::getRegionToken(RTI::Region*) { DtNotImplemented("getRegionToken"); }
RTI::Region* DtRtiAmbassadorImplementor::getRegion(RTI::RegionToken) { DtNotImplemented("getRegion"); }
