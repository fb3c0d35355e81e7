#pragma once
// DtObjectDataDistMgr: the object manager of a federate with data
// distribution on (RTI_dataDistMgmt), which DtObjectMgr::create makes
// through the maker data distribution installs. It keeps everything of the
// plain manager and adds what ties object attributes to regions: the
// federate's publication, subscription and passive region sets, the sets
// the other federates announce, which of them overlap and match, and the
// attributes associated with them.
//
// What is here: the manager's binding to the data distribution manager
// (see DtDataDistHalf, whose region hooks do nothing until object region
// sets exist), the region-set handles and the two channel filters over the
// remote sets that overlap (and match) this federate's.
//
// Region-set handles are the federate handle x 100000 plus a counter from 2
// (0 and 1 are the default sets); a federate that would pass 99999 is
// refused (RTIinternalError) rather than take the next federate's handles.
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>

#include "ddm/DtDataDistHalf.h"
#include "ddm/DtRegionMatchList.h"
#include "objects/DtObjectMgr.h"

class DtObjectDataDistMgr : public DtObjectMgr, public DtDataDistHalf {
public:
  // A new one, as DtObjectMgr::create hands it out (the caller owns it).
  static DtObjectMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  DtObjectDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  ~DtObjectDataDistMgr() override;

  // The next region-set handle; the counter moves on.
  virtual std::uint32_t uniqueRegionSetHandle();
  std::uint32_t regionSetCounter() const { return regionSetCounter_; }
  void setRegionSetCounter(std::uint32_t counter) { regionSetCounter_ = counter; }

  // Updates sent on a publication set's channel are taken when the set is
  // 0 (the default route) or overlaps and matches a subscription or passive
  // set of this federate.
  bool acceptObjectChannel(std::uint32_t regionSet) const override;
  // Requests sent from a subscription set are taken when the set is 0 or
  // overlaps a publication set of this federate.
  bool acceptRequestChannel(std::uint32_t regionSet) const override;
  // Remote publication sets paired with the local subscription and passive
  // sets they overlap and match; remote subscription sets paired with the
  // local publication sets they overlap.
  DtRegionMatchList& subMatchOverlaps() { return subMatchOverlaps_; }
  DtRegionMatchList& pubOverlaps() { return pubOverlaps_; }

  // The region sets go.
  void destroyRegionLists() override;

private:
  DtRegionMatchList subMatchOverlaps_;
  DtRegionMatchList pubOverlaps_;
  std::uint32_t regionSetCounter_ = 2;
};
