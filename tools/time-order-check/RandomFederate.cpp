#include "RandomFederate.h"

#include <poll.h>

#include <DtRtiExtensions.hh>
#include <RTI.hh>
#include <fedtime.hh>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "OrderCheckingFedAmb.h"

namespace timeordercheck {

namespace {

using Clock = std::chrono::steady_clock;

// Ticks, blocked in poll() between ticks, until the condition holds; false
// after `seconds`.
template <class Condition>
bool tickUntil(RTI::RTIambassador& rti, Condition done, double seconds) {
  const int fds[] = {DtReadFileDescriptor(&rti, 1), DtReadFileDescriptor(&rti, 0)};
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (rti.tick()) continue;
    if (done()) break;
    if (Clock::now() > deadline) return false;
    pollfd watched[2];
    nfds_t n = 0;
    for (const int fd : fds) {
      if (fd >= 0) watched[n++] = {fd, POLLIN, 0};
    }
    poll(watched, n, 10);
  }
  return true;
}

class Failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class RandomFederate {
public:
  RandomFederate(const FederateSettings& settings, Shared& shared)
      : settings_(settings),
        shared_(shared),
        me_(shared.federates[settings.index]),
        random_(settings.seed * 1000003u + static_cast<std::uint64_t>(settings.index)),
        amb_([this](const std::string& what) { ReportViolation(shared_, settings_.index, what.c_str()); }) {}

  void run() {
    join();
    for (std::uint32_t grant = 0; grant < settings_.grants && !shared_.failed.load(); ++grant) step();
    finish();
  }

private:
  void join() {
    if (settings_.index == 0) {
      rti_.createFederationExecution("Check", "Check.fed");
      shared_.created = 1;
    }
    await([&] { return shared_.created.load() != 0; }, "no execution");
    const std::string name = "F" + std::to_string(settings_.index);
    me_.handle = static_cast<std::uint32_t>(rti_.joinFederationExecution(name.c_str(), "Check", &amb_));
    reliable_ = rti_.getInteractionClassHandle("Rel");
    bestEffort_ = rti_.getInteractionClassHandle("Be");
    parameter_ = rti_.getParameterHandle("V", reliable_);
    amb_.reliableClass = reliable_;
    rti_.publishInteractionClass(reliable_);
    rti_.publishInteractionClass(bestEffort_);
    me_.subscribedReliable = draw(4) != 0;
    me_.subscribedBestEffort = draw(4) != 0;
    if (me_.subscribedReliable) rti_.subscribeInteractionClass(reliable_);
    if (me_.subscribedBestEffort) rti_.subscribeInteractionClass(bestEffort_);
    const double lookaheads[] = {0, 0, 0.5, 1, 2};
    lookahead_ = lookaheads[draw(5)];
    me_.lookahead = lookahead_;
    // All regulate before any is constrained, so that all start at time 0
    // (a regulator that comes later starts above the bounds already held)
    // and none misses an event before it is constrained.
    rti_.enableTimeRegulation(RTIfedTime(0), RTIfedTime(lookahead_));
    tickOrFail([&] { return amb_.regulating; }, "regulation not enabled");
    ++shared_.regulating;
    await([&] { return shared_.regulating.load() >= settings_.count; }, "the others do not regulate");
    rti_.enableTimeConstrained();
    tickOrFail([&] { return amb_.constrained; }, "constraint not enabled");
    ++shared_.ready;
    tickOrFail([&] { return shared_.start.load() != 0 || shared_.failed.load() != 0; }, "no start");
  }

  void step() {
    const double now = amb_.grantedTime();
    for (std::uint32_t k = draw(4); k > 0; --k) send(now);
    if (draw(8) == 0) retractOne(now);
    const Request kinds[] = {Request::Tar, Request::Tara, Request::Ner, Request::Nera};
    const double steps[] = {0, 0.5, 1, 1.5, 2, 3};
    const Request request = kinds[draw(4)];
    advance(request, now + steps[draw(6)]);
  }

  void send(double now) {
    const bool reliable = draw(3) != 0;
    double stamp = now + lookahead_ + 0.5 * draw(5);
    std::unique_ptr<RTI::ParameterHandleValuePairSet> values(RTI::ParameterSetFactory::create(1));
    values->add(parameter_, "v", 1);
    for (int attempt = 0; attempt < 4; ++attempt, stamp += 0.5) {
      try {
        const RTI::EventRetractionHandle handle =
            rti_.sendInteraction(reliable ? reliable_ : bestEffort_, *values, RTIfedTime(stamp), "");
        const std::uint32_t slot = me_.sentCount.load();
        if (slot >= maxEventsPerFederate) return;
        SentEvent& sent = me_.sent[slot];
        sent.serial = static_cast<std::uint32_t>(handle.theSerialNumber);
        sent.stamp = stamp;
        sent.reliable = reliable ? 1 : 0;
        me_.sentCount = slot + 1;
        return;
      } catch (const RTI::InvalidFederationTime&) {
        // A zero lookahead is epsilon after an advance that was not available.
      }
    }
  }

  void retractOne(double now) {
    const std::uint32_t count = me_.sentCount.load();
    if (count == 0) return;
    SentEvent& sent = me_.sent[count - 1 - draw(std::min<std::uint32_t>(count, 16))];
    if (sent.stamp < now || sent.retracted.load()) return;
    RTI::EventRetractionHandle handle;
    handle.theSerialNumber = sent.serial;
    handle.sendingFederate = me_.handle.load();
    try {
      rti_.retract(handle);
      sent.retracted = 1;
    } catch (const RTI::InvalidRetractionHandle&) {
    }
  }

  void advance(Request request, double target) {
    amb_.requested(request, target);
    me_.request = static_cast<int>(request);
    me_.target = target;
    me_.pending = 1;
    const RTIfedTime t(target);
    switch (request) {
      case Request::Tar: rti_.timeAdvanceRequest(t); break;
      case Request::Tara: rti_.timeAdvanceRequestAvailable(t); break;
      case Request::Ner: rti_.nextEventRequest(t); break;
      case Request::Nera: rti_.nextEventRequestAvailable(t); break;
      case Request::None: break;
    }
    tickOrFail([&] { return amb_.granted() || shared_.failed.load() != 0; }, "no grant", 3 * settings_.stallSeconds);
    me_.pending = 0;
    me_.granted = amb_.grantedTime();
    ++me_.grants;
    ++shared_.grants;
  }

  void finish() {
    rti_.disableTimeRegulation();
    me_.finished = 1;
    await([&] { return allFinished(); }, "the others did not finish");
    // No regulator is left: past every event sent, everything comes.
    double last = amb_.grantedTime();
    for (int i = 0; i < settings_.count; ++i) {
      const FederateRecord& other = shared_.federates[i];
      for (std::uint32_t k = 0; k < other.sentCount.load(); ++k) last = std::max(last, other.sent[k].stamp);
    }
    advance(Request::Tar, last + 1);
    checkDeliveries();
    me_.delivered = amb_.deliveredReliable;
    me_.deliveredBestEffort = amb_.deliveredBestEffort;
    me_.retractionCallbacks = amb_.retractionCallbacks;
    ++shared_.flushed;
    await([&] { return shared_.flushed.load() >= settings_.count; }, "the others did not flush");
    rti_.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    if (settings_.index != 0) return;
    for (int attempt = 0; attempt < 100; ++attempt) {
      try {
        rti_.destroyFederationExecution("Check");
        return;
      } catch (const RTI::FederatesCurrentlyJoined&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
  }

  void checkDeliveries() {
    for (int i = 0; i < settings_.count; ++i) {
      if (i == settings_.index) continue;
      const FederateRecord& other = shared_.federates[i];
      const std::uint32_t sender = other.handle.load();
      std::map<std::uint32_t, const SentEvent*> bySerial;
      for (std::uint32_t k = 0; k < other.sentCount.load(); ++k) {
        const SentEvent& sent = other.sent[k];
        bySerial[sent.serial] = &sent;
        const std::pair<std::uint32_t, std::uint32_t> key{sender, sent.serial};
        const std::size_t times = amb_.delivered.count(key);
        const std::string event = "event " + std::to_string(sender) + "/" + std::to_string(sent.serial);
        if (times > 1) violation(event + " delivered " + std::to_string(times) + " times");
        if (!sent.reliable || !me_.subscribedReliable) continue;
        if (sent.retracted.load()) {
          if (times == 1 && amb_.retracted.count(key) == 0) violation(event + " retracted without a callback here");
        } else if (times == 0) {
          violation("reliable " + event + " stamped " + std::to_string(sent.stamp) + " never delivered");
        }
      }
      for (const auto& key : amb_.retracted) {
        if (key.first != sender) continue;
        const auto found = bySerial.find(key.second);
        if (found == bySerial.end() || !found->second->retracted.load()) {
          violation("retraction callback for " + std::to_string(key.first) + "/" + std::to_string(key.second) +
                    ", which its sender did not retract");
        }
      }
    }
  }

  bool allFinished() const {
    for (int i = 0; i < settings_.count; ++i) {
      if (!shared_.federates[i].finished.load()) return false;
    }
    return true;
  }

  void violation(const std::string& what) { ReportViolation(shared_, settings_.index, what.c_str()); }

  template <class Condition>
  void tickOrFail(Condition done, const char* what, double seconds = 30) {
    if (!tickUntil(rti_, done, seconds)) throw Failure(what);
  }
  template <class Condition>
  void await(Condition done, const char* what) {
    tickOrFail([&] { return done() || shared_.failed.load() != 0; }, what, 3 * settings_.stallSeconds);
    if (shared_.failed.load() && !done()) throw Failure("another federate failed");
  }

  std::uint32_t draw(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }

  const FederateSettings& settings_;
  Shared& shared_;
  FederateRecord& me_;
  std::mt19937_64 random_;
  OrderCheckingFedAmb amb_;
  RTI::RTIambassador rti_;
  RTI::InteractionClassHandle reliable_ = 0;
  RTI::InteractionClassHandle bestEffort_ = 0;
  RTI::ParameterHandle parameter_ = 0;
  double lookahead_ = 0;
};

}  // namespace

void ReportViolation(Shared& shared, int index, const char* what) {
  ++shared.violations;
  const int slot = shared.violationTexts.fetch_add(1);
  if (slot < violationsKept) {
    std::snprintf(shared.violation[slot], violationTextSize, "F%d: %s", index, what);
  }
}

void RunRandomFederate(const FederateSettings& settings, Shared& shared) {
  try {
    RandomFederate federate(settings, shared);
    federate.run();
  } catch (const RTI::Exception& e) {
    std::fprintf(stderr, "time-order-check: F%d: %s %s\n", settings.index, e._name ? e._name : "",
                 e._reason ? e._reason : "");
    shared.failed = 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "time-order-check: F%d: %s\n", settings.index, e.what());
    shared.failed = 1;
  }
}

}  // namespace timeordercheck
