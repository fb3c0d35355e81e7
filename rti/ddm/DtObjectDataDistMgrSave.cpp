// The object data distribution manager's share of a federation save: after
// the plain manager's records, one record per region set (local
// publication, subscription and passive sets, then the other federates'
// publication and subscription sets, each kind's default set first) and the
// end record; read back into new sets after the plain manager's objects.
//
// A restore takes nothing from a damaged file: every record is read and
// checked (its length against its counts, its classes and attributes
// against the model and the restored objects) before the first set is
// made. Passive sets come back passive. The regions come back before, with
// the data distribution manager's stage.
#include <algorithm>
#include <optional>
#include <vector>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjRegionSetPacket.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "ddm/DtSubRegionSet.h"
#include "objects/DtAddrMap.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtFederateHandleRange.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* theRefusal = "DDMObjMgr received an incorrect save packet, restore aborted\n";

DtObjRegionSetRecord recordOf(DtRtiSaveRegionSetTypes kind, const DtObjectRegionSet& set) {
  DtObjRegionSetRecord record;
  record.kind = kind;
  record.setHandle = set.regionSetHandle();
  record.federate = set.federateHandle();
  record.address = set.address();
  for (const DtRegionEntry& entry : set.regionList()) record.regions.push_back(entry.handle);
  if (record.byObject()) {
    for (const auto& entry : set.objectAssociations()) {
      record.associations.push_back({entry.handle, entry.record.attributes()});
    }
  } else {
    for (const auto& entry : set.attributeAssociations()) {
      record.associations.push_back({entry.handle, entry.assoc.attributes()});
    }
  }
  for (const auto& entry : set.objectUnownedAssociations()) record.unowned.push_back({entry.handle, entry.attributes});
  return record;
}

bool write(DtRtiSaveFile& file, DtRtiSaveRegionSetTypes kind, const DtObjectRegionSet* set) {
  if (!set) return true;
  const std::optional<DtSavePacketBuilder> packet = DtObjRegionSetPacket::build(recordOf(kind, *set));
  return packet && file.writePacket(*packet);
}

bool write(DtRtiSaveFile& file, DtRtiSaveRegionSetTypes kind, const DtRegionSetList& sets) {
  return std::all_of(sets.begin(), sets.end(), [&](const DtRegionSetEntry& entry) {
    return write(file, kind, static_cast<const DtObjectRegionSet*>(entry.set));
  });
}

// Every attribute of the set is one of the class's.
bool classHas(const DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes) {
  if (!cls) return false;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    if (!cls->attrByHandle(attributes.getHandle(i))) return false;
  }
  return true;
}

const char* kindName(DtRtiSaveRegionSetTypes kind) {
  switch (kind) {
    case DT_LOCAL_PUBLISH: return "DT_LOCAL_PUBLISH";
    case DT_REMOTE_PUBLISH: return "DT_REMOTE_PUBLISH";
    case DT_LOCAL_SUBSCRIBE: return "DT_LOCAL_SUBSCRIBE";
    case DT_PASSIVE_SUBSCRIBE: return "DT_PASSIVE_SUBSCRIBE";
    default: return "DT_REMOTE_SUBSCRIBE";
  }
}

}  // namespace

bool DtObjectDataDistMgr::save(DtRtiSaveFile& file) const {
  if (!DtObjectMgr::save(file)) return false;
  const bool written =
      write(file, DT_LOCAL_PUBLISH, pubRegionSets_) && write(file, DT_LOCAL_SUBSCRIBE, subRegionSets_) &&
      write(file, DT_PASSIVE_SUBSCRIBE, pasRegionSets_) && write(file, DT_REMOTE_PUBLISH, defaultRemotePub_.get()) &&
      write(file, DT_REMOTE_PUBLISH, remotePubRegionSets_) &&
      write(file, DT_REMOTE_SUBSCRIBE, defaultRemoteSub_.get()) &&
      write(file, DT_REMOTE_SUBSCRIBE, remoteSubRegionSets_);
  return written && file.writePacket(DtObjRegionSetPacket::endRecord());
}

bool DtObjectDataDistMgr::restore(DtRtiSaveFile& file) {
  if (!DtObjectMgr::restore(file)) return false;
  destroyRegionLists();
  setDdmMgr(ddmMgr_);
  std::vector<DtObjRegionSetRecord> records;
  for (;;) {
    const DtSavePacket* packet = file.readNextPacket();
    std::optional<DtObjRegionSetRecord> record;
    if (packet) record = DtObjRegionSetPacket::read(*packet);
    if (!record || !knowsRecord(*record)) {
      DtNotifyError("%s", theRefusal);
      return false;
    }
    if (record->kind == DT_END_REGION_SETS) break;
    records.push_back(std::move(*record));
  }
  for (const DtObjRegionSetRecord& record : records) restoreRegionSet(record);
  return true;
}

bool DtObjectDataDistMgr::knowsRecord(const DtObjRegionSetRecord& record) const {
  // An object the manager does not have is passed over later; one it has
  // must have the attributes.
  const auto objectHas = [this](const DtObjRegionSetRecord::Entry& entry) {
    const DtRtiObject* object = allObj(entry.handle);
    return !object || classHas(publishedClass(*object), entry.attributes);
  };
  const bool associations =
      record.byObject()
          ? std::all_of(record.associations.begin(), record.associations.end(), objectHas)
          : std::all_of(record.associations.begin(), record.associations.end(), [this](const auto& entry) {
              return fom_ && classHas(fom_->classByHandle(entry.handle), entry.attributes);
            });
  return associations && std::all_of(record.unowned.begin(), record.unowned.end(), objectHas);
}

void DtObjectDataDistMgr::restoreRegionSet(const DtObjRegionSetRecord& record) {
  const std::uint32_t handle = record.setHandle;
  // The table of the kind, its default set and whether the handle is taken
  // (the federate's subscription and passive sets share their handles).
  DtRegionSetList* table = nullptr;
  DtObjectRegionSet* defaultSet = nullptr;
  bool taken = false;
  switch (record.kind) {
    case DT_LOCAL_PUBLISH:
      table = &pubRegionSets_;
      defaultSet = handle == 0 ? defaultPub_.get() : nullptr;
      break;
    case DT_LOCAL_SUBSCRIBE:
      table = &subRegionSets_;
      defaultSet = handle == 0 ? defaultSub_.get() : nullptr;
      taken = pasRegionSets_.isMember(handle);
      break;
    case DT_PASSIVE_SUBSCRIBE:
      table = &pasRegionSets_;
      defaultSet = handle == 1 ? defaultPas_.get() : nullptr;
      taken = subRegionSets_.isMember(handle);
      break;
    case DT_REMOTE_PUBLISH:
      table = &remotePubRegionSets_;
      defaultSet = handle == 0 ? defaultRemotePub_.get() : nullptr;
      break;
    case DT_REMOTE_SUBSCRIBE:
      table = &remoteSubRegionSets_;
      defaultSet = handle == 0 ? defaultRemoteSub_.get() : nullptr;
      break;
    default: return;
  }
  const bool remote = record.kind == DT_REMOTE_PUBLISH || record.kind == DT_REMOTE_SUBSCRIBE;
  if (defaultSet) {
    if (remote) {
      restoreRemoteRegSet(record, *static_cast<DtRemoteRegionSet*>(defaultSet), true);
    } else {
      restoreLocalRegSet(record, *static_cast<DtLocalRegionSet*>(defaultSet), true);
    }
    return;
  }
  if (taken || table->isMember(handle)) {
    DtNotifyError("Restore %s discarding duplicate region set %lu\n", kindName(record.kind),
                  static_cast<unsigned long>(handle));
    return;
  }
  if (remote) {
    auto* set = new DtRemoteRegionSet();
    table->add(handle, set);  // the table owns it now
    restoreRemoteRegSet(record, *set, false);
    return;
  }
  DtLocalRegionSet* set = nullptr;
  if (record.kind == DT_LOCAL_PUBLISH) {
    set = new DtPubRegionSet();
  } else {
    set = new DtSubRegionSet();
  }
  table->add(handle, set);  // the table owns it now
  // New sets of this federate take handles after the restored ones.
  if (handle / DtFederateHandleRange::theHandlesPerFederate == fedHandle()) {
    regionSetCounter_ = std::max(regionSetCounter_, handle % DtFederateHandleRange::theHandlesPerFederate + 1);
  }
  restoreLocalRegSet(record, *set, false);
}

void DtObjectDataDistMgr::restoreLocalRegSet(const DtObjRegionSetRecord& record, DtLocalRegionSet& set,
                                             bool isDefault) {
  const bool publication = record.kind == DT_LOCAL_PUBLISH;
  const bool passive = record.kind == DT_PASSIVE_SUBSCRIBE;
  if (!isDefault) {
    set.setRegionSetHandle(record.setHandle);
    set.setFederateHandle(fedHandle());
    set.setAddress(record.address);
    if (publication && addrMap()) addrMap()->addLocalAddrMap(record.setHandle, record.address);
    for (const std::uint32_t handle : record.regions) {
      DtRegion* region = ddmMgr_ ? ddmMgr_->localRegion(handle) : nullptr;
      if (!region) {
        set.addRegion(handle);
        continue;
      }
      set.addRegion(region);
      if (publication) {
        region->addObjPubRegSet(&set);
      } else if (passive) {
        region->addObjPasRegSet(&set);
      } else {
        region->addObjSubRegSet(&set);
      }
    }
  }
  if (publication) {
    auto& pub = static_cast<DtPubRegionSet&>(set);
    for (const DtObjRegionSetRecord::Entry& entry : record.associations) {
      DtRtiObject* object = allObj(entry.handle);
      if (!object) continue;
      for (RTI::ULong i = 0; i < entry.attributes.size(); ++i) {
        const RTI::AttributeHandle attribute = entry.attributes.getHandle(i);
        object->setRegionSet(attribute, &pub);
        pub.addAttribute(object->objHandle(), object->objName(), object->knownClass(), attribute);
      }
    }
  } else {
    auto& sub = static_cast<DtSubRegionSet&>(set);
    for (const DtObjRegionSetRecord::Entry& entry : record.associations) {
      DtObjectClassInfo* cls = fom_->classByHandle(entry.handle);  // checked by knowsRecord
      for (RTI::ULong i = 0; i < entry.attributes.size(); ++i) {
        const RTI::AttributeHandle attribute = entry.attributes.getHandle(i);
        DtAttrInfo* info = cls->attrByHandle(attribute);
        if (passive) {
          info->setPasRegionSet(&sub);
        } else {
          info->setSubRegionSet(&sub);
        }
        sub.addAttribute(cls, attribute);
      }
      if (!entry.attributes.isEmpty()) cls->subscribeByRegion(record.setHandle, entry.attributes);
    }
  }
  for (const DtObjRegionSetRecord::Entry& entry : record.unowned) {
    DtRtiObject* object = allObj(entry.handle);
    if (!object) continue;
    for (RTI::ULong i = 0; i < entry.attributes.size(); ++i) {
      const RTI::AttributeHandle attribute = entry.attributes.getHandle(i);
      if (publication) object->setRegionSet(attribute, &static_cast<DtPubRegionSet&>(set));
      set.addUnownedAttribute(object->objHandle(), attribute);
    }
  }
}

void DtObjectDataDistMgr::restoreRemoteRegSet(const DtObjRegionSetRecord& record, DtRemoteRegionSet& set,
                                              bool isDefault) {
  const bool publication = record.kind == DT_REMOTE_PUBLISH;
  const std::uint32_t handle = record.setHandle;
  if (!isDefault) {
    set.setRegionSetHandle(handle);
    set.setAddress(record.address);
    set.setFederateHandle(record.federate);
    if (publication && addrMap()) addrMap()->addRemoteAddrMap(handle, record.address);
    for (const std::uint32_t regionHandle : record.regions) {
      DtRegion* region = nullptr;
      if (ddmMgr_) region = regionHandle == 0 ? &ddmMgr_->defaultRegion() : ddmMgr_->remoteRegion(regionHandle);
      takeRemoteRegion(set, regionHandle, region, publication);
    }
    if (publication) {
      evaluateRegionSetOverlap(subRegionSets_, subOverlaps_, subMatchOverlaps_, set, false, false);
      evaluateRegionSetOverlap(pasRegionSets_, subOverlaps_, subMatchOverlaps_, set, false, false);
      if (acceptObjectChannel(handle) && ddmMgr_) ddmMgr_->joinObjectRegionSet(set.address(), handle);
    } else {
      evaluateRegionSetOverlap(pubRegionSets_, pubOverlaps_, pubMatchOverlaps_, set, false, false);
    }
  }
  for (const DtObjRegionSetRecord::Entry& entry : record.associations) {
    if (!publication) {
      processAssocSubReg(&set, fom_->classByHandle(entry.handle), entry.attributes, record.federate);
      continue;
    }
    // Only objects known here: the others were never discovered, and an
    // association must not discover them while the federate restores.
    const DtRtiObject* object = knownObj(entry.handle);
    if (!object || !object->knownClass()) continue;
    processAssocPubReg(record.federate, &set, object->objHandle(), object->objName(), object->knownClass()->handle(),
                       entry.attributes, false);
  }
}
