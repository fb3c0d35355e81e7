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
// (setDdmMgr), the region-set handles, the two channel filters over the
// remote sets that overlap (and match) this federate's, and the region
// hooks the data distribution manager calls, which do nothing until object
// region sets exist (they come with the rest of the object side).
//
// Region-set handles are the federate handle x 100000 plus a counter from 2
// (0 and 1 are the default sets); a federate that would pass 99999 is
// refused (RTIinternalError) rather than take the next federate's handles.
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>

#include "ddm/DtRegionMatchList.h"
#include "objects/DtObjectMgr.h"

class DtDataDistMgr;
class DtRegion;

class DtObjectDataDistMgr : public DtObjectMgr {
public:
  // A new one, as DtObjectMgr::create hands it out (the caller owns it).
  static DtObjectMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  DtObjectDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  ~DtObjectDataDistMgr() override;

  // Keeps the data distribution manager (borrowed; regions and channels
  // come from there). Called once after construction, before any set is
  // made.
  virtual void setDdmMgr(DtDataDistMgr* ddm);
  DtDataDistMgr* ddmMgr() const { return ddmMgr_; }

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

  // ---- what the data distribution manager tells of regions: nothing to do
  // while there are no object region sets.
  virtual void notifyAboutRegionModification(DtRegion& region);
  virtual void deleteRegion(DtRegion& region);
  virtual void processNotifyRegion(DtRegion& region, bool isNew);
  virtual void processDeleteRegion(DtRegion& region);
  // Every region set goes (before a restore and at the end).
  virtual void destroyRegionLists();

protected:
  DtDataDistMgr* ddmMgr_ = nullptr;

private:
  DtRegionMatchList subMatchOverlaps_;
  DtRegionMatchList pubOverlaps_;
  std::uint32_t regionSetCounter_ = 2;
};
