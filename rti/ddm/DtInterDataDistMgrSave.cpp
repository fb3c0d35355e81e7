// The interaction data distribution manager's share of a federation save:
// after the interaction manager's record, its handle counters and region
// sets (see DtInterDdmRecords), read back into the tables. Regions come back
// first, with the data distribution manager's stage, so the sets find them.
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtInterDdmRecords.h"
#include "ddm/DtInteractionRegionSet.h"
#include "ddm/DtRegion.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

DtInterRegionSetRecord recordOf(const DtInteractionRegionSet& set, DtRtiSaveRegionSetTypes kind) {
  DtInterRegionSetRecord record;
  record.kind = kind;
  record.setHandle = set.regionSetHandle();
  record.federate = set.federateHandle();
  record.classHandle = set.classHandle();
  record.address = set.address();
  for (const DtRegionEntry& entry : set.regionList()) record.regions.push_back(entry.handle);
  return record;
}

bool write(DtRtiSaveFile& file, const DtInteractionRegionSet& set, DtRtiSaveRegionSetTypes kind) {
  const std::optional<DtSavePacketBuilder> record = DtInterDdmRecords::setRecord(recordOf(set, kind));
  return record && file.writePacket(*record);
}

}  // namespace

bool DtInterDataDistMgr::save(DtRtiSaveFile& file) const {
  if (!DtInteractionMgr::save(file)) return false;
  if (!file.writePacket(DtInterDdmRecords::header(numClasses(), pubHandles_.counter(), subHandles_.counter()))) {
    return false;
  }
  // The federate's own publication sets are made again at their first send.
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    const DtInteractionRegionSet* set = localSubRegSet(classHandle);
    if (set && !write(file, *set, DT_LOCAL_SUBSCRIBE)) return false;
  }
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    const DtInteractionRegionSet* set = passiveRegSet(classHandle);
    if (set && !write(file, *set, DT_PASSIVE_SUBSCRIBE)) return false;
  }
  for (const DtClassRegionSets& sets : remotePub_) {
    for (const DtRegionSetEntry& entry : *sets.sets) {
      if (!write(file, *static_cast<const DtInteractionRegionSet*>(entry.set), DT_REMOTE_PUBLISH)) return false;
    }
  }
  for (const FederateSubs& federate : remoteSub_) {
    for (const OwnedSet& filed : federate.byClass) {
      if (!write(file, *filed.set, DT_REMOTE_SUBSCRIBE)) return false;
    }
  }
  return file.writePacket(DtInterDdmRecords::endRecord());
}

bool DtInterDataDistMgr::restore(DtRtiSaveFile& file) {
  if (!DtInteractionMgr::restore(file)) return false;
  destroyRegionLists();
  if (!fom()) return false;
  std::optional<DtInterDdmSaved> saved = DtInterDdmRecords::read(file, *fom());
  if (!saved) return false;
  pubHandles_.setCounter(saved->pubCounter);
  subHandles_.setCounter(saved->subCounter);
  for (const DtInterRegionSetRecord& record : saved->sets) restoreRegionSet(record);
  settleChannels();
  return true;
}

void DtInterDataDistMgr::restoreRegionSet(const DtInterRegionSetRecord& record) {
  DtInteractionClassInfo& cls = *fom()->interactionByHandle(record.classHandle);
  const std::uint32_t classHandle = record.classHandle;
  const bool local =
      record.kind == DT_LOCAL_PUBLISH || record.kind == DT_LOCAL_SUBSCRIBE || record.kind == DT_PASSIVE_SUBSCRIBE;
  DtInteractionRegionSet* set = nullptr;
  // A default set is the class's own, made again.
  if (record.kind == DT_LOCAL_SUBSCRIBE && record.setHandle == 0) set = defaultSubRegionSet(classHandle);
  if (record.kind == DT_PASSIVE_SUBSCRIBE && record.setHandle == 1) set = defaultPasRegionSet(classHandle);
  if (!set) {
    set = new DtInteractionRegionSet(cls);
    set->setRegionSetHandle(record.setHandle);
    set->setFederateHandle(record.federate);
    set->setAddress(record.address);
    for (const std::uint32_t handle : record.regions) {
      DtRegion* region = !ddmMgr_      ? nullptr
                         : handle == 0 ? &ddmMgr_->defaultRegion()
                         : local       ? ddmMgr_->localRegion(handle)
                                       : ddmMgr_->remoteRegion(handle);
      if (!region) {
        DtNotifyError("Could not restore region %lu for region set %lu\n", static_cast<unsigned long>(handle),
                      static_cast<unsigned long>(record.setHandle));
        set->addRegion(handle);
        if (record.kind == DT_REMOTE_PUBLISH) addPendingRef(pendingPubRefs_, handle, set);
        continue;
      }
      set->addRegion(region);
      // The default region keeps its own default sets.
      if (handle == 0 && record.kind != DT_LOCAL_PUBLISH) continue;
      switch (record.kind) {
        case DT_LOCAL_PUBLISH: region->addInterPubRegSet(classHandle, set); break;
        case DT_REMOTE_PUBLISH:
          region->addInterPubRegSet(classHandle, set);
          if (!pubRegions_.contains(*region)) pubRegions_.add(*region);
          break;
        case DT_LOCAL_SUBSCRIBE:
        case DT_REMOTE_SUBSCRIBE: region->addInterSubRegSet(classHandle, set); break;
        default: region->addInterPasRegSet(classHandle, set); break;
      }
    }
    if (record.kind == DT_LOCAL_PUBLISH) pubHandles_.markUsed(record.setHandle);
    if (record.kind == DT_LOCAL_SUBSCRIBE || record.kind == DT_PASSIVE_SUBSCRIBE) {
      subHandles_.markUsed(record.setHandle);
    }
  }
  switch (record.kind) {
    case DT_LOCAL_PUBLISH:
      addLocalPubRegSet(classHandle, set);
      addrMaps_.addLocal(classHandle, set->regionSetHandle(), set->address());
      break;
    case DT_LOCAL_SUBSCRIBE:
      addLocalSubRegSet(classHandle, set);
      cls.setSubRegionSet(set);
      evaluateLocalOverlap(classHandle, set);
      break;
    case DT_PASSIVE_SUBSCRIBE:
      addPassiveRegSet(classHandle, set);
      cls.setPasRegionSet(set);
      evaluateLocalOverlap(classHandle, set);
      break;
    case DT_REMOTE_PUBLISH:
      addrMaps_.addRemote(classHandle, set->regionSetHandle(), set->address());
      processPubRegionSet(set, &cls);
      break;
    default: processSubRegionSet(set, &cls); break;
  }
}
