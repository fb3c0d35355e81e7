// The object data distribution manager's canonical region sets: the set a
// region makes of another, found among the sets there are or made and
// announced, and the default sets that stand for no region.
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtSubRegionSet.h"
#include "objects/DtAddrMap.h"

template <class Set>
Set* DtObjectDataDistMgr::newLocalSet(DtRegionSetList& table) {
  auto set = std::make_unique<Set>();
  set->setRegionSetHandle(uniqueRegionSetHandle());
  set->setFederateHandle(fedHandle());
  Set* made = set.get();
  table.add(made->regionSetHandle(), set.release());  // the table owns it now
  return made;
}

// ---- publication ---------------------------------------------------------------

DtPubRegionSet* DtObjectDataDistMgr::createPubRegionSet(DtRegion& region, DtPubRegionSet* from, bool add) {
  DtPubRegionSet* result = defaultPub_.get();
  const bool toDefault = region.handle() == 0 || (!add && (!from || from->regionCount() == 1));
  if (!toDefault) {
    result = newLocalSet<DtPubRegionSet>(pubRegionSets_);
    result->setAddress(ddmMgr_ ? ddmMgr_->freeChannel() : 0);
    if (addrMap()) addrMap()->addLocalAddrMap(result->regionSetHandle(), result->address());
    if (from && from->regionSetHandle() != 0) result->addRegions(*from);
    if (add) {
      result->addRegion(&region);
      region.addObjPubRegSet(result);
    } else {
      result->removeRegion(region.handle());
      region.removeObjPubRegSet(result);
    }
    sendRegionSetMsg(DtObjPubRegionSet, *result);
  }
  if (result) evaluateRegionSetOverlap(remoteSubRegionSets_, pubOverlaps_, pubMatchOverlaps_, *result, true, false);
  return result;
}

DtPubRegionSet* DtObjectDataDistMgr::createPubRegionSet(const DtRegionEntryList& regions) {
  const std::uint32_t handle = uniqueRegionSetHandle();
  auto set = std::make_unique<DtPubRegionSet>(handle, regions);
  set->setFederateHandle(fedHandle());
  set->setAddress(ddmMgr_ ? ddmMgr_->freeChannel() : 0);
  DtPubRegionSet* made = set.get();
  pubRegionSets_.add(handle, set.release());  // the table owns it now
  if (addrMap()) addrMap()->addLocalAddrMap(handle, made->address());
  sendRegionSetMsg(DtObjPubRegionSet, *made);
  evaluateRegionSetOverlap(remoteSubRegionSets_, pubOverlaps_, pubMatchOverlaps_, *made, true, false);
  return made;
}

DtPubRegionSet* DtObjectDataDistMgr::addPubRegion(DtRegion& region, DtPubRegionSet* set) {
  // The default set stands for no region here.
  if (set && set->regionSetHandle() == 0) set = nullptr;
  if (DtRegionSet* found = pubRegionSets_.getRegionSetAddHandle(region.handle(), set)) {
    return static_cast<DtPubRegionSet*>(found);
  }
  return createPubRegionSet(region, set, true);
}

DtPubRegionSet* DtObjectDataDistMgr::removePubRegion(DtRegion& region, DtPubRegionSet* set) {
  if (!set) return nullptr;
  if (DtRegionSet* found = pubRegionSets_.getRegionSetSubHandle(region.handle(), set)) {
    return static_cast<DtPubRegionSet*>(found);
  }
  if (set->regionCount() > 1) return createPubRegionSet(region, set, false);
  return region.handle() != 0 ? defaultPub_.get() : nullptr;
}

// ---- subscription ----------------------------------------------------------------

namespace {

// The subscription set without `region` is the default one when it would
// hold only the default region.
bool leavesDefaultOnly(const DtRegion& region, const DtSubRegionSet* from) {
  return region.handle() != 0 && from && from->regionCount() == 2 && from->isMemberRegion(0);
}

}  // namespace

DtSubRegionSet* DtObjectDataDistMgr::createSubRegionSet(DtRegion& region, DtSubRegionSet* from, bool add) {
  DtSubRegionSet* result = nullptr;
  if ((add && !from && region.handle() == 0) || (!add && leavesDefaultOnly(region, from))) {
    result = defaultSub_.get();
    if (result) subRegionSets_.add(result->regionSetHandle(), result);
  } else {
    result = newLocalSet<DtSubRegionSet>(subRegionSets_);
    if (from) result->addRegions(*from, true);
    if (add) {
      result->addRegion(&region);
      region.addObjSubRegSet(result);
    } else {
      result->removeRegion(region.handle());
      region.removeObjSubRegSet(result);
    }
    sendRegionSetMsg(DtObjSubRegionSet, *result);
  }
  if (result) evaluateRegionSetOverlap(remotePubRegionSets_, subOverlaps_, subMatchOverlaps_, *result, true, true);
  return result;
}

DtSubRegionSet* DtObjectDataDistMgr::createPasRegionSet(DtRegion& region, DtSubRegionSet* from, bool add) {
  DtSubRegionSet* result = nullptr;
  if ((add && !from && region.handle() == 0) ||
      (!add && leavesDefaultOnly(region, from) && from->isMemberRegion(region.handle()))) {
    result = defaultPas_.get();
  } else {
    result = newLocalSet<DtSubRegionSet>(pasRegionSets_);
    if (from) result->addRegions(*from, false);
    if (add) {
      result->addRegion(&region);
      region.addObjPasRegSet(result);
    } else {
      result->removeRegion(region.handle());
      region.removeObjPasRegSet(result);
    }
    // Passive sets are never announced.
  }
  if (!result) return nullptr;
  pasRegionSets_.add(result->regionSetHandle(), result);
  evaluateRegionSetOverlap(remotePubRegionSets_, subOverlaps_, subMatchOverlaps_, *result, true, true);
  return result;
}

DtSubRegionSet* DtObjectDataDistMgr::addSubRegion(DtRegion& region, DtSubRegionSet* set) {
  if (DtRegionSet* found = subRegionSets_.getRegionSetAddHandle(region.handle(), set)) {
    return static_cast<DtSubRegionSet*>(found);
  }
  return createSubRegionSet(region, set, true);
}

DtSubRegionSet* DtObjectDataDistMgr::removeSubRegion(DtRegion& region, DtSubRegionSet* set) {
  if (!set) return nullptr;
  if (DtRegionSet* found = subRegionSets_.getRegionSetSubHandle(region.handle(), set)) {
    return static_cast<DtSubRegionSet*>(found);
  }
  return set->regionCount() > 1 ? createSubRegionSet(region, set, false) : nullptr;
}

DtSubRegionSet* DtObjectDataDistMgr::addPasRegion(DtRegion& region, DtSubRegionSet* set) {
  if (DtRegionSet* found = pasRegionSets_.getRegionSetAddHandle(region.handle(), set)) {
    return static_cast<DtSubRegionSet*>(found);
  }
  return createPasRegionSet(region, set, true);
}

DtSubRegionSet* DtObjectDataDistMgr::removePasRegion(DtRegion& region, DtSubRegionSet* set) {
  if (!set) return nullptr;
  if (DtRegionSet* found = pasRegionSets_.getRegionSetSubHandle(region.handle(), set)) {
    return static_cast<DtSubRegionSet*>(found);
  }
  return set->regionCount() > 1 ? createPasRegionSet(region, set, false) : nullptr;
}
