#include "fedtime.hh"

#include "DtFedTimeCodec.h"

#include <cmath>

RTI::FedTime* RTI::FedTimeFactory::makeZero() { return new RTIfedTime(); }

RTI::FedTime* RTI::FedTimeFactory::decode(const char* buf) {
  if (buf == nullptr) throw RTI::InvalidFederationTime("No encoded federation time");
  // The constructor refuses a NaN, which would break the order of times.
  return new RTIfedTime(DtFedTimeCodec::decode(buf));
}

RTI::FedTime* RTI::FedTimeFactory::decode(const char* buf, RTI::ULong length) {
  if (buf == nullptr || length < DtFedTimeCodec::encodedLength) return nullptr;
  double time = DtFedTimeCodec::decode(buf);
  if (std::isnan(time)) return nullptr;
  return new RTIfedTime(time);
}
