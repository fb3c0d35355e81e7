#include "api/DtNotImplemented.h"

#include <string>

#include "RTI.hh"

void DtNotImplemented(const char* what) {
  const std::string reason = std::string(what) + " not implemented";
  throw RTI::RTIinternalError(reason.c_str());
}
