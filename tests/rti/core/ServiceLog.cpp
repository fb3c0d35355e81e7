#include "ServiceLog.h"

#include <cstdio>

#include "ddm/DtRegion.h"
#include "fedtime.hh"

namespace {

template <class Set>
std::string handlesOf(const Set& set) {
  std::string text = "{";
  for (RTI::ULong i = 0; i < set.size(); ++i) text += (i ? "," : "") + std::to_string(set.getHandle(i));
  return text + "}";
}

}  // namespace

std::string logText(const RTI::AttributeHandleSet& set) { return handlesOf(set); }
std::string logText(const RTI::AttributeHandleValuePairSet& set) { return handlesOf(set); }
std::string logText(const RTI::ParameterHandleValuePairSet& set) { return handlesOf(set); }

std::string logText(const RTI::FedTime* time) { return time ? logText(*time) : "null"; }

std::string logText(const RTI::FedTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", RTIfedTime(time).getTime());
  return text;
}

std::string logText(const RTI::Region* region) { return region ? logText(*region) : "null"; }

std::string logText(const RTI::Region& region) {
  const auto* ours = dynamic_cast<const DtRegion*>(&region);
  return ours ? "r" + std::to_string(ours->handle()) : "foreign";
}

std::string logText(const char* text) { return text ? text : "null"; }
