#pragma once
// DtInterDataDistMgr: the interaction manager of a federate with data
// distribution on (RTI_dataDistMgmt), which DtInteractionMgr::create makes
// through the maker data distribution installs. It keeps everything of the
// plain manager and adds the interaction region sets: the federate's own
// publication, subscription and passive sets per class, the other
// federates' sets, and the channel each publication set sends on.
//
// What is here: the manager's binding to the data distribution manager
// (setDdmMgr, which also arms the region-set handle pools; see
// DtDataDistHalf, whose region hooks do nothing until interaction region
// sets exist), the two pools and the receive filter over the remote
// publication sets that overlap a subscription of this federate.
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>

#include "ddm/DtDataDistHalf.h"
#include "ddm/DtRegionSetHandlePool.h"
#include "ddm/DtRegionSetListByClass.h"
#include "objects/DtInteractionMgr.h"

class DtInterDataDistMgr : public DtInteractionMgr, public DtDataDistHalf {
public:
  // A new one, as DtInteractionMgr::create hands it out (the caller owns
  // it).
  static DtInteractionMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  DtInterDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  ~DtInterDataDistMgr() override;

  // Also puts both handle pools' counters at their first serial.
  void setDdmMgr(DtDataDistMgr* ddm) override;

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

  // The region sets go, and the handles in use with them.
  void destroyRegionLists() override;

private:
  DtRegionSetListByClass overlappingRemotePubSets_{false};
  DtRegionSetHandlePool pubHandles_;
  DtRegionSetHandlePool subHandles_;
};
