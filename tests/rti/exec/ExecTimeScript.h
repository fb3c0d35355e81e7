#pragma once
// Drives an execution's time management (DtExecTimeMgr) by a script of the
// federates' messages and writes down what it sends, one line per message.
// Every message travels as bytes: a request is built, stamped with its
// federate and execution, read back through the message factory and
// dispatched by kind through a connection manager that sends nothing; every
// message sent is read back the same way before it is written down.
//
// Script lines (times and lookaheads are numbers, "inf" for infinity):
//   reg F T L              enable regulation           (kind 50)
//   con F T L              enable constrained          (kind 52)
//   tar F T L / tara F T L time advance request, time not available / available (54)
//   ner F T L C / nera F T L C  next-event request of NER cycle C (55)
//   dis F S                disable service S (0 regulation, 1 constrained) (58)
//   sync F T L             answer to the constrained sync (60)
//   resign F               the federate left the execution
//   join F                 a federate joined the execution
//   other <line>           the request as a federate of another execution sends it
//   state                  writes "state reg=... con=... pend=... held=... sync=... awaited=... cycle=..."
// Lines sent:
//   51 fed=F t=T          53 fed=F t=T lbts=B          56 fed=F lbts=B lag=G
//   57 cycle=C fed=F pending=P lagPending=Q lbts=B lag=G
//   59                    61 fed=F lbts=B lag=G
// followed by " to=N" for a message sent to connection N alone.

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "exec/DtExecTimeMgr.h"
#include "exec/DtTimeInfo.h"
#include "fedtime.hh"
#include "msg/DtTimeMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtInProcessSocket.h"
#include "support/TimeScript.h"

namespace exectime {

constexpr int theExec = 7;
constexpr int theOtherExec = 8;

using timescript::reread;
using timescript::text;
using timescript::timeOf;

inline std::string describe(const DtRtiMsg& msg) {
  std::ostringstream line;
  if (msg.fedExHandle() != theExec) line << "[exec " << msg.fedExHandle() << "] ";
  line << static_cast<int>(msg.msgKind());
  if (auto* m = dynamic_cast<const DtRegulationEnabledMsg*>(&msg)) {
    line << " fed=" << m->requestingFederate() << " t=" << text(m->time());
  } else if (auto* m = dynamic_cast<const DtConstrainedEnabledMsg*>(&msg)) {
    line << " fed=" << m->requestingFederate() << " t=" << text(m->time()) << " lbts=" << text(m->lbts());
  } else if (auto* m = dynamic_cast<const DtLbtsMsg*>(&msg)) {
    line << " fed=" << m->laggardFederate() << " lbts=" << text(m->time()) << " lag=" << text(m->lagLbts());
  } else if (auto* m = dynamic_cast<const DtResumeConstrainedMsg*>(&msg)) {
    line << " fed=" << m->laggardFederate() << " lbts=" << text(m->time()) << " lag=" << text(m->lagLbts());
  } else if (auto* m = dynamic_cast<const DtNerLbtsMsg*>(&msg)) {
    line << " cycle=" << m->nerCycle() << " fed=" << m->laggardFederate() << " pending=" << int(m->isNerPending())
         << " lagPending=" << int(m->isLagNerPending()) << " lbts=" << text(m->time()) << " lag=" << text(m->lagLbts());
  }
  return line.str();
}

// Sends nothing; writes down each message as its receivers would read it.
class CapturingConnectionMgr : public DtConnectionMgr {
public:
  int sendAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) override {
    const std::unique_ptr<DtRtiMsg> owned(msg);
    const std::unique_ptr<DtRtiMsg> received = reread(*owned);
    std::string line = received ? describe(*received) : "unreadable " + describe(*owned);
    if (transport != internalTransportType()) line += " [transport]";
    if (address != 0) line += " to=" + std::to_string(address);
    sent.push_back(line);
    return 0;
  }
  std::vector<std::string> take() { return std::exchange(sent, {}); }
  // Internal messages on a reliable connection whose sends can name a
  // connection, as the rtiexec's own end of its forwarder.
  void carryReliably() {
    adoptReliableSocket(std::make_unique<DtInProcessSocket>(nullptr));
    carryInternalMessagesReliably();
  }

  std::vector<std::string> sent;
};

class Script {
public:
  Script() : time_(&connections_, "Exec", theExec) {}

  DtExecTimeMgr& time() { return time_; }
  CapturingConnectionMgr& connections() { return connections_; }

  // Runs one script line; returns what it made the execution send.
  std::vector<std::string> run(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    int exec = theExec;
    if (word == "other") {
      exec = theOtherExec;
      in >> word;
    }
    if (word == "state") {
      connections_.sent.push_back(state());
    } else if (word == "join") {
      time_.noteNewcomer();
    } else if (word == "resign") {
      std::uint32_t federate = 0;
      in >> federate;
      time_.resignFederateTime(federate);
    } else {
      std::unique_ptr<DtRtiMsg> msg = request(word, in);
      if (!msg) return {"bad script line: " + line};
      std::unique_ptr<DtRtiMsg> received = [&] {
        msg->setFedEx(exec);
        return reread(*msg);
      }();
      if (!received) return {"unreadable request: " + line};
      connections_.processMsg(*received);
    }
    return connections_.take();
  }

  std::string state() const {
    std::ostringstream s;
    s << "state reg=" << time_.regulatingByLbts().count() << " con=" << time_.constrainedByTime().count()
      << " pend=" << time_.pendingConstrained().count() << " held=" << time_.pendingRegulation().count()
      << " sync=" << time_.constrainedSyncWaitingCount() << " awaited=" << time_.nerAwaited().count()
      << " cycle=" << time_.nerCycle();
    return s.str();
  }

private:
  static std::unique_ptr<DtRtiMsg> request(const std::string& kind, std::istringstream& in) {
    std::uint32_t federate = 0;
    std::string t, l;
    in >> federate;
    std::unique_ptr<DtRtiMsg> msg;
    if (kind == "dis") {
      std::uint32_t service = 0;
      in >> service;
      msg = std::make_unique<DtDisableMsg>(service, nullptr);
    } else {
      in >> t >> l;
      const RTIfedTime time = timeOf(t);
      const RTIfedTime lookahead = timeOf(l);
      if (kind == "reg") {
        msg = std::make_unique<DtEnableRegulationMsg>(time, lookahead, nullptr);
      } else if (kind == "con") {
        msg = std::make_unique<DtEnableConstrainedMsg>(time, lookahead, nullptr);
      } else if (kind == "tar" || kind == "tara") {
        auto tar = std::make_unique<DtTimeAdvanceRequestMsg>(time, lookahead, nullptr);
        tar->setTimeAvailable(kind == "tara" ? 1 : 0);
        msg = std::move(tar);
      } else if (kind == "ner" || kind == "nera") {
        unsigned long cycle = 0;
        in >> cycle;
        msg = std::make_unique<DtNextEventRequestMsg>(time, lookahead, kind == "nera" ? 1 : 0, cycle, nullptr);
      } else if (kind == "sync") {
        msg = std::make_unique<DtConstrainedSyncMsg>(time, lookahead, nullptr);
      }
    }
    if (msg) msg->setFederateHandle(federate);
    return msg;
  }

  CapturingConnectionMgr connections_;
  DtExecTimeMgr time_;
};

}  // namespace exectime
