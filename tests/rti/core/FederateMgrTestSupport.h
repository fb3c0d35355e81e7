#pragma once
// For the federate manager's tests: one log that recording managers write to
// (object, interaction, time and MOM managers, and a connection manager that
// opens no socket), installed through the managers' creator hooks, and a
// federate manager without the rtiexec built over the recording connection
// manager.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/DtRIDParameters.h"
#include "core/DtSimpleFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "mom/DtMomMgr.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtMsgSubscriptions.h"
#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"

using ManagerLog = std::vector<std::string>;

// Sends are logged ("send <kind> <federate handle>") and kept; tick()
// delivers the messages the test queued, one per tick, as a connection
// would (the time manager's queue first, then the callbacks).
class RecordingConnectionMgr : public DtConnectionMgr {
public:
  explicit RecordingConnectionMgr(ManagerLog& log) : log_(log) {}
  ~RecordingConnectionMgr() override { log_.push_back("~connection"); }

  int send(const DtRtiMsg& msg, DtTransportType, unsigned long) override {
    log_.push_back("send " + std::to_string(msg.msgKind()) + " " + std::to_string(msg.federateHandle()));
    sent.emplace_back(msg.cloneWithTransport(1));
    return msg.size();
  }
  RTI::Boolean tick() override {
    if (incoming.empty()) return RTI::RTI_FALSE;
    const std::unique_ptr<DtRtiMsg> msg = std::move(incoming.front());
    incoming.pop_front();
    deliver(*msg);
    return RTI::RTI_TRUE;
  }
  void connectFederation(RTI::FederateAmbassador* fedAmb, const DtString& execName, unsigned long fedHandle,
                         int fedExHandle) override {
    log_.push_back("connect " + std::string(execName.string()) + " " + std::to_string(fedHandle));
    DtConnectionMgr::connectFederation(fedAmb, execName, fedHandle, fedExHandle);
  }
  void disconnectFederation() override {
    log_.push_back("disconnect");
    DtConnectionMgr::disconnectFederation();
  }
  void setMsgQueue(DtRtiMsgQueue* queue) override {
    log_.push_back(queue ? "setMsgQueue" : "setMsgQueue null");
    DtConnectionMgr::setMsgQueue(queue);
  }
  // Registrations in the normal table for the kind.
  int callbacks(DtRtiMsgKind kind) const { return callbacks_.numCallbacks(kind); }

  std::deque<std::unique_ptr<DtRtiMsg>> incoming;
  std::vector<std::unique_ptr<DtRtiMsg>> sent;

private:
  ManagerLog& log_;
};

// The log the recording managers made by the creator hooks write to, and the
// object manager's answers to the resign checks.
struct RecordingScope {
  static inline ManagerLog* log = nullptr;
  static inline std::uint32_t ownedObjects = 0;
  static inline std::uint32_t deletableObjects = 0;
  // Run by the object manager inside its callback of kind 32, if set.
  static inline std::function<void()> onAlive;

  explicit RecordingScope(ManagerLog& target);
  ~RecordingScope();
};

inline void note(const std::string& entry) {
  if (RecordingScope::log) RecordingScope::log->push_back(entry);
}

class RecordingObjectMgr : public DtObjectMgr {
public:
  RecordingObjectMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
      : DtObjectMgr(connectMgr, fom, params) {
    note("objMgr");
    for (std::uint32_t i = 0; i < RecordingScope::ownedObjects; ++i) owned_.append(this);
    handlers_.add<DtAliveMsg>(connectMgr_, &RecordingObjectMgr::alive, this);
  }
  ~RecordingObjectMgr() override {
    handlers_.clear();
    owned_.clear();
    note("~objMgr");
  }
  void setTimeMgr(DtTimeStamping* timeMgr) override { note(timeMgr ? "objMgr setTimeMgr" : "objMgr setTimeMgr null"); }
  void tick() override { note("objMgr tick"); }
  void processResign(const DtResignMsg& msg) override {
    note("objMgr processResign " + std::to_string(msg.federateHandle()));
  }
  const DtList& ownedObjects() const override { return owned_; }
  std::uint32_t numObjectsOwned() const override { return RecordingScope::deletableObjects; }
  void prepareToResign(RTI::ResignAction action) override { note("prepareToResign " + std::to_string(action)); }

private:
  // A manager whose own callback lets the federate resign, then goes on
  // with its own state (which must still exist).
  static void alive(const DtAliveMsg&, void* self) {
    auto* mgr = static_cast<RecordingObjectMgr*>(self);
    if (RecordingScope::onAlive) RecordingScope::onAlive();
    ++mgr->handled_;
    note("objMgr alive handled");
  }
  DtList owned_;
  int handled_ = 0;
  DtMsgSubscriptions handlers_;
};

class RecordingInteractionMgr : public DtInteractionMgr {
public:
  RecordingInteractionMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
      : DtInteractionMgr(connectMgr, fom, params) {
    note("interMgr");
  }
  ~RecordingInteractionMgr() override { note("~interMgr"); }
  void setTimeMgr(DtTimeStamping* timeMgr) override {
    note(timeMgr ? "interMgr setTimeMgr" : "interMgr setTimeMgr null");
  }
  void tick() override { note("interMgr tick"); }
  void processResign(const DtResignMsg& msg) override {
    note("interMgr processResign " + std::to_string(msg.federateHandle()));
  }
};

// The real time manager (it hooks its queue in), with its life logged.
class RecordingTimeMgr : public DtTimeMgr {
public:
  RecordingTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
      : DtTimeMgr(connectMgr, fom, params) {
    note("timeMgr");
  }
  ~RecordingTimeMgr() override { note("~timeMgr"); }
  void tick() override { note("timeMgr tick"); }
};

class RecordingMomMgr : public DtMomMgr {
public:
  explicit RecordingMomMgr(ManagerLog& log) : DtMomMgr(nullptr), log_(log) {}
  void join(DtConnectionMgr*, DtFomClassMgr* fom, DtMomFederate*, DtObjectMgr* objMgr,
            DtInteractionMgr* interMgr) override {
    log_.push_back(fom && objMgr && interMgr ? "mom join" : "mom join without managers");
  }
  void resign() override { log_.push_back("mom resign"); }
  void tick() override { log_.push_back("mom tick"); }

private:
  ManagerLog& log_;
};

inline RecordingScope::RecordingScope(ManagerLog& target) {
  log = &target;
  ownedObjects = deletableObjects = 0;
  onAlive = nullptr;
  DtObjectMgr::setCreatorFunction([](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtObjectMgr* {
    return new RecordingObjectMgr(c, f, p);
  });
  DtInteractionMgr::setCreatorFunction(
      [](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtInteractionMgr* {
        return new RecordingInteractionMgr(c, f, p);
      });
  DtTimeMgr::setCreatorFunction([](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtTimeMgr* {
    return new RecordingTimeMgr(c, f, p);
  });
}

inline RecordingScope::~RecordingScope() {
  DtObjectMgr::setCreatorFunction(nullptr);
  DtInteractionMgr::setCreatorFunction(nullptr);
  DtTimeMgr::setCreatorFunction(nullptr);
  onAlive = nullptr;
  log = nullptr;
}

// A federate manager of class Mgr over a test connection manager of class
// Connection, made from the log, which it owns as it owns a real one.
template <class Mgr, class Connection>
class FederateMgrOver : public Mgr {
public:
  FederateMgrOver(DtRIDParameters* params, ManagerLog& log)
      : FederateMgrOver(params, std::make_unique<Connection>(log)) {}

  Connection& connection() { return *connection_; }

private:
  FederateMgrOver(DtRIDParameters* params, std::unique_ptr<Connection> connection) : Mgr(params, nullptr) {
    connection_ = connection.get();
    this->connectMgr_ = std::move(connection);
  }
  Connection* connection_;
};

// A federate manager without the rtiexec over a recording connection
// manager.
class TestFederateMgr : public FederateMgrOver<DtSimpleFederateMgr, RecordingConnectionMgr> {
public:
  using FederateMgrOver::FederateMgrOver;
};
