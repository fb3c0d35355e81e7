#pragma once
// DtInterDataDistMgr: the interaction manager of a federate with data
// distribution on (RTI_dataDistMgmt), which DtInteractionMgr::create makes
// through the maker data distribution installs. It keeps everything of the
// plain manager and adds the interaction region sets: the federate's own
// publication, subscription and passive sets per class, the other
// federates' sets, and the channel each publication set sends on.
//
// What is here: the manager's binding to the data distribution manager
// (setDdmMgr, which also arms the region-set handle pools), the two pools,
// the receive filter over the remote publication sets that overlap a
// subscription of this federate, and the region hooks the data
// distribution manager calls, which do nothing until interaction region
// sets exist (they come with the rest of the interaction side).
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>

#include "ddm/DtRegionSetHandlePool.h"
#include "ddm/DtRegionSetListByClass.h"
#include "objects/DtInteractionMgr.h"

class DtDataDistMgr;
class DtRegion;

class DtInterDataDistMgr : public DtInteractionMgr {
public:
  // A new one, as DtInteractionMgr::create hands it out (the caller owns
  // it).
  static DtInteractionMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  DtInterDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  ~DtInterDataDistMgr() override;

  // Keeps the data distribution manager (borrowed; it regions and channels
  // come from there) and puts both handle pools' counters at their first
  // serial. Called once after construction, before any set is made.
  virtual void setDdmMgr(DtDataDistMgr* ddm);
  DtDataDistMgr* ddmMgr() const { return ddmMgr_; }

  // A new publication, or subscription (and passive) region-set handle,
  // now in use; see DtRegionSetHandlePool for the refusals.
  virtual std::uint32_t uniquePubRegSetHandle();
  virtual std::uint32_t uniqueSubRegSetHandle();
  DtRegionSetHandlePool& pubHandlePool() { return pubHandles_; }
  DtRegionSetHandlePool& subHandlePool() { return subHandles_; }

  // The plain filter (not the federate's own), then the channel's.
  bool acceptInteraction(const DtInteractionMsg& msg) const override;
  // Whether an interaction of the class sent from that publication set is
  // for this federate: with data distribution off, or from set 0 (the
  // default route), always; otherwise only while the set overlaps a
  // subscription or passive set of this federate (it is then among the
  // overlapping remote publication sets under the class).
  virtual bool acceptInteractionChannel(std::uint32_t classHandle, std::uint32_t regionSet) const;
  // The remote publication sets that overlap a subscription of this
  // federate, by the class they are filed under (not owned).
  DtRegionSetListByClass& overlappingRemotePubSets() { return overlappingRemotePubSets_; }

  // ---- what the data distribution manager tells of regions: nothing to do
  // while there are no interaction region sets.
  virtual void notifyAboutRegionModification(DtRegion& region);
  virtual void deleteRegion(DtRegion& region);
  virtual void processNotifyRegion(DtRegion& region, bool isNew);
  virtual void processDeleteRegion(DtRegion& region);
  // Every region set goes, and the handles in use with them (before a
  // restore and at the end).
  virtual void destroyRegionLists();

protected:
  DtDataDistMgr* ddmMgr_ = nullptr;

private:
  DtRegionSetListByClass overlappingRemotePubSets_{false};
  DtRegionSetHandlePool pubHandles_;
  DtRegionSetHandlePool subHandles_;
};
