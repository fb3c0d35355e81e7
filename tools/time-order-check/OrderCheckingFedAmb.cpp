#include "OrderCheckingFedAmb.h"

#include <cstdio>

namespace timeordercheck {

namespace {
double valueOf(const RTI::FedTime& time) { return dynamic_cast<const RTIfedTime&>(time).getTime(); }

std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}
}  // namespace

const char* requestName(Request request) {
  switch (request) {
    case Request::Tar: return "TAR";
    case Request::Tara: return "TARA";
    case Request::Ner: return "NER";
    case Request::Nera: return "NERA";
    case Request::None: break;
  }
  return "none";
}

void OrderCheckingFedAmb::requested(Request request, double t) {
  request_ = request;
  target_ = t;
  deliveredInAdvance_ = false;
}

std::string OrderCheckingFedAmb::where() const {
  return std::string(" (") + requestName(request_) + " " + number(target_) + ", last grant " + number(lastGrant_) +
         (lastGrantAvailable_ ? " available" : "") + ")";
}

void OrderCheckingFedAmb::violation(const std::string& what) { report_(what + where()); }

void OrderCheckingFedAmb::timeRegulationEnabled(const RTI::FedTime& theTime) {
  regulating = true;
  if (constrained && valueOf(theTime) > lastGrant_) lastGrant_ = valueOf(theTime);
}

void OrderCheckingFedAmb::timeConstrainedEnabled(const RTI::FedTime& theTime) {
  constrained = true;
  lastGrant_ = valueOf(theTime);
  lastDelivered_ = lastGrant_;
}

void OrderCheckingFedAmb::timeAdvanceGrant(const RTI::FedTime& theTime) {
  const double t = valueOf(theTime);
  if (request_ == Request::None) {
    violation("grant " + number(t) + " without a request");
    return;
  }
  const bool nextEvent = request_ == Request::Ner || request_ == Request::Nera;
  const double expected = nextEvent && deliveredInAdvance_ ? advanceEventTime_ : target_;
  if (t != expected) violation("grant " + number(t) + " where " + number(expected) + " was due");
  if (t < lastGrant_) violation("grant " + number(t) + " goes back");
  lastGrant_ = t;
  lastGrantAvailable_ = request_ == Request::Tara || request_ == Request::Nera;
  lastDelivered_ = t;
  request_ = Request::None;
}

void OrderCheckingFedAmb::receiveInteraction(RTI::InteractionClassHandle theClass,
                                             const RTI::ParameterHandleValuePairSet&, const RTI::FedTime& theTime,
                                             const char*, RTI::EventRetractionHandle theHandle) {
  const double s = valueOf(theTime);
  const std::string event = "event " + number(s) + " from " + std::to_string(theHandle.sendingFederate) + "/" +
                            std::to_string(theHandle.theSerialNumber);
  if (request_ == Request::None) violation(event + " outside an advance");
  if (s < lastGrant_ || (s == lastGrant_ && !lastGrantAvailable_)) violation(event + " not after the last grant");
  if (s < lastDelivered_) violation(event + " after one stamped " + number(lastDelivered_));
  if (request_ != Request::None && s > target_) violation(event + " past the requested time");
  const bool nextEvent = request_ == Request::Ner || request_ == Request::Nera;
  if (nextEvent && deliveredInAdvance_ && s != advanceEventTime_) {
    violation(event + " in a next-event advance that delivered " + number(advanceEventTime_));
  }
  if (!deliveredInAdvance_) advanceEventTime_ = s;
  deliveredInAdvance_ = true;
  lastDelivered_ = s;
  delivered.insert(
      {static_cast<std::uint32_t>(theHandle.sendingFederate), static_cast<std::uint32_t>(theHandle.theSerialNumber)});
  if (theClass == reliableClass) {
    ++deliveredReliable;
  } else {
    ++deliveredBestEffort;
  }
}

void OrderCheckingFedAmb::receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                                             const char*) {
  if (constrained) violation("an untimed event");
}

void OrderCheckingFedAmb::requestRetraction(RTI::EventRetractionHandle theHandle) {
  const std::pair<std::uint32_t, std::uint32_t> key{static_cast<std::uint32_t>(theHandle.sendingFederate),
                                                    static_cast<std::uint32_t>(theHandle.theSerialNumber)};
  ++retractionCallbacks;
  if (delivered.count(key) == 0) {
    violation("retraction of " + std::to_string(key.first) + "/" + std::to_string(key.second) +
              ", never received here");
  }
  retracted.insert(key);
}

}  // namespace timeordercheck
