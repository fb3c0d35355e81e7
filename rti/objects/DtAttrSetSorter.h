#pragma once
// DtAttrSetSorter: splits the values of one attribute update into value
// sets that can each travel as one message: one set per transport, order and
// region set. The object manager adds every pair of an update with the
// attribute's transport, order and region set, then sends each set of
// sets().
//
// Sets without a region set are kept by transport and order; sets with one
// in a table per transport and order, keyed by region set, made on first
// use. Consecutive pairs usually share their set, so the set used last is
// tried first. The sorter owns every set it made until it is destroyed.
// Used on the federate's thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "api/DtAttrValueSet.h"
#include "objects/DtHandleTable.h"
#include "util/DtFomTypes.h"

class DtAttrSetSorter {
public:
  // Every set the sorter makes holds at most `capacity` pairs.
  explicit DtAttrSetSorter(RTI::ULong capacity);
  DtAttrSetSorter(const DtAttrSetSorter&) = delete;
  DtAttrSetSorter& operator=(const DtAttrSetSorter&) = delete;
  virtual ~DtAttrSetSorter();

  // Adds the pair (a copy of its bytes) to the set of its transport, order
  // and region set (0: none), made when missing with that transport, order
  // and region set. ValueCountExceeded when that set is full;
  // InvalidTransportationHandle or InvalidOrderingHandle for a transport or
  // order other than the two there are.
  virtual void add(RTI::Handle handle, const char* value, RTI::ULong length, DtTransportType transport,
                   DtOrderType order, std::uint32_t regionSet);
  // Removes the first pair of that handle from the existing set of that
  // transport, order and region set; nothing when there is no such set.
  virtual void remove(RTI::Handle handle, DtTransportType transport, DtOrderType order, std::uint32_t regionSet);
  // The existing set of that transport, order and region set, or null.
  virtual DtAttrValueSet* find(DtTransportType transport, DtOrderType order, std::uint32_t regionSet) const;
  // Every set made, in the order they were made.
  virtual const std::vector<std::unique_ptr<DtAttrValueSet>>& sets() const { return sets_; }
  // Where a transport and order are kept: transport * 2 + order.
  virtual std::uint32_t comboIndex(DtTransportType transport, DtOrderType order) const;

private:
  static constexpr std::uint32_t combinations = 4;
  using RegionSetTable = DtHandleTable<DtAttrValueSet*>;

  // The set of the combination; made when missing and `make` holds, else
  // null. Remembered as the last set used.
  DtAttrValueSet* pick(DtTransportType transport, DtOrderType order, std::uint32_t regionSet, bool make);
  DtAttrValueSet* makeSet(DtTransportType transport, DtOrderType order, std::uint32_t regionSet);

  RTI::ULong capacity_;
  std::vector<std::unique_ptr<DtAttrValueSet>> sets_;
  std::array<DtAttrValueSet*, combinations> withoutRegionSet_{};
  std::array<std::unique_ptr<RegionSetTable>, combinations> byRegionSet_;
  DtAttrValueSet* last_ = nullptr;
};
