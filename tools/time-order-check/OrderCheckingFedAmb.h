#pragma once
// The federate ambassador of a checked federate: it checks every callback
// as it arrives against what the federate asked for, and reports each
// broken rule as a violation:
//   - a time-stamped event below the last grant, or at it after a TAR or
//     NER (not available), or below an event delivered before it;
//   - an event outside an advance, or past the time the advance asked for,
//     or, in a next-event advance, at another time than the first event;
//   - a grant without a request, a TAR/TARA grant other than the requested
//     time, a NER/NERA grant other than the time of the events it delivered
//     (or, without events, the requested time), a grant that goes back;
//   - a retraction callback for an event this federate never received;
//   - an untimed event (every class here is time-stamp ordered).

#include <NullFederateAmbassador.hh>
#include <fedtime.hh>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace timeordercheck {

enum class Request { None, Tar, Tara, Ner, Nera };
const char* requestName(Request request);

class OrderCheckingFedAmb : public NullFederateAmbassador {
public:
  using Report = std::function<void(const std::string&)>;
  explicit OrderCheckingFedAmb(Report report) : report_(std::move(report)) {}

  // The federate asks for an advance to t.
  void requested(Request request, double t);
  bool granted() const { return request_ == Request::None; }
  double grantedTime() const { return lastGrant_; }
  bool regulating = false;
  bool constrained = false;
  std::uint64_t deliveredReliable = 0;
  std::uint64_t deliveredBestEffort = 0;
  std::uint64_t retractionCallbacks = 0;
  // The classes of the reliable and the best-effort events.
  RTI::InteractionClassHandle reliableClass = 0;
  // Every event delivered (sender, serial), and the retraction callbacks.
  std::multiset<std::pair<std::uint32_t, std::uint32_t>> delivered;
  std::set<std::pair<std::uint32_t, std::uint32_t>> retracted;

  void timeRegulationEnabled(const RTI::FedTime& theTime) override;
  void timeConstrainedEnabled(const RTI::FedTime& theTime) override;
  void timeAdvanceGrant(const RTI::FedTime& theTime) override;
  void receiveInteraction(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                          const RTI::FedTime& theTime, const char* theTag,
                          RTI::EventRetractionHandle theHandle) override;
  void receiveInteraction(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                          const char* theTag) override;
  void requestRetraction(RTI::EventRetractionHandle theHandle) override;

private:
  void violation(const std::string& what);
  std::string where() const;

  Report report_;
  Request request_ = Request::None;
  double target_ = 0;
  double lastGrant_ = 0;
  bool lastGrantAvailable_ = true;
  double lastDelivered_ = 0;
  bool deliveredInAdvance_ = false;
  double advanceEventTime_ = 0;
};

}  // namespace timeordercheck
