// Time management: regulation and constraint, the advance requests (also
// relative to the federate's time, for scripts that advance step by step
// from inside timeAdvanceGrant), asynchronous delivery, lookahead, the
// queries and retraction. A time is a number (it may be negative, to show
// what the RTI refuses) or "inf".
#include <cstdlib>
#include <string>

#include <RTI.hh>
#include <fedtime.hh>

#include "CommandTable.h"
#include "OutputLine.h"
#include "ScriptSession.h"

namespace {

RTIfedTime timeArg(const ScriptArgs& a, std::size_t i) {
  const std::string& word = a.text(i);
  RTIfedTime time(0.0);
  if (word == "inf") {
    time.setPositiveInfinity();
    return time;
  }
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') throw UsageError("not a time: " + word);
  return RTIfedTime(value);
}

// The federate's time plus the argument.
RTIfedTime afterNow(ScriptSession& s, const ScriptArgs& a) {
  RTIfedTime now(0.0);
  s.rti().queryFederateTime(now);
  now += timeArg(a, 0);
  return now;
}

std::string printed(const RTI::FedTime& time) { return OutputLine("", "").time(time).str().substr(1); }

using Advance = void (RTI::RTIambassador::*)(const RTI::FedTime&);
using Query = void (RTI::RTIambassador::*)(RTI::FedTime&);
using Switch = void (RTI::RTIambassador::*)();

}  // namespace

void AddTimeCommands(CommandTable& table) {
  table.add("enable-regulation", "<time> <lookahead>", "enableTimeRegulation",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().enableTimeRegulation(timeArg(a, 0), timeArg(a, 1));
              return std::string();
            });
  const struct {
    const char* verb;
    const char* what;
    Switch call;
  } switches[] = {
      {"disable-regulation", "disableTimeRegulation", &RTI::RTIambassador::disableTimeRegulation},
      {"enable-constrained", "enableTimeConstrained", &RTI::RTIambassador::enableTimeConstrained},
      {"disable-constrained", "disableTimeConstrained", &RTI::RTIambassador::disableTimeConstrained},
      {"enable-async", "enableAsynchronousDelivery", &RTI::RTIambassador::enableAsynchronousDelivery},
      {"disable-async", "disableAsynchronousDelivery", &RTI::RTIambassador::disableAsynchronousDelivery},
  };
  for (const auto& command : switches) {
    table.add(command.verb, "", command.what, [call = command.call](ScriptSession& s, const ScriptArgs&) {
      (s.rti().*call)();
      return std::string();
    });
  }

  const struct {
    const char* verb;
    const char* what;
    Advance call;
  } advances[] = {
      {"tar", "timeAdvanceRequest", &RTI::RTIambassador::timeAdvanceRequest},
      {"tara", "timeAdvanceRequestAvailable", &RTI::RTIambassador::timeAdvanceRequestAvailable},
      {"ner", "nextEventRequest", &RTI::RTIambassador::nextEventRequest},
      {"nera", "nextEventRequestAvailable", &RTI::RTIambassador::nextEventRequestAvailable},
      {"flush", "flushQueueRequest", &RTI::RTIambassador::flushQueueRequest},
      {"modify-lookahead", "modifyLookahead", &RTI::RTIambassador::modifyLookahead},
  };
  for (const auto& command : advances) {
    const std::string verb = command.verb;
    table.add(verb, verb == "modify-lookahead" ? "<lookahead>" : "<time>", command.what,
              [call = command.call](ScriptSession& s, const ScriptArgs& a) {
                (s.rti().*call)(timeArg(a, 0));
                return std::string();
              });
    if (verb == "modify-lookahead") continue;
    table.add(verb + "-by", "<step>", std::string(command.what) + " to the federate's time plus the step",
              [call = command.call](ScriptSession& s, const ScriptArgs& a) {
                (s.rti().*call)(afterNow(s, a));
                return std::string();
              });
  }

  const struct {
    const char* verb;
    const char* what;
    Query call;
  } queries[] = {
      {"query-lbts", "queryLBTS; prints the time", &RTI::RTIambassador::queryLBTS},
      {"query-time", "queryFederateTime; prints the time", &RTI::RTIambassador::queryFederateTime},
      {"query-min-next", "queryMinNextEventTime; prints the time", &RTI::RTIambassador::queryMinNextEventTime},
      {"query-lookahead", "queryLookahead; prints the time", &RTI::RTIambassador::queryLookahead},
  };
  for (const auto& command : queries) {
    table.add(command.verb, "", command.what, [call = command.call](ScriptSession& s, const ScriptArgs&) {
      RTIfedTime time(0.0);
      (s.rti().*call)(time);
      return printed(time);
    });
  }

  table.add("retract", "<serial>/<federate>", "retract the event of that retraction handle",
            [](ScriptSession& s, const ScriptArgs& a) {
              const std::string& word = a.text(0);
              const std::size_t slash = word.find('/');
              if (slash == std::string::npos) throw UsageError("not <serial>/<federate>: " + word);
              RTI::EventRetractionHandle handle;
              handle.theSerialNumber = std::strtoul(word.substr(0, slash).c_str(), nullptr, 10);
              handle.sendingFederate = std::strtoul(word.substr(slash + 1).c_str(), nullptr, 10);
              s.rti().retract(handle);
              return std::string();
            });
}
