// libhlacore's functions beside the HLA 1.3 API.
#include "DtRtiExtensions.hh"

#include "core/DtRtiAmbassadorAccess.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "mom/DtPrivRefs.h"
#include "util/DtNotify.h"

DtRtiAmbassadorImplementor& DtRtiAmbassadorAccess::implementor(const RTI::RTIambassador& ambassador) {
  return *refs(ambassador).implementor;
}

void setRtiNotifyLevel(RTI::RTIambassador*, int level) { DtSetNotifyLevel(level); }
