// The object record's save record (type 5): what it holds and how it is read
// back.
#include <cstring>

#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

std::uint32_t DtRtiObject::encodedLength() const {
  return DtObjectPacket::length(discovered_.size(), static_cast<std::uint32_t>(requestCount()),
                                static_cast<std::uint32_t>(std::strlen(objName()) + 1));
}

DtSavePacketBuilder DtRtiObject::saveRecord() const {
  using Record = DtObjectPacket;
  DtSavePacketBuilder record(Record::theType, encodedLength());
  record.setU32(Record::objectAt, handle_);
  record.setU32(Record::ownerAt, owner_);
  record.setU32(Record::actualClassAt, actualClassHandle_);
  record.setU32(Record::knownClassAt, knownClassHandle_);
  record.setU32(Record::knownAt, known_ ? 1 : 0);
  const std::uint32_t nameSize = static_cast<std::uint32_t>(std::strlen(objName()) + 1);
  record.setU32(Record::nameSizeAt, nameSize);
  record.setHandleMap(Record::orderMapAt, attrs_.timestampAttrs());
  record.setHandleMap(Record::transportMapAt, attrs_.reliableAttrs());
  record.setHandleSet(Record::ownedAt, owned_);
  record.setHandleSet(Record::rtiOwnedAt, rtiOwned_);
  record.setHandleSet(Record::lrcManagedAt, lrcManaged_);
  record.setHandleSet(Record::divestingAt, divesting_);
  record.setHandleSet(Record::inScopeAt, inScope_);
  record.setHandleSet(Record::updatesOnAt, updatesOn_);
  record.setHandleSet(Record::uncondRequestedAt, uncondRequested_);
  record.setHandleSet(Record::ifAvailRequestedAt, ifAvailRequested_);
  record.setHandleSet(Record::cancelledAt, requests_.canceledRequestSet());
  record.setU32(Record::discoveredCountAt, discovered_.size());
  record.setU32(Record::requestCountAt, static_cast<std::uint32_t>(requestCount()));
  std::uint32_t at = Record::entriesAt;
  for (const auto& [federate, cls] : discovered_) {
    record.setU32(at, federate);
    record.setU32(at + 4, cls);
    at += 8;
  }
  const DtAttributeHandleSet& requested = requests_.requestedAttrs();
  for (RTI::ULong i = 0; i < requested.size(); ++i) {
    const RTI::AttributeHandle a = requested.getHandle(i);
    record.setU32(at, static_cast<std::uint32_t>(a));
    record.setU32(at + 4, requests_.pendingRemoteRequest(a));
    at += 8;
  }
  record.setBytes(at, objName(), nameSize);
  return record;
}

void DtRtiObject::encode(char* buffer) const {
  const DtSavePacketBuilder record = saveRecord();
  std::memcpy(buffer, record.bytes().data(), record.bytes().size());
}

bool DtRtiObject::decode(const DtSavePacket& record, const DtFomClassMgr& fom) {
  using Record = DtObjectPacket;
  if (record.type() != Record::theType) {
    DtNotifyError("Bad packet type found when restoring object\n");
    return false;
  }
  if (!Record::complete(record)) {
    DtNotifyError("Damaged object record found when restoring object (%u bytes); not restored\n", record.size());
    return false;
  }
  DtObjectClassInfo* actual = fom.classByHandle(record.u32(Record::actualClassAt));
  DtObjectClassInfo* known = fom.classByHandle(record.u32(Record::knownClassAt));
  if (!actual || !known) {
    DtNotifyError("Object %u names class %u, which the object model does not have; not restored\n",
                  record.u32(Record::objectAt), record.u32(actual ? Record::knownClassAt : Record::actualClassAt));
    return false;
  }

  handle_ = record.u32(Record::objectAt);
  known_ = record.u32(Record::knownAt) != 0;
  actualClass_ = actual;
  actualClassHandle_ = actual->handle();
  setKnownClass(known);
  setOwnerHandle(record.u32(Record::ownerAt));

  // Only the actual class's attributes are taken in.
  const DtAttributeHandleSet& all = actual->allAttrs();
  attrs_ = DtObjectAttrTable(*actual, record.handleMap(Record::transportMapAt), record.handleMap(Record::orderMapAt));

  requests_ = DtRequestDatabase();
  requests_.cancelRemoteRequest(record.handleSet(Record::cancelledAt).setIntersection(all));
  owned_ = record.handleSet(Record::ownedAt).setIntersection(all);
  lrcManaged_ = record.handleSet(Record::lrcManagedAt).setIntersection(all);
  rtiOwned_ = record.handleSet(Record::rtiOwnedAt).setIntersection(all);
  divesting_ = record.handleSet(Record::divestingAt).setIntersection(all);
  inScope_ = record.handleSet(Record::inScopeAt).setIntersection(all);
  updatesOn_ = record.handleSet(Record::updatesOnAt).setIntersection(all);
  uncondRequested_ = record.handleSet(Record::uncondRequestedAt).setIntersection(all);
  ifAvailRequested_ = record.handleSet(Record::ifAvailRequestedAt).setIntersection(all);

  // The federates' subscriptions come back from the classes they know it
  // by; an entry of a class the model does not have is passed over.
  discovered_.clear();
  const std::uint32_t discoveredCount = record.u32(Record::discoveredCountAt);
  std::uint32_t at = Record::entriesAt;
  for (std::uint32_t k = 0; k < discoveredCount; ++k, at += 8) {
    const std::uint32_t federate = record.u32(at);
    const std::uint32_t classHandle = record.u32(at + 4);
    const DtObjectClassInfo* cls = fom.classByHandle(classHandle);
    if (!cls) continue;
    setDiscoveredClass(federate, classHandle);
    if (const DtAttributeHandleSet* subscription = cls->remoteSubscription(federate)) {
      remoteSubscribe(federate, *subscription);
    }
  }
  const std::uint32_t requestCount = record.u32(Record::requestCountAt);
  for (std::uint32_t k = 0; k < requestCount; ++k, at += 8) {
    const std::uint32_t attribute = record.u32(at);
    if (!all.isMember(attribute)) continue;
    DtAttributeHandleSet one;
    one.add(attribute);
    requests_.addRemoteRequest(one, record.u32(at + 4));
  }
  setObjName(record.bytes().data() + at);
  return true;
}
