#include "core/DtFederateMomView.h"

#include "core/DtFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "core/DtTsoMsgQueue.h"

RTI::FederateHandle DtFederateMomView::federateHandle() const { return fedMgr_.federateHandle(); }

DtString DtFederateMomView::federationName() const { return fedMgr_.executionName(); }

DtString DtFederateMomView::federateType() const { return fedMgr_.federateName(); }

DtString DtFederateMomView::fedFile() const { return fedMgr_.currentFedFile(); }

bool DtFederateMomView::saveInitiated() const { return fedMgr_.saveInitiated(); }

bool DtFederateMomView::saveBegun() const { return fedMgr_.saveBegun(); }

bool DtFederateMomView::restoreBegun() const { return fedMgr_.restoreBegun(); }

DtString DtFederateMomView::nextSaveName() const { return fedMgr_.saveLabel(); }

DtString DtFederateMomView::lastSaveName() const { return fedMgr_.lastSaveLabel(); }

void DtFederateMomView::nextSaveTime(RTI::FedTime& time) const { time = *fedMgr_.saveTime(); }

void DtFederateMomView::lastSaveTime(RTI::FedTime& time) const { time = fedMgr_.lastSaveTime(); }

DtTimeMgr* DtFederateMomView::timeMgr() const { return fedMgr_.timeMgr(); }

bool DtFederateMomView::timeConstrained() const { return timeMgr() && timeMgr()->constrained(); }

bool DtFederateMomView::timeRegulating() const { return timeMgr() && timeMgr()->regulating(); }

bool DtFederateMomView::timeAdvancePending() const { return timeMgr() && timeMgr()->isAdvancePending(); }

bool DtFederateMomView::query(void (DtTimeMgr::*query)(RTI::FedTime&), RTI::FedTime& time) const {
  DtTimeMgr* mgr = timeMgr();
  if (!mgr) return false;
  (mgr->*query)(time);
  return true;
}

bool DtFederateMomView::queryFederateTime(RTI::FedTime& time) const {
  return query(&DtTimeMgr::queryFederateTime, time);
}

bool DtFederateMomView::queryLookahead(RTI::FedTime& time) const { return query(&DtTimeMgr::queryLookahead, time); }

bool DtFederateMomView::queryLBTS(RTI::FedTime& time) const { return query(&DtTimeMgr::queryLBTS, time); }

bool DtFederateMomView::queryMinNextEventTime(RTI::FedTime& time) const {
  return query(&DtTimeMgr::queryMinNextEventTime, time);
}

std::uint32_t DtFederateMomView::queuedTimestampedCount() const {
  DtTimeMgr* mgr = timeMgr();
  return mgr ? static_cast<std::uint32_t>(mgr->msgQueue()->count()) : 0;
}

std::uint32_t DtFederateMomView::queuedReceiveOrderCount() const {
  DtTimeMgr* mgr = timeMgr();
  return mgr ? mgr->msgQueue()->heldCount() : 0;
}

bool DtFederateMomView::asynchronousDelivery() const {
  DtTimeMgr* mgr = timeMgr();
  return mgr && mgr->msgQueue()->asyncDelivery();
}
