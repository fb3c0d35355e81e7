#include "exec/DtExecTimeMgr.h"

#include <algorithm>

#include "exec/DtTimeInfo.h"
#include "msg/DtTimeMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "util/DtNotify.h"

using TempTime = DtFedTimePool::Temp;

namespace {
DtTimeInfoItem* nextOf(DtTimeInfoItem* item) { return static_cast<DtTimeInfoItem*>(item->next()); }

// A new message of class M from the connection manager's factory, or null
// (with a report) when the factory has none of that class for its kind.
template <class M>
M* make(DtConnectionMgr* mgr) {
  std::unique_ptr<M> msg = mgr ? DtMakeMsg<M>(*mgr) : nullptr;
  if (!msg) DtNotifyError("RTI: no %s message to send\n", DtRtiMsg::kindToString(M::currentKind()));
  return msg.release();
}
}  // namespace

// ---- life

DtExecTimeMgr::DtExecTimeMgr(DtConnectionMgr* connectMgr, const DtString& execName, int execHandle)
    : connectMgr_(connectMgr),
      execName_(execName),
      execHandle_(execHandle),
      positiveInfinityTime_(RTI::FedTimeFactory::makeZero()),
      cycleMinNerLbts_(RTI::FedTimeFactory::makeZero()),
      cycleLagNerLbts_(RTI::FedTimeFactory::makeZero()),
      departedFloor_(RTI::FedTimeFactory::makeZero()),
      lastMinLbts_(RTI::FedTimeFactory::makeZero()),
      lastLagLbts_(RTI::FedTimeFactory::makeZero()) {
  positiveInfinityTime_->setPositiveInfinity();
  departedFloor_->setPositiveInfinity();
  subscribeHandlers();
}

DtExecTimeMgr::~DtExecTimeMgr() {
  handlers_.clear();
  deleteAllRecords();
  destroyTempTimePool();
}

std::vector<DtTimeInfo*> DtExecTimeMgr::ownedRecords() const {
  // One record may sit in several lists. The held regulation requests and
  // the saved list have records of their own.
  std::vector<DtTimeInfo*> records;
  for (const DtTimeInfoList* list :
       {&regulatingByLbts_, &constrainedByTime_, &pendingConstrained_, &savedTimeList_, &pendingRegulation_}) {
    for (DtTimeInfoItem* item = list->first(); item; item = nextOf(item)) {
      if (std::find(records.begin(), records.end(), item->info()) == records.end()) records.push_back(item->info());
    }
  }
  return records;
}

void DtExecTimeMgr::deleteAllRecords() {
  const std::vector<DtTimeInfo*> records = ownedRecords();
  constrainedSyncWaiting_.clear();
  for (DtTimeInfoList* list : allLists()) list->clear();
  for (DtTimeInfo* info : records) delete info;
}

std::array<DtTimeInfoList*, 8> DtExecTimeMgr::allLists() {
  return {&regulatingByLbts_,  &constrainedByTime_,   &pendingConstrained_, &savedTimeList_,
          &pendingRegulation_, &regulatingByNerLbts_, &nerRequesters_,      &nerAwaited_};
}

void DtExecTimeMgr::subscribeHandlers() {
  using Self = DtExecTimeMgr;
  // (processEnableRegulation is overloaded: the message's one is named by its type.)
  constexpr auto enableRegulation =
      static_cast<void (Self::*)(const DtEnableRegulationMsg&)>(&Self::processEnableRegulation);
  handlers_.add<DtEnableRegulationMsg, enableRegulation>(connectMgr_, this);
  handlers_.add<DtEnableConstrainedMsg, &Self::processEnableConstrained>(connectMgr_, this);
  handlers_.add<DtTimeAdvanceRequestMsg, &Self::processTimeAdvanceRequest>(connectMgr_, this);
  handlers_.add<DtDisableMsg, &Self::processDisable>(connectMgr_, this);
  handlers_.add<DtConstrainedSyncMsg, &Self::processConstrainedSync>(connectMgr_, this);
  handlers_.add<DtNextEventRequestMsg, &Self::processNextEventRequest>(connectMgr_, this);
}

bool DtExecTimeMgr::isForThisExec(const DtRtiMsg& msg) const { return msg.isForExec(execName_, execHandle_) != 0; }

// ---- requests

void DtExecTimeMgr::processEnableRegulation(const DtEnableRegulationMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  // A constrained federate that holds no finite bound could pass any start
  // without asking: the constrained federates stop and tell their times
  // first. While they do, every new regulator waits for the end of it.
  if (constrainedSyncWaiting_.count() != 0 || someoneHoldsInfinity(handle)) {
    processPendingRegulation(handle, msg.time(), msg.lookahead());
  } else {
    processEnableRegulation(handle, msg.time(), msg.lookahead());
  }
}

void DtExecTimeMgr::processPendingRegulation(std::uint32_t handle, const RTI::FedTime& time,
                                             const RTI::FedTime& lookahead) {
  delete pendingRegulation_.remove(handle);  // a repeated request replaces the held one
  pendingRegulation_.add(new DtTimeInfo(handle, time, lookahead));
  if (constrainedSyncWaiting_.count() != 0) return;  // carried out when the running sync ends
  for (DtTimeInfoItem* item = constrainedByTime_.first(); item; item = nextOf(item)) {
    constrainedSyncWaiting_.append(item->info());
  }
  if (constrainedSyncWaiting_.count() == 0) {
    endConstrainedSync();  // nobody to wait for
    return;
  }
  sendSyncConstrainedMsg();
}

void DtExecTimeMgr::processConstrainedSync(const DtConstrainedSyncMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  DtListItem* entry = constrainedSyncWaiting_.head();
  while (entry && static_cast<DtTimeInfo*>(entry->data())->federateHandle() != handle) entry = entry->next();
  if (!entry) return;
  constrainedSyncWaiting_.remove(entry);
  // A regulator's record keeps its time: its LBTS is what it promised, and
  // its requested time is not below the time it tells.
  if (!regulatingByLbts_.contains(handle)) constrainedByTime_.setTimeAndLookahead(handle, msg.time(), msg.lookahead());
  if (constrainedSyncWaiting_.count() == 0) endConstrainedSync();
}

void DtExecTimeMgr::endConstrainedSync() {
  while (DtTimeInfo* held = pendingRegulation_.firstInfo()) {
    processEnableRegulation(held->federateHandle(), held->time(), held->lookahead());
    pendingRegulation_.removeAndDelete(held->federateHandle());
  }
  rememberLbts(minLbts(), lagLbts());  // the resume carries the bound too
  if (regulatingByLbts_.count() == 0) {
    sendResumeConstrainedMsg(0, *positiveInfinityTime_, *positiveInfinityTime_);
  } else {
    sendResumeConstrainedMsg(minLbtsFederate(), minLbts(), lagLbts());
  }
}

bool DtExecTimeMgr::leaveConstrainedSync(const DtTimeInfo* info) {
  DtListItem* entry = constrainedSyncWaiting_.find(info);
  if (!entry) return false;
  constrainedSyncWaiting_.remove(entry);
  return constrainedSyncWaiting_.count() == 0;
}

void DtExecTimeMgr::processEnableRegulation(std::uint32_t handle, const RTI::FedTime& time,
                                            const RTI::FedTime& lookahead) {
  noteNewcomer();  // a new regulator has heard no bound
  // A federate that regulates already starts afresh.
  if (DtTimeInfo* old = regulatingByLbts_.findInfo(handle)) {
    removeRegulatingEntry(old);
    deleteIfUnlisted(old);
  }
  // Its LBTS may not lie below a bound a constrained federate holds: that
  // one may be granted up to it without asking again.
  TempTime start(tempTimePool_, time);
  TempTime least(tempTimePool_, time);
  TempTime candidate(tempTimePool_, time);
  *candidate += lookahead;
  if (leastNewLbts(handle, *least) && *candidate < *least) {
    *start = *least;
    *start -= lookahead;
  }

  DtTimeInfo* info = constrainedByTime_.findInfo(handle);
  if (info) {
    // A constrained federate moved past its own bound waits for it, as an
    // advance would, before it is told that it regulates (its own side).
    constrainedByTime_.setTimeAndLookahead(handle, *start, lookahead);
  } else if ((info = pendingConstrained_.findInfo(handle))) {
    pendingConstrained_.setTimeAndLookahead(handle, *start, lookahead);
  } else {
    info = new DtTimeInfo(handle, *start, lookahead);
  }
  info->setNerTime(*start);
  info->setNerLookahead(lookahead);
  info->setRegulating(true);
  info->setNerPending(false);
  info->setCycleFloor(info->lbts());
  regulatingByNerLbts_.add(info);
  regulatingByLbts_.add(info);
  if (regulatingByLbts_.firstInfo() == info || regulatingByLbts_.secondInfo() == info) broadcastLbts();
  sendRegulationEnabledMsg(handle, info->time());
}

bool DtExecTimeMgr::someoneHoldsInfinity(std::uint32_t handle) const {
  for (DtTimeInfoItem* item = constrainedByTime_.first(); item; item = nextOf(item)) {
    const DtTimeInfo* info = item->info();
    if (info->federateHandle() != handle && info->heldBound() == *positiveInfinityTime_) return true;
  }
  return false;
}

bool DtExecTimeMgr::leastNewLbts(std::uint32_t handle, RTI::FedTime& least) const {
  bool any = false;
  for (DtTimeInfoItem* item = constrainedByTime_.first(); item; item = nextOf(item)) {
    const DtTimeInfo* info = item->info();
    if (info->federateHandle() == handle) continue;
    const std::unique_ptr<RTI::FedTime> reached(RTI::FedTimeFactory::makeZero());
    *reached = info->heldBound();
    if (*reached == *positiveInfinityTime_) {
      // Stopped by the constrained sync at its time; granted that time by
      // an advance that was not available, it must see nothing at it.
      *reached = info->time();
      if (!info->timeAvailable()) {
        const std::unique_ptr<RTI::FedTime> epsilon(RTI::FedTimeFactory::makeZero());
        epsilon->setEpsilon();
        *reached += *epsilon;
      }
    }
    if (!any || least < *reached) least = *reached;
    any = true;
  }
  return any;
}

void DtExecTimeMgr::processEnableConstrained(const DtEnableConstrainedMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  DtTimeInfo* info = regulatingByLbts_.findInfo(handle);
  if (info) {
    adjustRegulatingEntry(info, msg.time(), msg.lookahead(), true);
    constrainedByTime_.remove(handle);
    pendingConstrained_.remove(handle);
  } else {
    // A repeated request files the federate's one record again.
    info = constrainedByTime_.remove(handle);
    if (!info) info = pendingConstrained_.remove(handle);
    if (info) {
      info->setTime(msg.time());
      info->setLookahead(msg.lookahead());
    } else {
      info = new DtTimeInfo(handle, msg.time(), msg.lookahead());
    }
  }
  if (!becomeConstrained(info)) pendingConstrained_.add(info);
}

bool DtExecTimeMgr::becomeConstrained(DtTimeInfo* info) {
  const DtTimeInfo* bound = regulatingByLbts_.minExcept(info->federateHandle());
  if (bound && !(info->time() <= bound->lbts())) return false;
  constrainedByTime_.add(info);
  info->setConstrained(true);
  info->setTimeAvailable(true);
  sendConstrainedEnabledMsg(info->federateHandle(), info->time(), bound ? bound->lbts() : *positiveInfinityTime_);
  return true;
}

void DtExecTimeMgr::checkPendingConstrained(const RTI::FedTime& bound) {
  // The bound may be a regulator's LBTS: releasing changes no regulator.
  for (DtTimeInfoItem* item = pendingConstrained_.first(); item;) {
    DtTimeInfoItem* next = nextOf(item);
    checkPendingConstrained(item->info(), bound);
    item = next;
  }
}

void DtExecTimeMgr::checkPendingConstrained(DtTimeInfo* info, const RTI::FedTime& bound) {
  if (!info || pendingConstrained_.findInfo(info->federateHandle()) != info || !(info->time() < bound)) return;
  pendingConstrained_.remove(info->federateHandle());
  constrainedByTime_.add(info);
  info->setConstrained(true);
  info->setTimeAvailable(true);
  sendConstrainedEnabledMsg(info->federateHandle(), info->time(), bound);
}

void DtExecTimeMgr::processTimeAdvanceRequest(const DtTimeAdvanceRequestMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  DtTimeInfo* constrained = constrainedByTime_.findInfo(handle);
  if (DtTimeInfo* regulating = regulatingByLbts_.findInfo(handle)) {
    // It leaves next-event mode; its answer to a running cycle is no
    // longer awaited.
    nerRequesters_.remove(handle);
    adjustRegulatingEntry(regulating, msg.time(), msg.lookahead(), msg.timeAvailable() != 0);
    stopAwaiting(handle);
    maybeStartNerCycle();
  }
  if (constrained) {
    constrained->setTime(msg.time());
    constrained->setLookahead(msg.lookahead());
    constrained->setTimeAvailable(msg.timeAvailable() != 0);
    constrainedByTime_.reposition(constrained);
    if (regulatingByLbts_.count() == 0) broadcastLbts();
  }
}

void DtExecTimeMgr::adjustRegulatingEntry(DtTimeInfo* info, const RTI::FedTime& time, const RTI::FedTime& lookahead,
                                          bool timeAvailable) {
  const DtTimeInfo* oldFirst = regulatingByLbts_.firstInfo();
  TempTime oldMin(tempTimePool_, minLbts());
  TempTime oldLag(tempTimePool_, lagLbts());
  info->setTime(time);
  info->setLookahead(lookahead);
  info->setTimeAvailable(timeAvailable);
  regulatingByLbts_.reposition(info);
  // What it may send from now on counts in the running cycle.
  if (nerCycleRunning()) info->lowerCycleFloor(info->lbts());

  afterLbtsChange(oldFirst, *oldMin, *oldLag);

  info->setNerTime(time);
  info->setNerLookahead(lookahead);
  info->setNerPending(false);
  regulatingByNerLbts_.reposition(info);
  nerRequesters_.reposition(info);
  nerAwaited_.reposition(info);
}

void DtExecTimeMgr::afterLbtsChange(const DtTimeInfo* oldFirst, const RTI::FedTime& oldMin,
                                    const RTI::FedTime& oldLag) {
  DtTimeInfo* first = regulatingByLbts_.firstInfo();
  if (first == oldFirst && oldMin == minLbts() && !(oldLag < lagLbts())) return;
  // The least regulator is bounded by the lag LBTS, every other federate by
  // the least one.
  checkPendingConstrained(minLbts());
  checkPendingConstrained(first, lagLbts());
  broadcastLbts();
}

void DtExecTimeMgr::removeRegulatingEntry(DtTimeInfo* info) {
  if (!info) return;
  const std::uint32_t handle = info->federateHandle();
  // What it sent may still be on its way in the running cycle.
  if (nerCycleRunning() && info->cycleFloor() < *departedFloor_) *departedFloor_ = info->cycleFloor();
  const DtTimeInfo* oldFirst = regulatingByLbts_.firstInfo();
  TempTime oldMin(tempTimePool_, minLbts());
  TempTime oldLag(tempTimePool_, lagLbts());
  regulatingByLbts_.remove(handle);
  info->setRegulating(false);
  afterLbtsChange(oldFirst, *oldMin, *oldLag);
  regulatingByNerLbts_.remove(handle);
  nerRequesters_.remove(handle);
  info->setNerPending(false);
  stopAwaiting(handle);
  maybeStartNerCycle();
}

// ---- leaving

void DtExecTimeMgr::processDisable(const DtDisableMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  if (msg.serviceType() == 0) {
    disableFederateTimeRegulation(handle);
  } else if (msg.serviceType() == 1) {
    DtTimeInfo* info = constrainedByTime_.remove(handle);
    if (!info) info = pendingConstrained_.remove(handle);
    if (!info) return;
    const bool syncEnded = leaveConstrainedSync(info);
    if (info->regulating()) {
      info->setConstrained(false);
    } else {
      delete info;
    }
    if (syncEnded) endConstrainedSync();
  }
}

void DtExecTimeMgr::disableFederateTimeRegulation(std::uint32_t handle) {
  DtTimeInfo* info = regulatingByLbts_.findInfo(handle);
  if (!info) return;
  removeRegulatingEntry(info);
  deleteIfUnlisted(info);
}

void DtExecTimeMgr::resignFederateTime(std::uint32_t handle) {
  delete pendingRegulation_.remove(handle);  // a held request must not come back as a ghost regulator
  DtTimeInfo* info = recordOf(handle);
  if (!info) return;
  const bool syncEnded = leaveConstrainedSync(info);
  removeRegulatingEntry(regulatingByLbts_.findInfo(handle));
  constrainedByTime_.remove(handle);
  pendingConstrained_.remove(handle);
  delete info;
  if (syncEnded) endConstrainedSync();
}

DtTimeInfo* DtExecTimeMgr::recordOf(std::uint32_t handle) const {
  if (DtTimeInfo* info = regulatingByLbts_.findInfo(handle)) return info;
  if (DtTimeInfo* info = constrainedByTime_.findInfo(handle)) return info;
  return pendingConstrained_.findInfo(handle);
}

void DtExecTimeMgr::deleteIfUnlisted(DtTimeInfo* info) {
  const std::uint32_t handle = info->federateHandle();
  if (regulatingByLbts_.findInfo(handle) == info || constrainedByTime_.findInfo(handle) == info ||
      pendingConstrained_.findInfo(handle) == info) {
    return;
  }
  delete info;
}

// ---- bounds

std::uint32_t DtExecTimeMgr::minLbtsFederate() const {
  const DtTimeInfo* info = regulatingByLbts_.firstInfo();
  return info ? info->federateHandle() : 0;
}

const RTI::FedTime& DtExecTimeMgr::minLbts() const {
  const DtTimeInfo* info = regulatingByLbts_.firstInfo();
  return info ? info->lbts() : *positiveInfinityTime_;
}

const RTI::FedTime& DtExecTimeMgr::lagLbts() const {
  const DtTimeInfo* info = regulatingByLbts_.secondInfo();
  return info ? info->lbts() : *positiveInfinityTime_;
}

bool DtExecTimeMgr::minTimeAvailable() const {
  const DtTimeInfo* info = regulatingByNerLbts_.firstInfo();
  return info && info->timeAvailable();
}

bool DtExecTimeMgr::lagTimeAvailable() const {
  const DtTimeInfo* info = regulatingByNerLbts_.secondInfo();
  return info && info->timeAvailable();
}

std::uint32_t DtExecTimeMgr::minNerLbtsFederate() const {
  const DtTimeInfo* info = regulatingByNerLbts_.firstInfo();
  return info ? info->federateHandle() : 0;
}

const RTI::FedTime& DtExecTimeMgr::minNerLbts() const {
  const DtTimeInfo* info = regulatingByNerLbts_.firstInfo();
  return info ? info->nerLbts() : *positiveInfinityTime_;
}

const RTI::FedTime& DtExecTimeMgr::lagNerLbts() const {
  const DtTimeInfo* info = regulatingByNerLbts_.secondInfo();
  return info ? info->nerLbts() : *positiveInfinityTime_;
}

bool DtExecTimeMgr::minNerPending() const {
  const DtTimeInfo* info = regulatingByNerLbts_.firstInfo();
  return info && info->nerPending();
}

bool DtExecTimeMgr::lagNerPending() const {
  const DtTimeInfo* info = regulatingByNerLbts_.secondInfo();
  return info && info->nerPending();
}

// ---- spare times

RTI::FedTime* DtExecTimeMgr::getTempTime() { return tempTimePool_.get(); }

void DtExecTimeMgr::putTempTime(RTI::FedTime* time) { tempTimePool_.put(time); }

void DtExecTimeMgr::destroyTempTimePool() { tempTimePool_.clear(); }

// ---- sending

void DtExecTimeMgr::broadcastLbts() {
  // A bound whose least and lag values are those sent last tells no
  // federate anything new: only the federate named changed, and it takes the
  // lag, which equals the least then (the LBTS a federate holds never falls).
  // In lock step this leaves one bound per step instead of one per federate.
  if (lbtsSent_ && *lastMinLbts_ == minLbts() && *lastLagLbts_ == lagLbts()) return;
  // When only the lag rose, only the federate named learns something: in
  // lock step the next-to-last request lets the last federate advance.
  const bool forLaggardAlone = lbtsSent_ && leastHeldByAll_ && *lastMinLbts_ == minLbts();
  rememberLbts(minLbts(), lagLbts());
  if (forLaggardAlone) {
    noteBoundsSent(minLbtsFederate(), minLbts(), lagLbts(), true);
    if (auto* msg = make<DtLbtsMsg>(connectMgr_)) {
      msg->set(minLbtsFederate(), minLbts(), lagLbts());
      sendAndDelete(msg, minLbtsFederate());
    }
    return;
  }
  sendLbtsMsg(minLbtsFederate(), minLbts(), lagLbts());
}

void DtExecTimeMgr::rememberLbts(const RTI::FedTime& lbts, const RTI::FedTime& lagLbts) {
  *lastMinLbts_ = lbts;
  *lastLagLbts_ = lagLbts;
  lbtsSent_ = true;
  leastHeldByAll_ = true;
}

void DtExecTimeMgr::broadcastNerLbts() {
  sendNerLbtsMsg(nerCycle_, minNerLbtsFederate(), minNerPending(), lagNerPending(), minNerLbts(), lagNerLbts());
}

void DtExecTimeMgr::sendAndDelete(DtRtiMsg* msg, std::uint32_t federate) {
  if (!msg) return;
  msg->setFedEx(execHandle_);
  // Over UDP an address is a host's: only the reliable transport's
  // forwarder knows the federates' connections.
  const DtTransportType transport = connectMgr_->internalTransportType();
  const bool named = federate != 0 && transport == DtReliable && connectMgr_->reliableConn() && connectionOf_;
  const std::uint32_t connection = named ? connectionOf_(federate) : 0;
  connectMgr_->sendAndDelete(msg, transport, connection);
}

void DtExecTimeMgr::sendRegulationEnabledMsg(std::uint32_t handle, const RTI::FedTime& time) {
  if (auto* msg = make<DtRegulationEnabledMsg>(connectMgr_)) {
    msg->set(handle, time);
    sendAndDelete(msg);
  }
}

void DtExecTimeMgr::sendConstrainedEnabledMsg(std::uint32_t handle, const RTI::FedTime& time,
                                              const RTI::FedTime& lbts) {
  if (DtTimeInfo* info = constrainedByTime_.findInfo(handle)) info->setHeldBound(lbts);
  if (auto* msg = make<DtConstrainedEnabledMsg>(connectMgr_)) {
    msg->set(handle, time, lbts);
    sendAndDelete(msg);
  }
}

void DtExecTimeMgr::sendLbtsMsg(std::uint32_t handle, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts) {
  noteBoundsSent(handle, lbts, lagLbts, false);
  if (auto* msg = make<DtLbtsMsg>(connectMgr_)) {
    msg->set(handle, lbts, lagLbts);
    sendAndDelete(msg);
  }
}

void DtExecTimeMgr::noteBoundsSent(std::uint32_t laggard, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts,
                                   bool laggardAlone) {
  // The message carries the low 16 bits of the laggard's handle.
  for (DtTimeInfoItem* item = constrainedByTime_.first(); item; item = nextOf(item)) {
    DtTimeInfo* info = item->info();
    const bool named = (info->federateHandle() & 0xFFFF) == (laggard & 0xFFFF);
    if (laggardAlone && !named) continue;
    info->offerBound(named ? lagLbts : lbts);
  }
}

void DtExecTimeMgr::sendNerLbtsMsg(std::uint32_t cycle, std::uint32_t handle, bool nerPending, bool lagNerPending,
                                   const RTI::FedTime& lbts, const RTI::FedTime& lagLbts) {
  if (auto* msg = make<DtNerLbtsMsg>(connectMgr_)) {
    msg->set(cycle, handle, nerPending ? 1 : 0, lagNerPending ? 1 : 0, lbts, lagLbts);
    sendAndDelete(msg);
  }
}

void DtExecTimeMgr::sendSyncConstrainedMsg() { sendAndDelete(make<DtSyncConstrainedMsg>(connectMgr_)); }

void DtExecTimeMgr::sendResumeConstrainedMsg(std::uint32_t handle, const RTI::FedTime& lbts,
                                             const RTI::FedTime& lagLbts) {
  noteBoundsSent(handle, lbts, lagLbts, false);
  if (auto* msg = make<DtResumeConstrainedMsg>(connectMgr_)) {
    msg->set(handle, lbts, lagLbts);
    sendAndDelete(msg);
  }
}
