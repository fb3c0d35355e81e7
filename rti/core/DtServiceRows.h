#pragma once
// What a service's row of the service table gives its implementor entry:
// its name (the trace header "RTI=><name>:" and the name a missing manager
// is reported under), the reason of its refusal while the federate has not
// joined ("Unable to process <name>.") and while data distribution is off.
// One constant per row, named after the service, for the look-ups (a family
// whose names are not overloaded, so that a name stands for one row):
//
//   openJoined(DtServiceRows::getObjectClassHandle, theName);

#include "api/DtRtiServiceTable.h"
#include "core/DtServiceReasons.h"

struct DtServiceRow {
  const char* name;
  const char* unable;
  const char* ddmOff;
};

namespace DtServiceRows {
#define DT_SERVICE_ROW(type, kind, name, ...) \
  inline constexpr DtServiceRow name{#name, DT_UNABLE(name), DT_DDM_OFF(name)};
DT_RTI_SUPPORT_SERVICES(DT_SERVICE_ROW)
#undef DT_SERVICE_ROW
}  // namespace DtServiceRows
