// The object data distribution manager's index of the regions its remote
// sets hold. A local region that moves must find the remote sets whose
// overlap with its sets begins or ends; with thousands of remote sets, of
// which a handful are near, testing each would make every move cost the
// whole federation. The index files every region a remote set takes by its
// extents (filed again when the region moves, taken out when it goes), and
// a move tests only the sets its sets overlap already and the sets holding
// a region the index finds near, in the order of the table, so that the
// channels, discoveries and advisories come exactly as a test of every set
// would give them.
#include <algorithm>

#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtObjectRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"

void DtObjectDataDistMgr::takeRemoteRegion(DtRemoteRegionSet& set, std::uint32_t handle, DtRegion* region,
                                           bool publication) {
  if (!region) {
    set.addRegion(handle);
    return;
  }
  set.addRegion(region);
  if (publication) {
    region->addObjPubRegSet(&set);
  } else {
    region->addObjSubRegSet(&set);
  }
  DtRegionIndex& index = publication ? remotePubRegions_ : remoteSubRegions_;
  if (!index.contains(*region)) index.add(*region);
}

std::vector<std::uint32_t> DtObjectDataDistMgr::overlapCandidates(const DtRegionSetList& others,
                                                                  const DtObjectRegionSet& set, const DtRegion* changed,
                                                                  bool setIsLocal) const {
  const bool publications = &others == &remotePubRegionSets_;
  if (!overlapIndexUsed_ || !setIsLocal || (!publications && &others != &remoteSubRegionSets_)) {
    return others.handles();
  }
  std::vector<std::uint32_t> handles;
  const auto take = [&](const DtRegionSet* candidate) {
    if (!candidate) return;
    const std::uint32_t handle = candidate->regionSetHandle();
    if (others.lookup(handle) == candidate) handles.push_back(handle);
  };
  // Those it overlaps may stop overlapping.
  for (const DtRegionSetEntry& entry : set.overlapList()) take(entry.set);
  // A remote set overlaps only through a region it holds that meets one of
  // the set's: the changed one, or any of them where the set has several
  // (or where no single region changed).
  const auto near = [&](const DtRegion& mine) {
    (publications ? remotePubRegions_ : remoteSubRegions_).candidates(mine, [&](DtRegion& theirs) {
      for (const DtRegionSetEntry& entry : publications ? theirs.objPubRegSetList() : theirs.objSubRegSetList()) {
        take(entry.set);
      }
    });
  };
  if (changed) near(*changed);
  if (!changed || set.regionCount() >= 2) {
    for (const DtRegionEntry& entry : set.regionList()) {
      if (entry.region && entry.region != changed) near(*entry.region);
    }
  }
  std::sort(handles.begin(), handles.end(),
            [&](std::uint32_t a, std::uint32_t b) { return others.filingRank(a) < others.filingRank(b); });
  handles.erase(std::unique(handles.begin(), handles.end()), handles.end());
  return handles;
}

std::vector<std::uint32_t> DtObjectDataDistMgr::matchedAmong(const DtObjectRegionSet& set,
                                                             const std::vector<std::uint32_t>& near) const {
  const DtRegionSetList& matched = set.matchList();
  if (!overlapIndexUsed_) return matched.handles();
  std::vector<std::uint32_t> handles;
  // The default remote set is in no table; it never moves.
  if (matched.isMember(0)) handles.push_back(0);
  for (const std::uint32_t handle : near) {
    if (matched.isMember(handle)) handles.push_back(handle);
  }
  std::sort(handles.begin(), handles.end(),
            [&](std::uint32_t a, std::uint32_t b) { return matched.filingRank(a) < matched.filingRank(b); });
  return handles;
}
