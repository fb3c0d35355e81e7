#pragma once
// Drives a federate's time manager (DtTimeMgr) by a script of its services
// and of the messages the rtiexec and other federates send it, and writes
// down, in one log and in order, what it sends and what reaches the
// federate. Every message travels as bytes: built, stamped with its sender
// and the execution, read back through the message factory, then offered to
// the time manager's queue and dispatched by kind as the connection manager
// does with a received one. Time-stamped and receive-order interactions
// stand for every traffic kind: their callback hands them on to the
// federate through the callback chain, as the interaction manager does.
//
// This federate has handle 2 in execution 7. Script lines:
//   reg T L | con | dreg | dcon | tar T | tara T | ner T | nera T | flush T | modla L
//   async | dasync | retract S [F]      the services (F: sending federate, default 2)
//   send T S                 this federate sends a time-stamped message (serial S)
//   tick                     the time manager's per-tick step
//   query                    writes "lbts=.. time=.. la=.. min=.."
//   <51 T | <53 T B | <56 F B G | <57 C F P Q B G | <59 | <61 F B G
//                            the rtiexec's messages (F laggard or requester)
//   <62 F S                  federate F retracts its message S
//   <tso F T S | <ro F       federate F's interaction, time-stamped or not
// Log lines: what is sent ("54 t=5 la=1 avail=0", "55 t=.. la=.. avail=.. cycle=..",
// "50 t=.. la=..", "52 ...", "58 service=S", "60 t=.. la=..", "62 serial=S"),
// what the federate is told ("regulationEnabled T", "constrainedEnabled T",
// "grant T", "tso F T S", "ro F", "requestRetraction F S"), and a refused
// service as "! <exception class>".

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "NullFederateAmbassador.hh"
#include "api/DtParamValueSet.h"
#include "core/DtTimeMgr.h"
#include "fedtime.hh"
#include "msg/DtMsgSubscriptions.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtTimeMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtTimedDelivery.h"
#include "support/TimeScript.h"

namespace timescript {

constexpr unsigned long theFederate = 2;
constexpr int theExec = 7;

inline std::string describeSent(const DtRtiMsg& msg) {
  std::ostringstream line;
  line << static_cast<int>(msg.msgKind());
  if (msg.federateHandle() != theFederate || msg.fedExHandle() != theExec) line << " [stamp]";
  if (auto* m = dynamic_cast<const DtNextEventRequestMsg*>(&msg)) {
    line << " t=" << text(m->time()) << " la=" << text(m->lookahead()) << " avail=" << int(m->timeAvailable())
         << " cycle=" << m->nerCycle();
  } else if (auto* m = dynamic_cast<const DtTimeAdvanceRequestMsg*>(&msg)) {
    line << " t=" << text(m->time()) << " la=" << text(m->lookahead()) << " avail=" << int(m->timeAvailable());
  } else if (auto* m = dynamic_cast<const DtTimeLookaheadMsg*>(&msg)) {
    line << " t=" << text(m->time()) << " la=" << text(m->lookahead());
  } else if (auto* m = dynamic_cast<const DtDisableMsg*>(&msg)) {
    line << " service=" << m->serviceType();
  } else if (auto* m = dynamic_cast<const DtRetractMsg*>(&msg)) {
    line << " serial=" << m->serialNumber();
  } else if (auto* m = dynamic_cast<const DtInteractionTsoMsg*>(&msg)) {
    line << " t=" << text(m->time()) << " serial=" << m->serialNumber();
  }
  return line.str();
}

// The federate: writes down the time callbacks and the interactions.
class LoggingFederate : public NullFederateAmbassador {
public:
  explicit LoggingFederate(std::vector<std::string>& log) : log_(log) {}
  void timeRegulationEnabled(const RTI::FedTime& t) override { log_.push_back("regulationEnabled " + text(t)); }
  void timeConstrainedEnabled(const RTI::FedTime& t) override { log_.push_back("constrainedEnabled " + text(t)); }
  void timeAdvanceGrant(const RTI::FedTime& t) override {
    log_.push_back("grant " + text(t));
    if (onGrant) onGrant();
  }
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&, const RTI::FedTime& t,
                          const char*, RTI::EventRetractionHandle h) override {
    log_.push_back("tso " + std::to_string(h.sendingFederate) + " " + text(t) + " " +
                   std::to_string(h.theSerialNumber));
  }
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                          const char* tag) override {
    log_.push_back(std::string("ro ") + (tag ? tag : ""));
  }
  void requestRetraction(RTI::EventRetractionHandle h) override {
    log_.push_back("requestRetraction " + std::to_string(h.sendingFederate) + " " + std::to_string(h.theSerialNumber));
  }
  std::function<void()> onGrant;

private:
  std::vector<std::string>& log_;
};

// Sends nothing: writes down what is sent, as its receivers read it.
class LoggingConnectionMgr : public DtConnectionMgr {
public:
  explicit LoggingConnectionMgr(std::vector<std::string>& log) : log_(log) {}
  int send(const DtRtiMsg& msg, DtTransportType, unsigned long) override {
    const std::unique_ptr<DtRtiMsg> received = reread(msg);
    log_.push_back(received ? describeSent(*received) : "unreadable " + describeSent(msg));
    return msg.size();
  }
  // A message as it comes from the network: the queue, then the callbacks.
  void receive(const DtRtiMsg& msg) { deliver(msg); }

private:
  std::vector<std::string>& log_;
};

class Script {
public:
  Script() : federate_(log_), connections_(log_) {
    connections_.connectFederation(&federate_, "Exec", theFederate, theExec);
    timeMgr_ = std::make_unique<DtTimeMgr>(&connections_, nullptr, nullptr);
    handlers_.add<DtInteractionTsoMsg>(&connections_, &Script::interaction<DtInteractionTsoMsg>, this);
    handlers_.add<DtInteractionRoMsg>(&connections_, &Script::interaction<DtInteractionRoMsg>, this);
  }

  DtTimeMgr& timeMgr() { return *timeMgr_; }
  LoggingFederate& federate() { return federate_; }
  LoggingConnectionMgr& connections() { return connections_; }

  // Runs one line; returns what it logged.
  std::vector<std::string> run(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    try {
      if (word.rfind('<', 0) == 0) {
        receive(word.substr(1), in);
      } else {
        service(word, in);
      }
    } catch (const RTI::Exception& e) {
      log_.push_back(std::string("! ") + (e._name ? e._name : "?"));
    }
    return std::exchange(log_, {});
  }

  std::string query() {
    RTIfedTime lbts, time, la, min;
    timeMgr_->queryLBTS(lbts);
    timeMgr_->queryFederateTime(time);
    timeMgr_->queryLookahead(la);
    timeMgr_->queryMinNextEventTime(min);
    return "lbts=" + text(lbts) + " time=" + text(time) + " la=" + text(la) + " min=" + text(min);
  }

private:
  template <class M>
  static void interaction(const M& msg, void* self) {
    auto* script = static_cast<Script*>(self);
    RTI::FederateAmbassador* amb = script->connections_.fedAmb();
    // As the interaction manager does: the time manager hears of it first.
    DtNoteDelivered(msg, script->timeMgr_.get());
    if constexpr (std::is_same_v<M, DtInteractionTsoMsg>) {
      if (script->timeMgr_->constrained()) {
        RTI::EventRetractionHandle h;
        h.theSerialNumber = msg.serialNumber();
        h.sendingFederate = msg.federateHandle();
        amb->receiveInteraction(msg.handle(), msg.params(), msg.time(), "", h);
        return;
      }
    }
    amb->receiveInteraction(msg.handle(), msg.params(), std::to_string(msg.federateHandle()).c_str());
  }

  void service(const std::string& word, std::istringstream& in) {
    std::string a, b;
    DtTimeMgr& t = *timeMgr_;
    if (word == "reg") {
      in >> a >> b;
      t.enableTimeRegulation(timeOf(a), timeOf(b));
    } else if (word == "con") {
      t.enableTimeConstrained();
    } else if (word == "dreg") {
      t.disableTimeRegulation();
    } else if (word == "dcon") {
      t.disableTimeConstrained();
    } else if (word == "tar" || word == "tara" || word == "ner" || word == "nera" || word == "flush") {
      in >> a;
      const RTIfedTime when = timeOf(a);
      if (word == "tar") t.timeAdvanceRequest(when);
      if (word == "tara") t.timeAdvanceRequestAvailable(when);
      if (word == "ner") t.nextEventRequest(when);
      if (word == "nera") t.nextEventRequestAvailable(when);
      if (word == "flush") t.flushQueueRequest(when);
    } else if (word == "modla") {
      in >> a;
      t.modifyLookahead(timeOf(a));
    } else if (word == "async") {
      t.enableAsynchronousDelivery();
    } else if (word == "dasync") {
      t.disableAsynchronousDelivery();
    } else if (word == "retract") {
      RTI::EventRetractionHandle h;
      h.sendingFederate = theFederate;
      in >> h.theSerialNumber >> h.sendingFederate;
      t.retract(h);
    } else if (word == "send") {
      std::uint32_t serial = 0;
      in >> a >> serial;
      DtInteractionTsoMsg msg(1, DtParamValueSet(0), DtTimestampOrder, timeOf(a), "", serial, 0, nullptr);
      connections_.sendStamped(msg, DtBestEffort, 0);
    } else if (word == "tick") {
      t.tick();
    } else if (word == "query") {
      log_.push_back(query());
    } else {
      log_.push_back("bad script line: " + word);
    }
  }

  void receive(const std::string& kind, std::istringstream& in) {
    unsigned long federate = 0, cycle = 0, serial = 0;
    int pending = 0, lagPending = 0;
    std::string a, b;
    std::unique_ptr<DtRtiMsg> msg;
    unsigned long sender = 0;
    if (kind == "51") {
      in >> a;
      msg = std::make_unique<DtRegulationEnabledMsg>(theFederate, timeOf(a), nullptr);
    } else if (kind == "53") {
      in >> a >> b;
      msg = std::make_unique<DtConstrainedEnabledMsg>(theFederate, timeOf(a), timeOf(b), nullptr);
    } else if (kind == "56") {
      in >> federate >> a >> b;
      msg = std::make_unique<DtLbtsMsg>(federate, timeOf(a), timeOf(b), nullptr);
    } else if (kind == "57") {
      in >> cycle >> federate >> pending >> lagPending >> a >> b;
      msg = std::make_unique<DtNerLbtsMsg>(cycle, federate, char(pending), char(lagPending), timeOf(a), timeOf(b),
                                           nullptr);
    } else if (kind == "59") {
      msg = std::make_unique<DtSyncConstrainedMsg>(nullptr);
    } else if (kind == "61") {
      in >> federate >> a >> b;
      msg = std::make_unique<DtResumeConstrainedMsg>(federate, timeOf(a), timeOf(b), nullptr);
    } else if (kind == "62") {
      in >> sender >> serial;
      msg = std::make_unique<DtRetractMsg>(serial, nullptr);
    } else if (kind == "tso") {
      in >> sender >> a >> serial;
      msg = std::make_unique<DtInteractionTsoMsg>(1, DtParamValueSet(0), DtTimestampOrder, timeOf(a), "", serial, 0,
                                                  nullptr);
    } else if (kind == "ro") {
      in >> sender;
      msg = std::make_unique<DtInteractionRoMsg>(1, DtParamValueSet(0), "", 0, nullptr);
    } else {
      log_.push_back("bad script line: <" + kind);
      return;
    }
    msg->setFederateHandle(sender);
    msg->setFedEx(theExec);
    std::unique_ptr<DtRtiMsg> received = reread(*msg);
    if (!received) {
      log_.push_back("unreadable message <" + kind);
      return;
    }
    connections_.receive(*received);
  }

  std::vector<std::string> log_;
  LoggingFederate federate_;
  LoggingConnectionMgr connections_;
  std::unique_ptr<DtTimeMgr> timeMgr_;
  DtMsgSubscriptions handlers_;
};

}  // namespace timescript
