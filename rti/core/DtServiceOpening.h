#pragma once
// The opening that the implementor's services share, as their rows give it:
// the trace header, the trace line of the arguments, then the joined check.

#include "core/DtRtiAmbassadorImplementor.h"
#include "core/DtServiceRows.h"
#include "core/DtServiceTrace.h"

template <class... Args>
void DtRtiAmbassadorImplementor::openJoined(const DtServiceRow& row, const Args&... args) const {
  traceHeader(row.name);
  if (DtServiceTrace::on()) DtServiceTrace::arguments(args...);
  checkJoined(row.unable);
}
