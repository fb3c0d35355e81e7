#pragma once
// DtTimeInfoList: time records (DtTimeInfo) in ascending order of one key,
// with a hash list from federate handle to the record's item, so that a
// federate's entry is found, removed and repositioned without a scan and
// the least and second-least values are read at the head.
//
// Order among equals decides which of several federates of one LBTS counts
// as the least: a new record goes after every record equal to it; a
// repositioned one lands ahead of the records now equal to it when it moved
// forward, behind them when it moved back, and keeps its place when it is
// still in order.
//
// The list owns its items, never the records. Used on the rtiexec's thread.

#include <cstdint>

#include "RTI.hh"
#include "util/DtHashlist.h"
#include "util/DtSortedList.h"

class DtTimeInfo;

enum DtTimeInfoSortKind : std::uint32_t { byTime = 0, byLookahead = 1, byLbts = 2, byNerLbts = 3 };

// A record's place in one list. The key is the federate handle; the order
// comes from the record's value of the list's sort kind (by NER LBTS, a
// record whose time is not available comes first among equal ones). Any
// other sort kind makes every comparison false.
class DtTimeInfoItem : public DtSortedListItem {
public:
  DtTimeInfoItem(DtTimeInfo* info, std::uint32_t sortKind);

  bool lessOrEqual(const DtSortedListItem* other) const override;
  bool less(const DtSortedListItem* other) const override;
  bool greaterOrEqual(const DtSortedListItem* other) const override;
  bool greater(const DtSortedListItem* other) const override;
  bool equal(const DtSortedListItem* other) const override;
  virtual void print() const;
  DtTimeInfo* info() const { return info_; }

private:
  // -1, 0 or 1; `known` false for an unknown sort kind.
  int compare(const DtSortedListItem* other, bool* known) const;

  DtTimeInfo* info_;
  std::uint32_t sortKind_;
};

class DtTimeInfoList : public DtSortedList {
public:
  explicit DtTimeInfoList(std::uint32_t sortKind);
  ~DtTimeInfoList() override;

  std::uint32_t sortKind() const { return sortKind_; }

  // Files the record in order (replacing the federate's earlier item, whose
  // record is left alone).
  DtTimeInfoItem* add(DtTimeInfo* info);
  // Takes the federate's item out; its record (returned) stays alive.
  DtTimeInfo* remove(std::uint32_t handle);
  void removeAndDelete(std::uint32_t handle);
  // The federate's record (item), by the hash list. The base's find
  // walks the list for the same key.
  DtTimeInfo* findInfo(std::uint32_t handle) const;
  DtTimeInfoItem* findItem(std::uint32_t handle) const;

  // Setters by handle (nothing for a federate without an entry); each
  // repositions when the list's key changed.
  void setTime(std::uint32_t handle, const RTI::FedTime& time);
  void setLookahead(std::uint32_t handle, const RTI::FedTime& lookahead);
  void setTimeAndLookahead(std::uint32_t handle, const RTI::FedTime& time, const RTI::FedTime& lookahead);
  void setNerTime(std::uint32_t handle, const RTI::FedTime& time);
  void setNerLookahead(std::uint32_t handle, const RTI::FedTime& lookahead);
  void setNerTimeAndLookahead(std::uint32_t handle, const RTI::FedTime& time, const RTI::FedTime& lookahead);
  // Moves the record's item to its sorted place (nothing when not listed).
  void reposition(const DtTimeInfo* info);
  using DtSortedList::reposition;

  DtTimeInfoItem* first() const { return static_cast<DtTimeInfoItem*>(head()); }
  DtTimeInfoItem* second() const;
  DtTimeInfoItem* last() const { return static_cast<DtTimeInfoItem*>(tail()); }
  DtTimeInfo* firstInfo() const;
  DtTimeInfo* secondInfo() const;
  // The least (greatest) record, or the next one when that belongs to
  // `handle`; handle 0 excepts nobody.
  DtTimeInfo* minExcept(std::uint32_t handle) const;
  DtTimeInfo* maxExcept(std::uint32_t handle) const;
  bool contains(std::uint32_t handle) const { return findItem(handle) != nullptr; }
  void printAll() const;
  // Removes every item; the records are not deleted.
  void clear() override;

private:
  DtHashlist byHandle_;
  std::uint32_t sortKind_;
};
