#pragma once
// What the object manager's tests share: a connection manager that writes
// down every message handed to it (and, on a bus, carries it to every
// member's dispatch as the loopback group would, the sender included), a
// federate ambassador that writes down the object callbacks, a time stand-in,
// and federates made of these over the FOM fixture's model.

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FomTestSupport.h"
#include "HandleSets.h"
#include "ManagerTestSupport.h"
#include "NullFederateAmbassador.hh"
#include "config/DtRIDParameters.h"
#include "fedtime.hh"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "objects/DtTimeStamping.h"
#include "util/DtIpv4Address.h"

namespace objtest {

// The fixture model: ObjectRoot 0 (privilegeToDelete 0, reliable,
// time-stamp), Manager 3, Manager.Federate 4, Platform 5 (Position 1 best
// effort receive, Speed 2 best effort time-stamp), Platform.Aircraft 6
// (Altitude 3 best effort receive).
constexpr RTI::ObjectClassHandle root = 0, manager = 3, managerFederate = 4, platform = 5, aircraft = 6;

// "0,1,2" ("-" for none).
inline std::string text(const RTI::AttributeHandleSet& set) {
  std::string out;
  for (RTI::ULong i = 0; i < set.size(); ++i) out += (i ? "," : "") + std::to_string(set.getHandle(i));
  return out.empty() ? "-" : out;
}

// "1=abc,2=x" in the set's order.
inline std::string pairs(const RTI::AttributeHandleValuePairSet& set) {
  std::string out;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    RTI::ULong length = 0;
    const char* value = set.getValuePointer(i, length);
    out += (i ? "," : "") + std::to_string(set.getHandle(i)) + "=" + std::string(value, length);
  }
  return out;
}

inline std::unique_ptr<RTI::AttributeHandleValuePairSet> values(
    std::initializer_list<std::pair<RTI::AttributeHandle, std::string>> entries) {
  std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(8));
  for (const auto& [h, value] : entries) set->add(h, value.data(), value.size());
  return set;
}

inline std::string timeText(const RTI::FedTime& time) {
  char at[32];
  std::snprintf(at, sizeof at, "%g", RTIfedTime(time).getTime());
  return at;
}

// Writes every object callback down as one line.
class RecordingFedAmb : public NullFederateAmbassador {
public:
  void startRegistrationForObjectClass(RTI::ObjectClassHandle c) override { log("start " + std::to_string(c)); }
  void stopRegistrationForObjectClass(RTI::ObjectClassHandle c) override { log("stop " + std::to_string(c)); }
  void turnUpdatesOnForObjectInstance(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("on " + std::to_string(o) + " " + text(a));
  }
  void turnUpdatesOffForObjectInstance(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("off " + std::to_string(o) + " " + text(a));
  }
  void discoverObjectInstance(RTI::ObjectHandle o, RTI::ObjectClassHandle c, const char* name) override {
    log("discover " + std::to_string(o) + " " + std::to_string(c) + " " + name);
  }
  void reflectAttributeValues(RTI::ObjectHandle o, const RTI::AttributeHandleValuePairSet& v,
                              const char* tag) override {
    log("reflect " + std::to_string(o) + " " + pairs(v) + " " + tag);
    if (onReflect) onReflect(o, v);
  }
  void reflectAttributeValues(RTI::ObjectHandle o, const RTI::AttributeHandleValuePairSet& v, const RTI::FedTime& time,
                              const char* tag, RTI::EventRetractionHandle r) override {
    log("reflect " + std::to_string(o) + " " + pairs(v) + " " + tag + " at " + timeText(time) + " serial " +
        std::to_string(r.theSerialNumber) + " from " + std::to_string(r.sendingFederate));
  }
  void removeObjectInstance(RTI::ObjectHandle o, const char* tag) override {
    log("remove " + std::to_string(o) + " " + tag);
  }
  void removeObjectInstance(RTI::ObjectHandle o, const RTI::FedTime& time, const char* tag,
                            RTI::EventRetractionHandle r) override {
    log("remove " + std::to_string(o) + " " + tag + " at " + timeText(time) + " serial " +
        std::to_string(r.theSerialNumber));
  }
  void provideAttributeValueUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("provide " + std::to_string(o) + " " + text(a));
  }
  void attributesInScope(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("in scope " + std::to_string(o) + " " + text(a));
  }
  void attributesOutOfScope(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("out of scope " + std::to_string(o) + " " + text(a));
  }
  void requestAttributeOwnershipAssumption(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a,
                                           const char* tag) override {
    log("assume " + std::to_string(o) + " " + text(a) + " " + tag);
  }
  void attributeOwnershipDivestitureNotification(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("divested " + std::to_string(o) + " " + text(a));
  }
  void attributeOwnershipAcquisitionNotification(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("acquired " + std::to_string(o) + " " + text(a));
  }
  void attributeOwnershipUnavailable(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
    log("unavailable " + std::to_string(o) + " " + text(a));
  }
  void requestAttributeOwnershipRelease(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a,
                                        const char* tag) override {
    log("release? " + std::to_string(o) + " " + text(a) + " " + tag);
  }
  void confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle o,
                                                        const RTI::AttributeHandleSet& a) override {
    log("cancelled " + std::to_string(o) + " " + text(a));
  }
  void informAttributeOwnership(RTI::ObjectHandle o, RTI::AttributeHandle a, RTI::FederateHandle f) override {
    log("owner " + std::to_string(o) + " " + std::to_string(a) + " " + std::to_string(f));
  }
  void attributeIsNotOwned(RTI::ObjectHandle o, RTI::AttributeHandle a) override {
    log("not owned " + std::to_string(o) + " " + std::to_string(a));
  }
  void attributeOwnedByRTI(RTI::ObjectHandle o, RTI::AttributeHandle a) override {
    log("rti owned " + std::to_string(o) + " " + std::to_string(a));
  }

  void log(const std::string& line) { calls.push_back(line); }
  std::vector<std::string> take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
  std::function<void(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&)> onReflect;
};

// One line per message: what the object manager's kinds carry.
inline std::string describe(const DtRtiMsg& msg) {
  const int kind = msg.msgKind();
  if (const auto* m = dynamic_cast<const DtSubObjMsg*>(&msg)) {
    return "sub " + std::to_string(m->objectClassHandle()) + " passive " + std::to_string(int{m->isPassive()}) +
           " replace " + std::to_string(int{m->replacement()}) + " {" + text(m->attrHandles()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtPubObjMsg*>(&msg)) {
    return "pub " + std::to_string(m->objectClassHandle()) + " {" + text(m->attrHandles()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtUnsubObjMsg*>(&msg)) return "unsub " + std::to_string(m->handle());
  if (const auto* m = dynamic_cast<const DtUnpubObjMsg*>(&msg)) return "unpub " + std::to_string(m->handle());
  if (const auto* m = dynamic_cast<const DtRegObjMsg*>(&msg)) {
    return "register " + std::to_string(m->objHandle()) + " " + m->objName() + " class " +
           std::to_string(m->classHandle()) + " {" + text(m->attrHandles()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtUpdateTsoMsg*>(&msg)) {
    return "update-tso " + std::to_string(m->objHandle()) + " order " + std::to_string(m->orderType()) + " serial " +
           std::to_string(m->serialNumber()) + " {" + pairs(m->attrs()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtUpdateMsg*>(&msg)) {
    return "update " + std::to_string(m->objHandle()) + " {" + pairs(m->attrs()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtRequestMsg*>(&msg)) {
    return m->requestType() == DtRequestById
               ? "request object " + std::to_string(m->id()) + " {" + text(m->attrHandles()) + "}"
               : "request class " + std::to_string(m->objectClassHandle()) + " {" + text(m->attrHandles()) + "}";
  }
  if (const auto* m = dynamic_cast<const DtDeleteTsoMsg*>(&msg)) {
    return "delete-tso " + std::to_string(m->id()) + " order " + std::to_string(m->orderType()) + " serial " +
           std::to_string(m->serialNumber()) + " " + (m->tag() ? m->tag() : "");
  }
  if (const auto* m = dynamic_cast<const DtDeleteMsg*>(&msg)) {
    return "delete " + std::to_string(m->id()) + " " + (m->tag() ? m->tag() : "");
  }
  if (const auto* m = dynamic_cast<const DtLocDelMsg*>(&msg)) return "local-delete " + std::to_string(m->objHandle());
  if (const auto* m = dynamic_cast<const DtDiscObjMsg*>(&msg)) {
    return "discovered " + std::to_string(m->objHandle()) + " " + std::to_string(m->classHandle());
  }
  if (const auto* m = dynamic_cast<const DtReqDiscObjMsg*>(&msg)) return "ask " + std::to_string(m->objHandle());
  if (const auto* m = dynamic_cast<const DtOwnershipMsg*>(&msg)) {
    return "ownership " + std::to_string(int{m->ownerMsgKind()}) + " " + std::to_string(m->objHandle()) + " {" +
           text(m->attrHandles()) + "} to " + std::to_string(m->recipientFederate());
  }
  return "kind " + std::to_string(kind);
}

class TestConnectionMgr;

// The loopback group of several federates: a message sent by one reaches
// every member's dispatch when delivered, its sender's too.
class Bus {
public:
  void join(TestConnectionMgr* member) { members_.push_back(member); }
  void post(const DtRtiMsg& msg);
  // Dispatches everything posted (and posted meanwhile) to every member;
  // returns how many messages went round.
  int deliver();
  bool idle() const { return queue_.empty(); }

private:
  std::vector<TestConnectionMgr*> members_;
  std::deque<std::unique_ptr<DtRtiMsg>> queue_;
};

// Writes every message handed over down as one line (with " t1" for
// reliable and " @group"), and posts it to the bus when on one.
class TestConnectionMgr : public mgrtest::RecordingConnectionMgr {
public:
  explicit TestConnectionMgr(std::uint32_t handle, Bus* bus = nullptr)
      : mgrtest::RecordingConnectionMgr(handle), bus_(bus) {
    if (bus_) bus_->join(this);
  }

protected:
  std::string line(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) const override {
    std::string line = describe(msg);
    if (transport == DtReliable) line += " t1";
    if (address) line += " @" + DottedAddress(static_cast<std::uint32_t>(address));
    return line;
  }
  void posted(const DtRtiMsg& msg) override {
    if (const auto* ownership = dynamic_cast<const DtOwnershipMsg*>(&msg)) {
      lastTag = ownership->tag() ? ownership->tag() : "";
      lastClass = ownership->classHandle();
    }
    if (bus_) bus_->post(msg);
  }

public:
  // The tag and class handle of the last ownership message handed over.
  std::string lastTag;
  unsigned long lastClass = 0;

private:
  Bus* bus_;
};

inline void Bus::post(const DtRtiMsg& msg) { queue_.emplace_back(msg.clone(1)); }

inline int Bus::deliver() {
  int count = 0;
  while (!queue_.empty()) {
    const std::unique_ptr<DtRtiMsg> msg = std::move(queue_.front());
    queue_.pop_front();
    for (TestConnectionMgr* member : members_) member->processMsg(*msg);
    ++count;
  }
  return count;
}

using mgrtest::FakeTimeStamping;
using mgrtest::ridWith;

// One federate of a test: its RID parameters, its own copy of the model, a
// recording connection manager (on the bus when given), a recording
// ambassador and the object manager.
struct Federate {
  Federate(std::uint32_t handle, const std::string& ridLines, Bus* bus = nullptr)
      : rid(ridWith(ridLines)),
        fom(fomFromText(fixtureFed, rid.get())),
        conn(std::make_unique<TestConnectionMgr>(handle, bus)) {
    conn->ambassador = &amb;
    mgr = DtObjectMgr::create(conn.get(), fom.get(), rid.get());
  }
  ~Federate() { mgr.reset(); }

  std::unique_ptr<DtRIDParameters> rid;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<TestConnectionMgr> conn;
  RecordingFedAmb amb;
  std::unique_ptr<DtObjectMgr> mgr;
};

// Several federates on one bus. settle() delivers until nothing moves and
// ticks every manager after each round, as the federate manager's tick
// does.
class Federation {
public:
  Federate& add(std::uint32_t handle, const std::string& ridLines = "") {
    members_.push_back(std::make_unique<Federate>(handle, ridLines, &bus_));
    return *members_.back();
  }
  void settle() {
    for (int round = 0; round < 20; ++round) {
      const int moved = bus_.deliver();
      for (auto& member : members_) member->mgr->tick();
      if (moved == 0 && bus_.idle()) return;
    }
    ADD_FAILURE() << "the federation did not settle";
  }

private:
  Bus bus_;
  std::vector<std::unique_ptr<Federate>> members_;
};

// A message of another federate, through the receiver's dispatch.
inline void receiveFrom(TestConnectionMgr& conn, DtRtiMsg& msg, std::uint32_t sender) {
  msg.setFederateHandle(sender);
  conn.processMsg(msg);
}

// Puts the process-wide switches of the object managers back.
class ObjectMgrDefaultsGuard {
public:
  ObjectMgrDefaultsGuard() = default;
  ~ObjectMgrDefaultsGuard() {
    DtObjectMgr::setDefaultClassAdvisory(1);
    DtObjectMgr::setDefaultAttributeAdvisory(0);
    DtObjectMgr::setDefaultAttributeScopeAdvisory(0);
    DtObjectMgr::setHlaNamePrefix(0);
    DtUpdateMsg::setChannelIncluded(0);
    DtRtiObject::setUseDiscoveredClass(true);
  }
  ObjectMgrDefaultsGuard(const ObjectMgrDefaultsGuard&) = delete;
  ObjectMgrDefaultsGuard& operator=(const ObjectMgrDefaultsGuard&) = delete;
};

}  // namespace objtest
