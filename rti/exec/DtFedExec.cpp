// A federation execution in the rtiexec: joins, membership, heartbeats,
// resignations and the periodic tick (its synchronization points are in
// DtFedExecSyncPoints.cpp).
#include "exec/DtFedExec.h"

#include <algorithm>

#include "config/DtRIDParameters.h"
#include "exec/DtExecSaveRestore.h"
#include "exec/DtExecTimeMgr.h"
#include "exec/DtFederate.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtSyncPointMsg.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"

DtFedExec::DtFedExec(DtConnectionMgr* connectMgr, const DtString& executionName, const DtString& fedFileName,
                     int executionHandle, DtRIDParameters* rid)
    : connectMgr_(connectMgr), name_(executionName), fedFile_(fedFileName), handle_(executionHandle), clock_([] {
        return DtRealTime();
      }) {
  if (!(rid->federateHeartbeatInterval() > 0)) rid->setFederateTimeoutInterval(0);
  if (!(rid->federateTimeoutInterval() > 0)) rid->setFederateHeartbeatInterval(0);
  federateTimeout_ = rid->federateTimeoutInterval();
  subscribeHandlers();
  time_ = std::make_unique<DtExecTimeMgr>(connectMgr_, name_, handle_);
  time_->setConnectionOf([this](std::uint32_t federate) -> std::uint32_t {
    const DtFederate* joined = getFederate(federate);
    return joined ? static_cast<std::uint32_t>(joined->getConnectionHandle()) : 0;
  });
  saveRestore_ = std::make_unique<DtExecSaveRestore>(*this, rid);
}

DtFedExec::~DtFedExec() {
  saveRestore_.reset();
  handlers_.clear();
  federates_.clear();
  pendingJoins_.clear();
}

void DtFedExec::subscribeHandlers() {
  handlers_.add<DtJoinMsg, &DtFedExec::processJoin>(connectMgr_, this);
  handlers_.add<DtJoinConfirmMsg, &DtFedExec::processJoinConfirm>(connectMgr_, this);
  // The heartbeat is read from the second table, as the management object
  // model reads it, before anything may hold it back.
  handlers_.add<DtAliveMsg, &DtFedExec::processAlive>(connectMgr_, this, 1);
  handlers_.add<DtResignMsg, &DtFedExec::processResign>(connectMgr_, this);
  handlers_.add<DtOwnershipMsg, &DtFedExec::processOwnership>(connectMgr_, this);
  handlers_.add<DtSyncPointMsg, &DtFedExec::processSyncPoint>(connectMgr_, this);
}

// Joining -------------------------------------------------------------------

void DtFedExec::processJoin(const DtJoinMsg& msg) {
  if (!(msg.fullFedExName() == name_)) return;
  if (const int refusal = saveRestore_->joinRefusal()) {
    // Refused for now, and nothing kept: no handle is given.
    auto response = DtMakeMsg<DtJoinResponseMsg>(*connectMgr_);
    if (!response) return;
    response->set(msg.sourceID(), msg.federateName(), static_cast<unsigned short>(handle_),
                  msg.fullFedExName().string(), fedFile_, 0);
    response->setErrorValue(refusal);
    sendStamped(std::move(response), 0);
    return;
  }
  const std::uint32_t handle = nextFederateHandle_++;
  PendingJoin join{static_cast<std::uint32_t>(msg.sourceID()), msg.fullFedExName(), DtString(msg.federateName()),
                   handle, now() + joinResendInterval};
  sendJoinResponseMsg(join.sourceID, join.fullName, handle_, join.federateName.string(), fedFile_, handle);
  pendingJoins_[handle] = std::move(join);
}

void DtFedExec::tickJoin() {
  const double time = now();
  for (auto& [handle, join] : pendingJoins_) {
    if (!(time > join.resendAt)) continue;
    join.resendAt = time + joinResendInterval;
    sendJoinResponseMsg(join.sourceID, join.fullName, handle_, join.federateName.string(), fedFile_, handle);
  }
}

void DtFedExec::processJoinConfirm(const DtJoinConfirmMsg& msg) {
  if (!msg.isForExec(name_, handle_)) return;
  const auto found = pendingJoins_.find(static_cast<std::uint32_t>(msg.federateHandle()));
  if (found == pendingJoins_.end()) return;
  const PendingJoin join = std::move(found->second);
  pendingJoins_.erase(found);
  DtFederate* federate = addFederate(msg.federateName(), join.handle, join.sourceID);
  if (federateTimeout_ > 0) federate->setHeartbeat(now() + federateTimeout_);
  if (designated_ == 0) {
    designated_ = join.handle;
    sendDesignatedFederate(join.handle);
  }
  DtNotifyInfo("Join: federate %s has joined %s with handle %d.\n", federate->getName(), name_.string(),
               static_cast<int>(join.handle));
  announceAllSyncPoints(join.handle);
}

// Membership ------------------------------------------------------------------

std::vector<DtFederate*> DtFedExec::federates() const {
  std::vector<DtFederate*> list;
  for (const auto& federate : federates_) list.push_back(federate.get());
  return list;
}

DtFederate* DtFedExec::addFederate(const char* name, unsigned long handle, unsigned long connectionHandle) {
  federates_.push_back(std::make_unique<DtFederate>(name, handle, connectionHandle, &syncPoints_));
  DtFederate* federate = federates_.back().get();
  time_->noteNewcomer();
  joined_.callAll(federate);
  return federate;
}

DtFederate* DtFedExec::getFederate(unsigned long handle) const {
  for (const auto& federate : federates_) {
    if (federate->getHandle() == handle) return federate.get();
  }
  return nullptr;
}

bool DtFedExec::isMember(const DtFederate* federate) const {
  return std::any_of(federates_.begin(), federates_.end(), [&](const auto& f) { return f.get() == federate; });
}

bool DtFedExec::deleteFederate(unsigned long handle) {
  const auto found =
      std::find_if(federates_.begin(), federates_.end(), [&](const auto& f) { return f->getHandle() == handle; });
  if (found == federates_.end()) return false;
  // Out of the table before the callbacks run, deleted after them.
  const std::unique_ptr<DtFederate> federate = std::move(*found);
  federates_.erase(found);
  if (federates_.empty()) designated_ = 0;
  resigned_.callAll(federate.get());
  return true;
}

void DtFedExec::printFederates() const {
  for (const auto& federate : federates_) {
    DtNotifyInfo("   %d\t%s\n", static_cast<int>(federate->getHandle()), federate->getName());
  }
}

void DtFedExec::processAlive(const DtAliveMsg& msg) {
  // Handles are per execution: only the execution the heartbeat names
  // refreshes its federate of that handle.
  if (!msg.isForExec(name_, handle_)) return;
  if (DtFederate* federate = getFederate(msg.federateHandle())) federate->setHeartbeat(now());
}

// Leaving -----------------------------------------------------------------------

void DtFedExec::processResign(const DtResignMsg& msg) {
  if (!msg.isForExec(name_, handle_)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  if (pendingJoins_.erase(handle) != 0) {
    // It resigned before confirming its join: the points it held up may be
    // reached now.
    endReachedSyncPoints();
    return;
  }
  const DtFederate* federate = getFederate(handle);
  if (!federate) {
    DtNotifyVerbose("Resign message with bad federate handle: %lu\n", static_cast<unsigned long>(handle));
    // Out already (the rtiexec resigned it): its resignation returns.
    answerResign(handle, 0);
    return;
  }
  const auto connection = static_cast<std::uint32_t>(federate->getConnectionHandle());
  retireFederate(handle);
  answerResign(handle, connection);
}

void DtFedExec::answerResign(std::uint32_t federate, std::uint32_t connection) {
  auto msg = DtMakeMsg<DtResignResponseMsg>(*connectMgr_);
  if (!msg) return;
  msg->setFederateHandle(federate);
  msg->setFedEx(handle_);
  // On connections, to the resigning federate's alone; datagrams reach all,
  // and the others pay the answer no heed.
  const DtTransportType transport = connectMgr_->internalTransportType();
  const bool named = connection != 0 && transport == DtReliable && connectMgr_->reliableConn();
  connectMgr_->sendAndDelete(msg.release(), transport, named ? connection : 0);
}

void DtFedExec::retireFederate(unsigned long handle) {
  deleteFederate(handle);
  // What it was given and never took over goes on, as its own went before.
  for (const DtOwnershipLedger::Gift& gift : ledger_.close(static_cast<std::uint32_t>(handle))) {
    handOver(gift, static_cast<std::uint32_t>(handle));
  }
  endReachedSyncPoints();
  saveRestore_->federateLeft(handle);
  resignFederateTime(handle);
  DtNotifyInfo("Resign: federate %d has resigned %s.\n", static_cast<int>(handle), name_.string());
}

bool DtFedExec::resignFederate(unsigned long handle, RTI::ResignAction action) {
  if (!getFederate(handle)) return false;
  sendResignMsg(name_, handle, action);
  retireFederate(handle);
  return true;
}

void DtFedExec::removeFederateConnection(unsigned long connectionHandle) {
  const auto pending = std::find_if(pendingJoins_.begin(), pendingJoins_.end(),
                                    [&](const auto& entry) { return entry.second.sourceID == connectionHandle; });
  if (pending != pendingJoins_.end()) {
    pendingJoins_.erase(pending);
    endReachedSyncPoints();
    return;
  }
  for (const auto& federate : federates_) {
    if (federate->getConnectionHandle() != connectionHandle) continue;
    const unsigned long handle = federate->getHandle();
    DtNotifyError("Lost connection to federate %s(%lu) in federation %s\n", federate->getName(), handle,
                  name_.string());
    resignFederate(handle, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    return;
  }
}

void DtFedExec::resignFederateTime(unsigned long federateHandle) {
  time_->resignFederateTime(static_cast<std::uint32_t>(federateHandle));
}

// The tick ----------------------------------------------------------------------

void DtFedExec::tick() {
  tickSaveRestore();
  tickJoin();
  tickFederates();
}

void DtFedExec::tickSaveRestore() { saveRestore_->tickSaveRestore(); }

bool DtFedExec::saveInProgress() const { return saveRestore_->saveInProgress(); }

bool DtFedExec::restoreInProgress() const { return saveRestore_->restoreInProgress(); }

void DtFedExec::tickFederates() {
  if (!(federateTimeout_ > 0) || saveInProgress() || restoreInProgress()) return;
  const double time = now();
  // By handle, as each resignation takes a federate out of the table.
  std::vector<std::uint32_t> silent;
  for (const auto& federate : federates_) {
    const double heartbeat = federate->heartbeat();
    if (heartbeat > 0 && time - heartbeat > federateTimeout_) silent.push_back(federate->getHandle());
  }
  for (const std::uint32_t handle : silent) {
    const DtFederate* federate = getFederate(handle);
    if (!federate) continue;
    DtNotifyError("Lost contact with federate %s(%lu) in federation %s\n", federate->getName(),
                  static_cast<unsigned long>(handle), name_.string());
    resignFederate(handle, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  }
}

// Ownership hand-over -----------------------------------------------------------

namespace {

DtOwnershipLedger::Gift giftOf(const DtOwnershipMsg& msg) {
  const char* name = msg.tag();
  return {static_cast<std::uint32_t>(msg.objHandle()), static_cast<std::uint32_t>(msg.classHandle()), name ? name : "",
          DtAttributeHandleSet(msg.attrHandles())};
}

}  // namespace

void DtFedExec::processOwnership(const DtOwnershipMsg& msg) {
  if (!msg.isForExec(name_, handle_) || msg.federateHandle() == 0) return;
  const auto sender = static_cast<std::uint32_t>(msg.federateHandle());
  const auto recipient = static_cast<std::uint32_t>(msg.recipientFederate());
  switch (msg.ownerMsgKind()) {
    case DtGiveToLRC:
      // A resigning federate's free attributes (the copies sent on name
      // their heir).
      if (recipient != 0) return;
      DtNotifyVerbose("resigning federate is turning over attributes\n");
      handOver(giftOf(msg), sender);
      return;
    case DtNotifyAcquire:
      // Given to a federate: on its account until it says it dealt with
      // them; one that is gone already has them handed on at once.
      if (recipient == 0) return;
      if (getFederate(recipient)) {
        ledger_.given(recipient, giftOf(msg));
      } else {
        handOver(giftOf(msg), recipient);
      }
      return;
    case DtTakenOver: ledger_.taken(sender, static_cast<std::uint32_t>(msg.objHandle()), msg.attrHandles()); return;
    default: return;
  }
}

void DtFedExec::handOver(const DtOwnershipLedger::Gift& gift, std::uint32_t from) {
  unsigned long heir = 0;
  for (const auto& federate : federates_) {
    if (federate->getHandle() != from) {
      heir = federate->getHandle();
      break;
    }
  }
  if (heir == 0) {
    DtNotifyError("Unable to give away attributes no more federates in federation\n");
    return;
  }
  auto msg = DtMakeMsg<DtOwnershipMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(DtGiveToLRC, gift.object, gift.attributes, heir, gift.name.empty() ? nullptr : gift.name.c_str());
  msg->setClassHandle(gift.classHandle);
  msg->setFederateHandle(from);
  ledger_.given(static_cast<std::uint32_t>(heir), gift);
  sendStamped(std::move(msg), handle_);
}

// Sending -------------------------------------------------------------------------

void DtFedExec::sendStamped(std::unique_ptr<DtRtiMsg> msg, int executionHandle) {
  msg->setFedEx(executionHandle);
  connectMgr_->sendAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtFedExec::sendJoinResponseMsg(unsigned long destinationID, const DtString& fullName, int executionHandle,
                                    const char* federateName, const DtString& fedFileName,
                                    unsigned long federateHandle) {
  auto msg = DtMakeMsg<DtJoinResponseMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(destinationID, federateName, static_cast<unsigned short>(executionHandle), fullName.string(), fedFileName,
           federateHandle);
  sendStamped(std::move(msg), 0);
}

void DtFedExec::sendResignMsg(const DtString& executionName, unsigned long federateHandle, RTI::ResignAction action) {
  auto msg = DtMakeMsg<DtResignMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(executionName.string(), federateHandle, action);
  sendStamped(std::move(msg), handle_);
}

void DtFedExec::sendDesignatedFederate(unsigned long federateHandle) {
  auto msg = DtMakeMsg<DtDesignatedFederateMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(federateHandle);
  sendStamped(std::move(msg), handle_);
}

// Save and restore ------------------------------------------------------------------

DtExecSavedState DtFedExec::savedState() const {
  DtExecSavedState state;
  state.executionName = name_.string();
  state.fedFile = fedFile_.string();
  state.nextFederateHandle = nextFederateHandle_;
  state.designated = designated_;
  for (const auto& federate : federates_) {
    DtExecSavedFederate saved{static_cast<std::uint32_t>(federate->getHandle()),
                              static_cast<std::uint32_t>(federate->getConnectionHandle()),
                              federate->getName(),
                              {}};
    for (const DtSyncPt* copy : federate->syncPtList().list()) {
      saved.syncPoints.push_back({copy->achieved(), copy->name(), copy->tag()});
    }
    state.federates.push_back(std::move(saved));
  }
  for (const DtSyncPt* point : syncPoints_.list()) {
    state.syncPoints.push_back({point->name(), point->tag(), point->federates()});
  }
  time_->saveState(state);
  return state;
}

void DtFedExec::restoreState(const DtExecSavedState& state, const std::map<std::uint32_t, std::uint32_t>& connections) {
  pendingJoins_.clear();
  // The federates of now go without their resigned callbacks: they come
  // back, renumbered, as the saved ones.
  federates_.clear();
  nextFederateHandle_ = state.nextFederateHandle;
  designated_ = state.designated;
  // The points of now go before the federates come back, so that none of
  // them gets a copy of a point the save did not have.
  syncPoints_.empty();
  for (const DtExecSavedFederate& saved : state.federates) {
    const auto connection = connections.find(saved.handle);
    DtFederate* federate =
        addFederate(saved.name.c_str(), saved.handle, connection == connections.end() ? 0 : connection->second);
    for (const DtExecSavedSyncEntry& entry : saved.syncPoints) {
      federate->addFederateSyncPt(std::make_unique<DtSyncPt>(entry.label, entry.tag, entry.achieved));
    }
  }
  for (const DtExecSavedSyncPoint& point : state.syncPoints) {
    syncPoints_.addSyncPoint(std::make_unique<DtSyncPt>(point.label, point.tag, false, point.federates));
  }
  time_->restoreState(state);
}
