// Next-event cycles: how the regulators' next-event requests (NER, NERA)
// raise their LBTS without breaking time-stamp order.
//
// A regulator R waiting in a next-event request for time t, with lookahead
// L, will be granted the least of t, the time stamps queued at it and those
// still to come, and sends nothing below that plus L (its LBTS once
// granted). Its request reports v = min(t, least queued) + L. The events
// still to come are bounded by the other regulators: none below the least
// LBTS of the others. With m the least v (or LBTS, for a regulator not
// waiting in a next-event request) over all regulators, R may therefore be
// given the LBTS
//     x = v              when R is the one of least value (x = m),
//     x = min(v, m + L)  otherwise (nothing reaches it below m),
// which holds for zero lookaheads too (the federate sends a request that is
// not available with an epsilon lookahead).
//
// A report is only as good as R's queue when it was made: a message already
// on its way to R is not in it. So a cycle first asks every waiting
// regulator to report again (a NER LBTS message with the cycle's number):
// every message sent before a request that the rtiexec had taken when the
// cycle began travels on the forwarder before that question, so the answer
// counts it. Messages sent later are not below their sender's LBTS at that
// time. Each regulator's "cycle floor" is the least of its values over the
// whole cycle (the one the cycle began with, each answer, each LBTS it
// asked for meanwhile; and those of the regulators that left); once every
// regulator the cycle awaited has answered (or left next-event mode), x is
// computed over the cycle floors, and a regulator whose answer is of this
// cycle gets its LBTS raised to it. The LBTS message that follows lets the
// federates advance; the NER LBTS message itself grants nothing.
#include <memory>

#include "exec/DtExecTimeMgr.h"
#include "exec/DtTimeInfo.h"
#include "msg/DtTimeMsgs.h"
#include "util/DtNotify.h"

using TempTime = DtFedTimePool::Temp;

namespace {
DtTimeInfoItem* nextOf(DtTimeInfoItem* item) { return static_cast<DtTimeInfoItem*>(item->next()); }

// The value of a regulator in a cycle: what its next-event request reports,
// else its LBTS.
const RTI::FedTime& valueOf(const DtTimeInfo& info) { return info.nerPending() ? info.nerLbts() : info.lbts(); }
}  // namespace

void DtExecTimeMgr::processNextEventRequest(const DtNextEventRequestMsg& msg) {
  if (!isForThisExec(msg)) return;
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  DtTimeInfo* info = regulatingByNerLbts_.findInfo(handle);
  if (!info) {
    DtNotifyError("Received NER from %lu but LBTS entry does not exist\n", static_cast<unsigned long>(handle));
    return;
  }
  if (!nerRequesters_.contains(handle)) nerRequesters_.add(info);
  const auto cycle = static_cast<std::uint32_t>(msg.nerCycle());
  info->setNerTime(msg.time());
  info->setNerLookahead(msg.lookahead());
  info->setTimeAvailable(msg.timeAvailable() != 0);
  info->setNerPending(true);
  info->setAnsweredCycle(cycle);
  regulatingByNerLbts_.reposition(info);
  nerRequesters_.reposition(info);
  nerAwaited_.reposition(info);
  if (nerCycleRunning() && cycle == nerCycle_) {
    info->lowerCycleFloor(info->nerLbts());
    stopAwaiting(handle);
  }
  maybeStartNerCycle();
}

void DtExecTimeMgr::stopAwaiting(std::uint32_t handle) {
  if (!nerAwaited_.remove(handle)) return;
  if (nerAwaited_.count() == 0) commitNerCycle();
}

void DtExecTimeMgr::maybeStartNerCycle() {
  if (nerCycleRunning() || nerRequesters_.count() == 0) return;
  // The least value over the regulators, and whose it is.
  const DtTimeInfo* least = nullptr;
  for (DtTimeInfoItem* item = regulatingByLbts_.first(); item; item = nextOf(item)) {
    if (!least || valueOf(*item->info()) < valueOf(*least)) least = item->info();
  }
  // A cycle only where a request could raise its regulator's LBTS.
  bool gain = false;
  for (DtTimeInfoItem* item = nerRequesters_.first(); item && !gain; item = nextOf(item)) {
    const DtTimeInfo* info = item->info();
    TempTime x(tempTimePool_, valueOf(*info));
    if (info != least) {
      TempTime bound(tempTimePool_, valueOf(*least));
      *bound += info->nerLookahead();
      if (*bound < *x) *x = *bound;
    }
    gain = info->lbts() < *x;
  }
  if (!gain) return;
  ++nerCycle_;
  departedFloor_->setPositiveInfinity();
  for (DtTimeInfoItem* item = regulatingByLbts_.first(); item; item = nextOf(item)) {
    item->info()->setCycleFloor(valueOf(*item->info()));
  }
  for (DtTimeInfoItem* item = nerRequesters_.first(); item; item = nextOf(item)) nerAwaited_.add(item->info());
  *cycleMinNerLbts_ = minNerLbts();
  *cycleLagNerLbts_ = lagNerLbts();
  cycleMinNerFederate_ = minNerLbtsFederate();
  broadcastNerLbts();
}

void DtExecTimeMgr::commitNerCycle() {
  TempTime m(tempTimePool_, *departedFloor_);
  const DtTimeInfo* least = nullptr;
  for (DtTimeInfoItem* item = regulatingByLbts_.first(); item; item = nextOf(item)) {
    if (item->info()->cycleFloor() < *m) {
      *m = item->info()->cycleFloor();
      least = item->info();
    }
  }
  DtTimeInfo* oldFirst = regulatingByLbts_.firstInfo();
  TempTime oldMin(tempTimePool_, minLbts());
  TempTime oldLag(tempTimePool_, lagLbts());
  bool raised = false;
  for (DtTimeInfoItem* item = nerRequesters_.first(); item; item = nextOf(item)) {
    DtTimeInfo* info = item->info();
    if (info->answeredCycle() != nerCycle_) continue;  // its promise was not confirmed
    TempTime x(tempTimePool_, info->cycleFloor());
    if (info != least) {
      TempTime bound(tempTimePool_, *m);
      *bound += info->nerLookahead();
      if (*bound < *x) *x = *bound;
    }
    if (!(info->lbts() < *x)) continue;
    info->raiseLbts(*x);
    regulatingByLbts_.reposition(info);
    raised = true;
  }
  if (!raised) return;
  afterLbtsChange(oldFirst, *oldMin, *oldLag);
}
