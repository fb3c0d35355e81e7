#include "mom/DtMomPublisher.h"

#include "mom/DtMomObjectClasses.h"
#include "mom/DtMomSR.h"
#include "msg/DtObjectMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

DtMomPublisher::DtMomPublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr)
    : connectMgr_(connectMgr), fom_(fom), objMgr_(objMgr) {}

DtMomPublisher::~DtMomPublisher() { unlist(); }

void DtMomPublisher::unlist() {
  if (!object_ || !objMgr_) return;
  const std::uint32_t handle = object_->objHandle();
  // Only where the list holds this very record.
  if (objMgr_->knownObj(handle) == object_.get()) objMgr_->removeKnownObj(handle);
  if (objMgr_->ownedObj(handle) == object_.get()) objMgr_->removeOwnedObj(handle);
  if (objMgr_->lrcManagedObj(handle) == object_.get()) objMgr_->removeLrcManagedObj(handle);
  if (objMgr_->allObj(handle) == object_.get()) objMgr_->removeAllObj(handle);
}

RTI::Boolean DtMomPublisher::isObject(std::uint32_t objectHandle) const {
  return hasObject_ && objectHandle == objectHandle_ ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}

RTI::Boolean DtMomPublisher::isClass(std::uint32_t classHandle) const {
  return hasObject_ && classHandle == classHandle_ ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}

void DtMomPublisher::forceRegister() {
  const DtRtiObject* announced = object();
  if (!announced) return;
  DtRegObjMsg msg(announced->objHandle(), announced->objName(), announced->actualClassHandle(), momAttributes_,
                  nullptr);
  sendRegister(msg);
}

void DtMomPublisher::sendRegister(DtRegObjMsg& msg) {
  if (connectMgr_) connectMgr_->sendStampedAnonymous(msg, connectMgr_->internalTransportType(), 0);
}

void DtMomPublisher::forceUpdate(const RTI::AttributeHandleSet& requested) {
  DtRtiObject* updated = object();
  if (!updated || !record_) return;
  const std::unique_ptr<RTI::AttributeHandleValuePairSet> pairs = record_->forceUpdate(&requested);
  objMgr_->sendUpdate(updated, *pairs, nullptr, "", updateType_);
}

void DtMomPublisher::forceUpdate() {
  if (!momAttributes_.isEmpty()) forceUpdate(momAttributes_);
}

std::uint32_t DtMomPublisher::encodedLength() const {
  const DtRtiObject* saved = object();
  return saved ? saved->encodedLength() : 0;
}

void DtMomPublisher::encode(char* buffer) const {
  if (const DtRtiObject* saved = object()) saved->encode(buffer);
}

bool DtMomPublisher::decode(const DtSavePacket& record) {
  // Into a new record: the current one stays until the new one is taken.
  auto restored = std::make_unique<DtRtiObject>();
  if (!restored->decode(record, *fom_)) return false;
  if (record_ && restored->actualClassHandle() != record_->classHandle()) {
    DtNotifyError("MOM object %u (%s) is of class %u, not of the MOM's class %u; not restored\n", restored->objHandle(),
                  restored->objName(), restored->actualClassHandle(), record_->classHandle());
    return false;
  }
  DtRtiObject* current = object();
  for (DtRtiObject* holder : {objMgr_->allObj(restored->objHandle()), objMgr_->allObj(restored->objName())}) {
    if (holder && holder != current) {
      DtNotifyError("MOM object %u (%s) is another object's in this federate; not restored\n", restored->objHandle(),
                    restored->objName());
      return false;
    }
  }
  unlist();
  DtRtiObject* object = adopt(std::move(restored));
  if (object->isKnown()) objMgr_->addKnownObj(object);
  if (!object->ownedAttrs().isEmpty()) objMgr_->addOwnedObj(object);
  if (!object->lrcManagedAttrs().isEmpty()) objMgr_->addLrcManagedObj(object);
  return true;
}

DtObjectClassInfo& DtMomPublisher::momClass(const DtMomObjectClass& momClass) const {
  DtObjectClassInfo* cls = fom_->classByName(momClass.name);
  if (!cls) throw RTI::ObjectClassNotDefined(momClass.name);
  return *cls;
}

void DtMomPublisher::setMomAttributes(const DtMomObjectClass& momClass, const DtObjectClassInfo& cls) {
  momAttributes_ = DtAttributeHandleSet();
  for (const DtMomAttribute& attribute : momClass.attributes) {
    const DtAttrInfo* info = cls.attrByName(attribute.name);
    if (!info) throw RTI::NameNotFound(attribute.name);
    momAttributes_.add(info->handle());
  }
}

DtRtiObject* DtMomPublisher::adopt(std::unique_ptr<DtRtiObject> object) {
  objectHandle_ = object->objHandle();
  classHandle_ = object->actualClassHandle();
  hasObject_ = true;
  object_ = std::move(object);
  objMgr_->addAllObj(object_.get());
  return object_.get();
}
