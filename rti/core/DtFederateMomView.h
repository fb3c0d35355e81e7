#pragma once
// DtFederateMomView: what the management object model reads of a federate
// (DtMomFederate), read from its federate manager and, when the federate
// has one, the manager's time manager. The federate manager keeps one for
// its whole life and hands it to the MOM manager's join.

#include "mom/DtMomFederate.h"

class DtFederateMgr;
class DtTimeMgr;

class DtFederateMomView : public DtMomFederate {
public:
  // The manager outlives the view.
  explicit DtFederateMomView(const DtFederateMgr& fedMgr) : fedMgr_(fedMgr) {}

  RTI::FederateHandle federateHandle() const override;
  DtString federationName() const override;
  DtString federateType() const override;
  DtString fedFile() const override;

  bool saveInitiated() const override;
  bool saveBegun() const override;
  bool restoreBegun() const override;
  DtString nextSaveName() const override;
  DtString lastSaveName() const override;
  void nextSaveTime(RTI::FedTime& time) const override;
  void lastSaveTime(RTI::FedTime& time) const override;

  bool timeConstrained() const override;
  bool timeRegulating() const override;
  bool timeAdvancePending() const override;
  bool queryFederateTime(RTI::FedTime& time) const override;
  bool queryLookahead(RTI::FedTime& time) const override;
  bool queryLBTS(RTI::FedTime& time) const override;
  bool queryMinNextEventTime(RTI::FedTime& time) const override;

  std::uint32_t queuedTimestampedCount() const override;
  std::uint32_t queuedReceiveOrderCount() const override;
  bool asynchronousDelivery() const override;

private:
  DtTimeMgr* timeMgr() const;
  // The time manager's query into `time`; false without a time manager.
  bool query(void (DtTimeMgr::*query)(RTI::FedTime&), RTI::FedTime& time) const;

  const DtFederateMgr& fedMgr_;
};
