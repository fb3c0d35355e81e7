// The object manager's share of a federation save: its own record, the
// objects' records and the end record, and reading them back.
#include <memory>
#include <vector>

#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

bool DtObjectMgr::save(DtRtiSaveFile& file) const {
  using Record = DtObjectMgrPacket;
  DtSavePacketBuilder record(Record::theType, Record::theLength);
  record.setU8(Record::firstSwitchAt, classRelevanceSwitch_);
  record.setU8(Record::secondSwitchAt, attributeRelevanceSwitch_);
  record.setU8(Record::thirdSwitchAt, attributeScopeSwitch_);
  record.setU32(Record::counterAt, handleCounter_);
  bool written = file.writePacket(record);
  written = saveObjectList(file) && written;
  return file.writePacket(DtSavePacketBuilder(DtEndPacket::theType, DtEndPacket::listEndLength)) && written;
}

bool DtObjectMgr::saveObjectList(DtRtiSaveFile& file) const {
  // The records go to the file a batch at a time, each batch flushed: a
  // manager of many objects is saved without a write for every object.
  constexpr std::size_t batchSize = 1 << 16;
  std::vector<char> batch;
  bool written = true;
  auto writeBatch = [&] {
    if (!batch.empty()) written = file.writePacket(batch.data(), static_cast<int>(batch.size())) && written;
    batch.clear();
  };
  for (const DtListItem* item = all_.list().head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    // An object whose privilege to delete the RTI holds is no federate's.
    if (object->rtiOwned(0)) continue;
    const DtSavePacketBuilder record = object->saveRecord();
    if (batch.size() + record.bytes().size() > batchSize) writeBatch();
    batch.insert(batch.end(), record.bytes().begin(), record.bytes().end());
  }
  writeBatch();
  return written;
}

bool DtObjectMgr::restore(DtRtiSaveFile& file) {
  using Record = DtObjectMgrPacket;
  const DtSavePacket* record = file.readNextPacket();
  if (!record || record->type() != Record::theType) {
    DtNotifyError("ObjMgr received an incorrect save packet, restore aborted\n");
    return false;
  }
  if (record->size() != Record::theLength || record->length() != Record::theLength) {
    DtNotifyError("ObjMgr received a damaged save packet (%u bytes), restore aborted\n", record->size());
    return false;
  }
  const std::uint8_t classRelevance = record->u8(Record::firstSwitchAt);
  const std::uint8_t attributeRelevance = record->u8(Record::secondSwitchAt);
  const std::uint8_t attributeScope = record->u8(Record::thirdSwitchAt);
  const std::uint32_t counter = record->u32(Record::counterAt);
  destroyObjectLists();
  classRelevanceSwitch_ = classRelevance ? 1 : 0;
  attributeRelevanceSwitch_ = attributeRelevance ? 1 : 0;
  attributeScopeSwitch_ = attributeScope ? 1 : 0;
  handleCounter_ = counter;
  const bool restored = restoreObjectList(file);
  rejoinClassGroups();
  return restored;
}

bool DtObjectMgr::restoreObjectList(DtRtiSaveFile& file) {
  for (;;) {
    const DtSavePacket* record = file.readNextPacket();
    if (!record) {
      DtNotifyError("ObjMgr: the save file ends before the end of the objects, restore aborted\n");
      return false;
    }
    if (record->type() == DtEndPacket::theType) return true;
    if (record->type() != DtObjectPacket::theType) {
      DtNotifyError("Bad packet type found when restoring objects\n");
      return false;
    }
    auto object = std::make_unique<DtRtiObject>();
    if (!fom_ || !object->decode(*record, *fom_)) return false;
    // A save never writes the RTI's own objects here (their owners save
    // them); taking one would leave a record that nobody deletes.
    if (object->rtiOwned(0)) {
      DtNotifyError("ObjMgr: object %u (%s) is the RTI's, restore aborted\n", object->objHandle(), object->objName());
      return false;
    }
    if (!all_.addNew(object.get())) {
      DtNotifyError("ObjMgr: object %u (%s) is saved twice, restore aborted\n", object->objHandle(), object->objName());
      return false;
    }
    DtRtiObject* restored = object.release();
    if (restored->isKnown()) addKnownObj(restored);
    if (!restored->ownedAttrs().isEmpty()) addOwnedObj(restored);
    if (!restored->lrcManagedAttrs().isEmpty()) addLrcManagedObj(restored);
  }
}

void DtObjectMgr::rejoinClassGroups() {
  classGroups_.leaveAll(connectMgr_);
  if (!settings().useDMFiltering || !fom_) return;
  for (int h = 0; h < fom_->numClasses(); ++h) {
    DtObjectClassInfo* cls = fom_->classByHandle(static_cast<RTI::ObjectClassHandle>(h));
    if (cls && cls->subscribed()) addClassMulticast(cls);
  }
}
