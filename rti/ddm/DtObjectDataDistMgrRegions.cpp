// The object data distribution manager's side of a local region's deletion:
// every set of this federate holding the region goes. The data distribution
// manager refuses the deletion while a publication or subscription set of
// the region is in use; passive sets do not hold a region in use, so the
// passive subscriptions through the region move first to the passive set of
// the other regions (the default passive set where the default region
// remains; none when no region remains), and the channels only they needed
// are left.
#include <algorithm>
#include <vector>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtSubRegionSet.h"
#include "objects/DtAddrMap.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtObjectClassInfo.h"

namespace {

// The sets of a region's list, taken before any of them goes.
template <class Set>
std::vector<Set*> setsOf(const DtRegionSetList& list) {
  std::vector<Set*> sets;
  for (const std::uint32_t handle : list.handles()) {
    if (auto* set = dynamic_cast<Set*>(list.lookup(handle))) sets.push_back(set);
  }
  return sets;
}

}  // namespace

void DtObjectDataDistMgr::deleteRegion(DtRegion& region) {
  for (DtSubRegionSet* passive : setsOf<DtSubRegionSet>(region.objPasRegSetList())) {
    movePassiveSubscriptions(region, *passive);
    destroyLocalSet(pasRegionSets_, subMatches_, subOverlaps_, subMatchOverlaps_, *passive);
  }
  for (DtPubRegionSet* pub : setsOf<DtPubRegionSet>(region.objPubRegSetList())) {
    if (addrMap()) addrMap()->removeLocalAddrMap(pub->regionSetHandle());
    destroyLocalSet(pubRegionSets_, pubMatches_, pubOverlaps_, pubMatchOverlaps_, *pub);
  }
  for (DtSubRegionSet* sub : setsOf<DtSubRegionSet>(region.objSubRegSetList())) {
    destroyLocalSet(subRegionSets_, subMatches_, subOverlaps_, subMatchOverlaps_, *sub);
  }
}

void DtObjectDataDistMgr::movePassiveSubscriptions(DtRegion& region, DtSubRegionSet& passive) {
  std::vector<std::pair<DtObjectClassInfo*, DtAttributeHandleSet>> moving;
  for (const auto& entry : passive.attributeAssociations()) {
    if (entry.assoc.classDesc()) moving.emplace_back(entry.assoc.classDesc(), entry.assoc.attributes());
  }
  if (moving.empty()) return;
  // Null when the region was the set's only one.
  DtSubRegionSet* target = removePasRegion(region, &passive);
  for (auto& [cls, attributes] : moving) {
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      const RTI::AttributeHandle attribute = attributes.getHandle(i);
      DtAttrInfo* info = cls->attrByHandle(attribute);
      if (info && info->pasRegionSet() == &passive) info->setPasRegionSet(target);
      if (target) {
        target->addAttribute(cls, attribute);
        addPendingAssocPasRegAdd(*target, *cls, attribute);
      } else {
        addPendingUnassocPasReg(passive, *cls, attribute);
      }
      addPendingAssocPasRegRemove(passive, *cls, attribute);
    }
  }
  processPendingPasRegAssoc();
}

void DtObjectDataDistMgr::destroyLocalSet(DtRegionSetList& table, DtRegionMatchList& matches,
                                          DtRegionMatchList& overlaps, DtRegionMatchList& matchOverlaps,
                                          DtLocalRegionSet& set) {
  struct Other {
    DtObjectRegionSet* set;
    bool accepted;
  };
  std::vector<Other> others;
  for (const DtRegionSetList* list : {&set.overlapList(), &set.matchList()}) {
    for (const std::uint32_t handle : list->handles()) {
      auto* other = dynamic_cast<DtObjectRegionSet*>(list->lookup(handle));
      if (!other || std::any_of(others.begin(), others.end(), [&](const Other& o) { return o.set == other; })) {
        continue;
      }
      others.push_back({other, acceptObjectChannel(handle)});
    }
  }
  for (const Other& other : others) {
    matches.removeMatch(&set, other.set);
    overlaps.removeMatch(&set, other.set);
    matchOverlaps.removeMatch(&set, other.set);
  }
  // Nothing collected or queued may name the set once it is gone.
  const std::uint32_t handle = set.regionSetHandle();
  for (std::vector<DtObjectRegionSet*>* collected : {&collectedPubRegionSets_, &collectedSubRegionSets_}) {
    collected->erase(std::remove(collected->begin(), collected->end(), &set), collected->end());
  }
  for (DtHandleIndex<CollectedAssocs>* collected : {&collectedAssocPub_, &collectedAssocSub_}) {
    for (CollectedAssocs& entry : *collected) entry.bySet.forget(handle);
  }
  // The set leaves its overlaps, matches and regions as it goes.
  table.destroy(handle);
  for (const Other& other : others) dropIfNoLongerAccepted(other.accepted, *other.set);
}
