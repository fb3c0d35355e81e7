// The object data distribution manager's matching: which local and remote
// region sets overlap, match and do both, kept in step on both sets and in
// the manager's relation lists, with the publisher's channel joined while a
// subscription pair both overlaps and matches.
#include <algorithm>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtLocalRegionSet.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtObjectClassInfo.h"

namespace {

// The relation lists file object region sets only.
DtObjectRegionSet* objectSet(DtRegionSet* set) { return static_cast<DtObjectRegionSet*>(set); }

}  // namespace

void DtObjectDataDistMgr::formPair(DtObjectRegionSet& set, DtObjectRegionSet& member, bool setIsLocal,
                                   DtLocalRegionSet*& local, DtObjectRegionSet*& remote) {
  // Only the federate's own sets are local sets.
  local = static_cast<DtLocalRegionSet*>(setIsLocal ? &set : &member);
  remote = setIsLocal ? &member : &set;
}

void DtObjectDataDistMgr::dropIfNoLongerAccepted(bool wasAccepted, const DtObjectRegionSet& remote) {
  if (wasAccepted && !acceptObjectChannel(remote.regionSetHandle()) && ddmMgr_) {
    ddmMgr_->dropObjectRegionSet(remote.address(), remote.regionSetHandle());
  }
}

void DtObjectDataDistMgr::overlapBegan(DtLocalRegionSet& local, DtObjectRegionSet& remote, DtRegionMatchList& overlaps,
                                       DtRegionMatchList& matchOverlaps, bool discover, bool join) {
  local.addOverlap(&remote);
  remote.addOverlap(&local);
  overlaps.addMatch(&local, &remote);
  if (!local.isMatch(remote.regionSetHandle())) return;
  local.moveAttrToOverlap(remote.regionSetHandle());
  local.addMatchOverlap(&remote);
  remote.addMatchOverlap(&local);
  matchOverlaps.addMatch(&local, &remote);
  if (discover) {
    if (auto* carrier = dynamic_cast<DtRemoteRegionSet*>(&remote)) carrier->discoverObjects(*this);
  }
  if (join && ddmMgr_) ddmMgr_->joinObjectRegionSet(remote.address(), remote.regionSetHandle());
}

void DtObjectDataDistMgr::overlapEnded(DtLocalRegionSet& local, DtObjectRegionSet& remote, DtRegionMatchList& overlaps,
                                       DtRegionMatchList& matchOverlaps, bool join) {
  const bool wasAccepted = join && acceptObjectChannel(remote.regionSetHandle());
  if (local.isMatch(remote.regionSetHandle())) local.moveAttrToMatching(remote);
  local.removeOverlap(remote.regionSetHandle());
  remote.removeOverlap(local.regionSetHandle());
  overlaps.removeMatch(&local, &remote);
  matchOverlaps.removeMatch(&local, &remote);
  // Another subscription set of this federate may still carry the channel.
  dropIfNoLongerAccepted(wasAccepted, remote);
}

void DtObjectDataDistMgr::evaluateRegionSetOverlap(const DtRegionSetList& others, DtRegionMatchList& overlaps,
                                                   DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set,
                                                   bool setIsLocal, bool join) {
  reevaluateOverlaps(others, overlaps, matchOverlaps, set, nullptr, setIsLocal, false, join);
}

void DtObjectDataDistMgr::evaluateRegionOverlap(const DtRegionSetList& others, DtRegionMatchList& overlaps,
                                                DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set,
                                                DtRegion& region, bool setIsLocal, bool discover, bool join) {
  reevaluateOverlaps(others, overlaps, matchOverlaps, set, &region, setIsLocal, discover, join);
}

void DtObjectDataDistMgr::reevaluateOverlaps(const DtRegionSetList& others, DtRegionMatchList& overlaps,
                                             DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set,
                                             const DtRegion* changed, bool setIsLocal, bool discover, bool join) {
  for (const std::uint32_t handle : overlapCandidates(others, set, changed, setIsLocal)) {
    DtObjectRegionSet* member = objectSet(others.lookup(handle));
    if (!member || member == &set) continue;
    DtLocalRegionSet* local = nullptr;
    DtObjectRegionSet* remote = nullptr;
    formPair(set, *member, setIsLocal, local, remote);
    const bool wasOverlap = local->isOverlap(remote->regionSetHandle());
    // A moved region overlaps through itself, or through the set's other
    // regions when it has some.
    const bool nowOverlap = changed ? member->intersect(*changed) || (set.regionCount() >= 2 && member->intersect(set))
                                    : member->intersect(set);
    if (nowOverlap && !wasOverlap) {
      overlapBegan(*local, *remote, overlaps, matchOverlaps, discover, join);
    } else if (wasOverlap && !nowOverlap) {
      overlapEnded(*local, *remote, overlaps, matchOverlaps, join);
    }
  }
}

void DtObjectDataDistMgr::evaluateMatchingAfterAdd(const DtRegionSetList& others, DtRegionMatchList& matches,
                                                   DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set,
                                                   DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes,
                                                   bool setIsLocal, bool join) {
  if (!cls) return;
  for (const std::uint32_t handle : others.handles()) {
    DtObjectRegionSet* member = objectSet(others.lookup(handle));
    if (!member || member == &set) continue;
    DtLocalRegionSet* local = nullptr;
    DtObjectRegionSet* remote = nullptr;
    formPair(set, *member, setIsLocal, local, remote);
    // Asked of the set passed in: a remote set matched before is matched
    // again only for the attributes it gains, and a local set always (it
    // asks about its own handle, which no set matches; matching again
    // records nothing new, so it is kept as it always was).
    const bool matchedBefore = local->isMatch(set.regionSetHandle());
    // A local set is tested against the remote set's classes; a remote
    // one's class and attributes against the local set's.
    std::vector<std::uint32_t> matched;
    if (setIsLocal) {
      local->evaluateMatchingAfterAdd(*remote, &matched);
    } else {
      local->evaluateMatchingAfterAdd(*remote, *cls, attributes, &matched);
    }
    if (matched.empty()) continue;
    for (const std::uint32_t localClass : matched) {
      remote->addMatch(local, localClass);
      local->addMatch(remote, localClass);
    }
    // The attributes a matched remote set gains are in the class tables now
    // (reflections and discovery read them); the pair's overlap and channel
    // stay as they are.
    if (matchedBefore) continue;
    matches.addMatch(local, remote);
    if (!local->isOverlap(remote->regionSetHandle())) continue;
    local->addMatchOverlap(remote);
    remote->addMatchOverlap(local);
    matchOverlaps.addMatch(local, remote);
    if (!join) continue;
    if (ddmMgr_) ddmMgr_->joinObjectRegionSet(remote->address(), remote->regionSetHandle());
    if (auto* carrier = dynamic_cast<DtRemoteRegionSet*>(remote)) carrier->discoverObjects(*this);
  }
}

void DtObjectDataDistMgr::evalMatchAfterLocalRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                                    DtObjectRegionSet& localSet, DtObjectClassInfo& cls,
                                                    const DtAttributeHandleSet& attributes, bool drop) {
  auto* local = static_cast<DtLocalRegionSet*>(&localSet);
  std::vector<DtObjectRegionSet*> unmatched;
  local->evalMatchAfterLocalRemove(cls, attributes, unmatched);
  for (DtObjectRegionSet* remote : unmatched) {
    const bool wasAccepted = drop && acceptObjectChannel(remote->regionSetHandle());
    matches.removeMatch(local, remote);
    matchOverlaps.removeMatch(local, remote);
    dropIfNoLongerAccepted(wasAccepted, *remote);
  }
}

void DtObjectDataDistMgr::evalMatchAfterRemoteRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                                     DtObjectRegionSet& remoteSet, DtObjectClassInfo& cls,
                                                     const DtAttributeHandleSet& attributes) {
  for (const std::uint32_t handle : remoteSet.matchList().handles()) {
    auto* local = static_cast<DtLocalRegionSet*>(remoteSet.matchList().lookup(handle));
    if (!local || local->evalMatchAfterRemoteRemove(remoteSet, cls, attributes)) continue;
    matches.removeMatch(local, &remoteSet);
    matchOverlaps.removeMatch(local, &remoteSet);
  }
}

void DtObjectDataDistMgr::evaluateRemotePubMatchingRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                                          DtRemoteRegionSet* newSet, std::uint32_t object,
                                                          DtObjectClassInfo* cls, bool removeAssociation,
                                                          const DtAttributeHandleSet& attributes) {
  std::vector<std::pair<DtRemoteRegionSet*, DtAttributeHandleSet>> leaving;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle a = attributes.getHandle(i);
    DtRemoteRegionSet* old = tables_.attrPubRegionSet(object, a);
    if (old && (removeAssociation || (old != newSet && old->regionSetHandle() != 0))) {
      auto group = std::find_if(leaving.begin(), leaving.end(), [&](const auto& g) { return g.first == old; });
      if (group == leaving.end()) group = leaving.insert(leaving.end(), {old, {}});
      group->second.add(a);
      old->removeAttribute(object, cls, a);
    }
    if (removeAssociation) {
      tables_.removeAttrPubAllRegionSet(object, a);
    } else {
      tables_.setAttrPubRegionSet(object, a, newSet);
    }
  }
  if (!cls) return;
  for (auto& [old, gone] : leaving) {
    const bool wasAccepted = acceptObjectChannel(old->regionSetHandle());
    evalMatchAfterRemoteRemove(matches, matchOverlaps, *old, *cls, gone);
    dropIfNoLongerAccepted(wasAccepted, *old);
  }
}

void DtObjectDataDistMgr::evaluateRemoteSubMatchingRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                                          std::uint32_t federate, DtRemoteRegionSet* newSet,
                                                          DtObjectClassInfo* cls,
                                                          const DtAttributeHandleSet& attributes) {
  if (!cls) return;
  const std::uint32_t classHandle = cls->handle();
  const std::uint32_t newHandle = newSet ? newSet->regionSetHandle() : 0;
  std::vector<std::pair<DtRemoteRegionSet*, DtAttributeHandleSet>> leaving;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle a = attributes.getHandle(i);
    DtRemoteRegionSet* old = tables_.attrSubRegionSet(federate, classHandle, a);
    if (old && old != newSet) {
      auto group = std::find_if(leaving.begin(), leaving.end(), [&](const auto& g) { return g.first == old; });
      if (group == leaving.end()) group = leaving.insert(leaving.end(), {old, {}});
      group->second.add(a);
      old->removeAttribute(classHandle, a);
      if (newHandle == 0 || newHandle == 1) tables_.removeAttrSubRegionSet(federate, classHandle, a);
    }
    if (newHandle != 0) tables_.setAttrSubRegionSet(federate, classHandle, a, newSet);
  }
  for (auto& [old, gone] : leaving) {
    removeRemoteSubscribeRegion(classHandle, federate, old->regionSetHandle(), gone);
    evalMatchAfterRemoteRemove(matches, matchOverlaps, *old, *cls, gone);
  }
}
