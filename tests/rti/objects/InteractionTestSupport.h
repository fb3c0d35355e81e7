#pragma once
// What the interaction manager's tests share: a connection manager that
// writes down what is sent and which groups are joined and left instead of
// touching the network, a federate ambassador that writes down the
// interaction callbacks, time and MOM stand-ins, and a fixture with the FOM
// fixture's model, a manager, and messages "from another federate".

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FomTestSupport.h"
#include "ManagerTestSupport.h"
#include "NullFederateAmbassador.hh"
#include "api/DtParamValueSet.h"
#include "config/DtRIDParameters.h"
#include "fedtime.hh"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtNetNumber.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtInteractionMomHook.h"
#include "objects/DtTimeStamping.h"
#include "util/DtIpv4Address.h"

namespace intertest {

// The fixture model's interaction classes.
constexpr RTI::InteractionClassHandle root = 0, manager = 4, managerFederate = 5, radio = 6, encoded = 7;
constexpr std::uint32_t self = 3, other = 21, third = 22;

inline std::string text(const char* data, RTI::ULong length) { return std::string(data, length); }

// "h=value,..." in the set's order.
inline std::string pairs(const RTI::ParameterHandleValuePairSet& set) {
  std::string out;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    RTI::ULong length = 0;
    const char* value = set.getValuePointer(i, length);
    out += (out.empty() ? "" : ",") + std::to_string(set.getHandle(i)) + "=" + text(value, length);
  }
  return out;
}

class RecordingFedAmb : public NullFederateAmbassador {
public:
  void receiveInteraction(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& set,
                          const char* tag) override {
    calls.push_back("receive " + std::to_string(c) + " {" + pairs(set) + "} " + tag);
    noteValue(set);
    if (auto inside = std::exchange(onReceive, nullptr)) {
      inside();
      calls.push_back("after it {" + pairs(set) + "}");
    }
  }
  void receiveInteraction(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& set,
                          const RTI::FedTime& time, const char* tag, RTI::EventRetractionHandle handle) override {
    char at[32];
    std::snprintf(at, sizeof at, "%g", RTIfedTime(time).getTime());
    calls.push_back("receive " + std::to_string(c) + " {" + pairs(set) + "} " + tag + " at " + at + " serial " +
                    std::to_string(handle.theSerialNumber) + " from " + std::to_string(handle.sendingFederate));
    noteValue(set);
  }
  void turnInteractionsOn(RTI::InteractionClassHandle c) override { calls.push_back("on " + std::to_string(c)); }
  void turnInteractionsOff(RTI::InteractionClassHandle c) override { calls.push_back("off " + std::to_string(c)); }

  std::vector<std::string> take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
  std::function<void()> onReceive;   // runs once inside the next untimed receiveInteraction
  const char* firstValue = nullptr;  // where the last set's first value was

private:
  void noteValue(const RTI::ParameterHandleValuePairSet& set) {
    RTI::ULong length = 0;
    firstValue = set.size() > 0 ? set.getValuePointer(0, length) : nullptr;
  }
};

// Writes every message handed over down as one line.
class RecordingConnectionMgr : public mgrtest::RecordingConnectionMgr {
public:
  RecordingConnectionMgr() : mgrtest::RecordingConnectionMgr(self) {}

  // "pub 6", "unsub 6", "ro 6 t0 {…} tag", "tso 6 t1 o1 s2 {…}" and " @group".
  static std::string describe(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) {
    std::string line;
    const auto kind = msg.msgKind();
    if (const auto* ro = dynamic_cast<const DtInteractionRoMsg*>(&msg)) {
      line = "ro " + std::to_string(ro->handle()) + " t" + std::to_string(transport) + " {" + pairs(ro->params()) + "}";
    } else if (const auto* tso = dynamic_cast<const DtInteractionTsoMsg*>(&msg)) {
      line = "tso " + std::to_string(tso->handle()) + " t" + std::to_string(transport) + " o" +
             std::to_string(tso->orderType()) + " s" + std::to_string(tso->serialNumber()) + " {" +
             pairs(tso->params()) + "}";
    } else {
      const char* verb = kind == DtPubInterMsgKind     ? "pub"
                         : kind == DtUnpubInterMsgKind ? "unpub"
                         : kind == DtSubInterMsgKind   ? "sub"
                         : kind == DtUnsubInterMsgKind ? "unsub"
                                                       : "kind";
      line =
          std::string(verb) + " " + std::to_string(DtNetU32::read(msg.data() + 8)) + " t" + std::to_string(transport);
    }
    if (address) line += " @" + DottedAddress(static_cast<std::uint32_t>(address));
    return line;
  }

protected:
  std::string line(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) const override {
    return describe(msg, transport, address);
  }
};

using mgrtest::FakeTimeStamping;
using mgrtest::ridWith;

class RecordingMomHook : public DtInteractionMomHook {
public:
  void prepareForSubscribe(DtInteractionClassInfo& c) override { prepared.push_back(c.handle()); }
  std::vector<std::uint32_t> prepared;
};

// A parameter set of (handle, value) pairs.
inline std::unique_ptr<RTI::ParameterHandleValuePairSet> params(
    std::initializer_list<std::pair<RTI::ParameterHandle, std::string>> values) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(8));
  for (const auto& [h, value] : values) set->add(h, value.data(), value.size());
  return set;
}

// A federate's interaction manager over the fixture's model, a recording
// connection manager and a recording federate ambassador.
class InteractionFixture : public ::testing::Test {
protected:
  void SetUp() override { make(""); }
  void TearDown() override { DtInteractionMsg::setChannelIncluded(0); }

  // Starts again with RID parameters from these lines.
  void make(const std::string& ridLines) {
    mgr.reset();
    rid = ridWith(ridLines);
    fom = fomFromText(fixtureFed, rid.get());
    conn = std::make_unique<RecordingConnectionMgr>();
    conn->ambassador = &fedAmb;
    mgr = std::make_unique<DtInteractionMgr>(conn.get(), fom.get(), rid.get());
  }

  // Messages of another federate, through the connection manager's
  // dispatch as a received one would go.
  template <class Msg>
  void receiveClassMsg(RTI::InteractionClassHandle c, std::uint32_t from = other) {
    Msg msg(c, nullptr);
    msg.setFederateHandle(from);
    conn->processMsg(msg);
  }
  void receive(const DtInteractionMsg& msg) { conn->processMsg(msg); }
  static DtInteractionRoMsg interaction(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& set,
                                        std::uint32_t from = other, const char* tag = "tag") {
    DtInteractionRoMsg msg(c, set, tag, 0, nullptr);
    msg.setFederateHandle(from);
    return msg;
  }

  std::unique_ptr<DtRIDParameters> rid;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<RecordingConnectionMgr> conn;
  RecordingFedAmb fedAmb;
  std::unique_ptr<DtInteractionMgr> mgr;
};

}  // namespace intertest
