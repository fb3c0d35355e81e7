#pragma once
// DtMomFederate: what the management object model reads of its federate
// beyond the object, interaction and class managers: who it is, where its
// saves stand, and its time manager's state. Its values are read at the
// moment they are reported; nothing here changes the federate.
//
// The federate manager's side implements it (DtFederateMomView in core) for
// the time from the MOM manager's join to its resign.

#include <cstdint>

#include "RTI.hh"
#include "util/DtString.h"

class DtMomFederate {
public:
  // The federate's handle (0 before it has one), the name of its federation
  // execution (empty before joining), its type (the name it joined with) and
  // the FED file it joined with.
  virtual RTI::FederateHandle federateHandle() const = 0;
  virtual DtString federationName() const = 0;
  virtual DtString federateType() const = 0;
  virtual DtString fedFile() const = 0;

  // Saves: the state flags, the labels of the save under way and of the last
  // one, and their times. The next save time is first brought up to date
  // from the time manager, when there is one.
  virtual bool saveInitiated() const = 0;
  virtual bool saveBegun() const = 0;
  virtual bool restoreBegun() const = 0;
  virtual DtString nextSaveName() const = 0;
  virtual DtString lastSaveName() const = 0;
  virtual void nextSaveTime(RTI::FedTime& time) const = 0;
  virtual void lastSaveTime(RTI::FedTime& time) const = 0;

  // The time manager's state. Without a time manager the flags are false and
  // the queries return false, leaving the time as it was.
  virtual bool timeConstrained() const = 0;
  virtual bool timeRegulating() const = 0;
  virtual bool timeAdvancePending() const = 0;
  virtual bool queryFederateTime(RTI::FedTime& time) const = 0;
  virtual bool queryLookahead(RTI::FedTime& time) const = 0;
  virtual bool queryLBTS(RTI::FedTime& time) const = 0;
  virtual bool queryMinNextEventTime(RTI::FedTime& time) const = 0;

  // The time manager's queue of received messages: the time-stamped and the
  // receive-order messages it holds, and whether it hands receive-order
  // messages over at once (asynchronous delivery). 0 and false without one.
  virtual std::uint32_t queuedTimestampedCount() const = 0;
  virtual std::uint32_t queuedReceiveOrderCount() const = 0;
  virtual bool asynchronousDelivery() const = 0;

protected:
  DtMomFederate() = default;
  DtMomFederate(const DtMomFederate&) = default;
  DtMomFederate& operator=(const DtMomFederate&) = default;
  ~DtMomFederate() = default;
};
