// The object data distribution manager's side of region changes, here and
// at the other federates, and of a local region's deletion.
//
// A region that moves re-evaluates the overlaps of every set holding it:
// channels are joined or left, objects discovered, attributes put in or out
// of scope, and the owners of objects told to turn updates on or off (also
// when it is the owner's publication region that moved).
//
// A local region's deletion: every set of this federate holding the region
// goes. The data distribution
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
#include "ddm/DtRemoteRegionSet.h"
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

// ---- changes ----------------------------------------------------------------

void DtObjectDataDistMgr::notifyAboutRegionModification(DtRegion& region) {
  for (DtPubRegionSet* pub : setsOf<DtPubRegionSet>(region.objPubRegSetList())) {
    const std::vector<std::uint32_t> before = pub->overlapList().handles();
    // Those whose overlap may change (every one, without the index).
    const std::vector<std::uint32_t> near = overlapCandidates(remoteSubRegionSets_, *pub, &region, true);
    evaluateRegionOverlap(remoteSubRegionSets_, pubOverlaps_, pubMatchOverlaps_, *pub, region, true, false, false);
    if (addrMap()) addrMap()->addAddrMapDelay(pub->regionSetHandle());
    // The subscribers the set came to or left see the owner's objects again:
    // their updates turn on or off.
    for (const std::uint32_t handle : near) {
      auto* sub = dynamic_cast<DtRemoteRegionSet*>(remoteSubRegionSets_.lookup(handle));
      if (!sub) continue;
      const bool was = std::find(before.begin(), before.end(), handle) != before.end();
      if (was != pub->isOverlap(handle)) processRemoteScopeChanges(*sub);
    }
  }
  for (const DtRegionSetList* list : {&region.objSubRegSetList(), &region.objPasRegSetList()}) {
    for (DtSubRegionSet* sub : setsOf<DtSubRegionSet>(*list)) {
      const std::vector<std::uint32_t> near = overlapCandidates(remotePubRegionSets_, *sub, &region, true);
      evaluateRegionOverlap(remotePubRegionSets_, subOverlaps_, subMatchOverlaps_, *sub, region, true, true, true);
      // The matched sets' objects come into scope or leave it. A matched set
      // whose overlap stayed as it was keeps its objects' scope: only those
      // near are evaluated again when the index is used.
      for (const std::uint32_t handle : matchedAmong(*sub, near)) {
        if (auto* matched = dynamic_cast<DtRemoteRegionSet*>(sub->matchList().lookup(handle))) {
          matched->evaluateScopeUpdates(*this, scopeAmb());
        }
      }
    }
  }
}

void DtObjectDataDistMgr::processNotifyRegion(DtRegion& region, bool isNew) {
  // Filed again by its new extents.
  for (DtRegionIndex* index : {&remotePubRegions_, &remoteSubRegions_}) {
    if (index->contains(region)) index->add(region);
  }
  if (isNew) {
    // Sets announced before the region knew it by handle only.
    for (DtRegionSetList* table : {&remotePubRegionSets_, &remoteSubRegionSets_}) {
      for (const DtRegionSetEntry& entry : *table) {
        if (!entry.set->isMemberRegion(region.handle()) || entry.set->region(region.handle())) continue;
        takeRemoteRegion(*static_cast<DtRemoteRegionSet*>(entry.set), region.handle(), &region,
                         table == &remotePubRegionSets_);
      }
    }
  }
  for (DtRemoteRegionSet* pub : setsOf<DtRemoteRegionSet>(region.objPubRegSetList())) {
    const std::uint32_t handle = pub->regionSetHandle();
    const bool was = acceptObjectChannel(handle);
    evaluateRegionOverlap(subRegionSets_, subOverlaps_, subMatchOverlaps_, *pub, region, false, true, false);
    evaluateRegionOverlap(pasRegionSets_, subOverlaps_, subMatchOverlaps_, *pub, region, false, true, false);
    const bool now = acceptObjectChannel(handle);
    if (was && !now && ddmMgr_) ddmMgr_->dropObjectRegionSet(pub->address(), handle);
    if (!was && now) {
      if (ddmMgr_) ddmMgr_->joinObjectRegionSet(pub->address(), handle);
      pub->discoverObjects(*this);
    }
    pub->evaluateScopeUpdates(*this, scopeAmb());
  }
  for (DtRemoteRegionSet* sub : setsOf<DtRemoteRegionSet>(region.objSubRegSetList())) {
    evaluateRegionOverlap(pubRegionSets_, pubOverlaps_, pubMatchOverlaps_, *sub, region, false, false, false);
    processRemoteScopeChanges(*sub);
  }
}
