#pragma once
// DtDataDistHalf: what the data distribution manager (DtDataDistMgr) has of
// the object and the interaction manager of a federate with data
// distribution on, its two halves. After the join the federate manager binds
// each half to it (setDdmMgr, the interaction half first), and it tells both
// of every region that is changed or deleted here, or announced or
// withdrawn by another federate, so that they re-evaluate the region sets
// over it. A restore and the half's end tear its region sets down
// (destroyRegionLists) before the regions they point at go.
//
// The region hooks do nothing here: a half without region sets has nothing
// to re-evaluate.
//
// Used on the federate's thread only.

class DtDataDistMgr;
class DtRegion;

class DtDataDistHalf {
public:
  DtDataDistHalf() = default;
  DtDataDistHalf(const DtDataDistHalf&) = delete;
  DtDataDistHalf& operator=(const DtDataDistHalf&) = delete;
  virtual ~DtDataDistHalf() = default;

  // Keeps the data distribution manager (borrowed; regions and channels
  // come from there). Called once after construction, before any region
  // set is made.
  virtual void setDdmMgr(DtDataDistMgr* ddm) { ddmMgr_ = ddm; }
  DtDataDistMgr* ddmMgr() const { return ddmMgr_; }

  // One of this federate's regions was committed, or is about to be
  // deleted.
  virtual void notifyAboutRegionModification(DtRegion&) {}
  virtual void deleteRegion(DtRegion&) {}
  // Another federate's region came (isNew) or changed, or is about to go.
  virtual void processNotifyRegion(DtRegion&, bool /*isNew*/) {}
  virtual void processDeleteRegion(DtRegion&) {}
  // Every region set goes (before a restore and at the end).
  virtual void destroyRegionLists() {}

protected:
  DtDataDistMgr* ddmMgr_ = nullptr;
};
