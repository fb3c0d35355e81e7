#pragma once
// DtRetractionList: the time-stamp-ordered messages this federate sent that
// it may still retract, as records of serial number and time stamp, in
// ascending time (ties in the order they were sent), with a hash list by
// serial number. The connection manager records every time-stamp-ordered
// message it sends (addMsg); the time manager drops the records stamped
// before the federate's time each time that time moves, checks a handle
// before it sends a retraction, and looks for its own pending events during
// a next-event request.
//
// Used on the thread that ticks.

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "net/DtRetractInfoList.h"
#include "util/DtHashlist.h"
#include "util/DtSortedList.h"

// One sent message: its serial number and time stamp.
class DtRetractInfo {
public:
  DtRetractInfo(std::uint32_t serialNumber, const RTI::FedTime& time);
  std::uint32_t serialNumber() const { return serialNumber_; }
  const RTI::FedTime& time() const { return *time_; }
  void print() const;

private:
  std::uint32_t serialNumber_;
  std::unique_ptr<RTI::FedTime> time_;
};

class DtRetractionList : public DtRetractInfoList, public DtSortedList {
public:
  DtRetractionList();
  ~DtRetractionList() override;

  // Records the message's serial number and time stamp, replacing an earlier
  // record of the same serial number.
  void addMsg(const DtRtiMsg& msg) override;
  void addRecord(std::unique_ptr<DtRetractInfo> record);
  // Deletes the records stamped earlier than t.
  void removeBefore(const RTI::FedTime& t);
  std::unique_ptr<DtRetractInfo> removeSerial(std::uint32_t serialNumber);
  void deleteSerial(std::uint32_t serialNumber) { removeSerial(serialNumber); }
  bool contains(std::uint32_t serialNumber) const;
  const DtRetractInfo* first() const;
  const DtRetractInfo* last() const;
  // Every record, from the first.
  std::vector<const DtRetractInfo*> records() const;
  // The earliest record with lower < time <= upper (lower <= time when
  // inclusive); null when none, when upper < lower, or when the window is
  // empty (lower == upper and not inclusive).
  const DtRetractInfo* firstInWindow(const RTI::FedTime& lower, const RTI::FedTime& upper, bool inclusive) const;
  void clear() override;

private:
  class Item;
  Item* findItem(std::uint32_t serialNumber) const;

  DtHashlist bySerial_;
};
