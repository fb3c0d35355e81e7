// Registration of this federate's objects (announced in kind 21), discovery
// of the others' (from their registrations, or from updates of unknown
// objects), under the class itself or its nearest subscribed base class, and
// the exchange of the classes under which federates discovered objects
// (kinds 71 and 72).
#include <cctype>

#include "msg/DtObjectMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

// "hla" in any mix of case at the start of the name: a name only the RTI
// may give while it prefixes the names it makes.
bool hasHlaPrefix(const char* name) {
  static const char prefix[] = "hla";
  for (int i = 0; i < 3; ++i) {
    if (!name[i] || std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

// Registration ----------------------------------------------------------------

RTI::ObjectHandle DtObjectMgr::registerObj(RTI::ObjectClassHandle theClass) {
  // The handle is used up only when the registration goes through: the
  // checks come first.
  checkRegistration(theClass, nullptr);
  const std::uint32_t handle = uniqueHandle();
  return registerObj(theClass, handle, uniqueName(handle))->objHandle();
}

RTI::ObjectHandle DtObjectMgr::registerObj(RTI::ObjectClassHandle theClass, const char* name) {
  if (!name) name = "";
  checkRegistration(theClass, name);
  return registerObj(theClass, uniqueHandle(), name)->objHandle();
}

DtObjectClassInfo& DtObjectMgr::checkRegistration(RTI::ObjectClassHandle theClass, const char* name) const {
  if (name && useHlaNamePrefix() && hasHlaPrefix(name)) throw RTI::ObjectAlreadyRegistered("HLA prefix not allowed");
  DtObjectClassInfo& cls = definedClass(theClass);
  if (!cls.published()) throw RTI::ObjectClassNotPublished("");
  // Any record, a locally deleted one too: the others would drop a second
  // object of the name as a duplicate and never discover it.
  if (name && allObj(name)) throw RTI::ObjectAlreadyRegistered("");
  return cls;
}

DtRtiObject* DtObjectMgr::registerObj(RTI::ObjectClassHandle theClass, std::uint32_t handle, const char* name) {
  // A generated name passes the prefix check: the RTI makes it.
  DtObjectClassInfo& cls = definedClass(theClass);
  if (!cls.published()) throw RTI::ObjectClassNotPublished("");
  if (allObj(name)) throw RTI::ObjectAlreadyRegistered("");
  DtRtiObject* object = fileNewObject(cls, handle, name);
  sendRegister(object);
  return object;
}

DtRtiObject* DtObjectMgr::fileNewObject(DtObjectClassInfo& cls, std::uint32_t handle, const char* name) {
  auto* object = new DtRtiObject(handle, name, &cls);
  object->setOwnerHandle(fedHandle());
  addAllObj(object);
  addKnownObj(object);
  addOwnedObj(object);
  if (!object->lrcManagedAttrs().isEmpty()) addLrcManagedObj(object);
  return object;
}

void DtObjectMgr::sendRegisterMsg(DtRtiObject* object) {
  if (auto msg = makeMsg<DtRegObjMsg>(DtRegObjMsgKind)) {
    msg->set(object->objHandle(), object->objName(), object->actualClassHandle(), object->ownedAttrs());
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::processRegister(const DtRegObjMsg& msg) {
  const auto handle = static_cast<std::uint32_t>(msg.objHandle());
  DtRtiObject* object = knownObj(handle);
  if (msg.federateHandle() == fedHandle()) {
    // Our own registration, heard back (a rediscovery's answer included):
    // with discovered classes off, the owner gathers the subscriptions the
    // others made before the object existed.
    if (object && !object->isUpdateOn() && !settings().sendDiscoveredClass) collectRemoteSubscriptions(*object);
    return;
  }
  if (object) return;
  DtObjectClassInfo* actual = fom_ ? fom_->classByHandle(msg.classHandle()) : nullptr;
  DtObjectClassInfo* known = firstSubscribedClass(actual, 0);
  if (!known) return;
  const DtAttributeHandleSet attributes = known->subscribedAttrs(0).setIntersection(msg.attrHandles());
  // Nothing it announces is of interest here.
  if (attributes.isEmpty()) return;
  if ((object = discoverObject(handle, msg.objName(), actual, known, attributes))) {
    object->setOwnerHandle(msg.federateHandle());
  }
}

// Discovery -----------------------------------------------------------------------

DtObjectClassInfo* DtObjectMgr::firstSubscribedClass(DtObjectClassInfo* cls, std::uint32_t) {
  for (DtObjectClassInfo* at = cls; at; at = at->baseClass()) {
    if (at->subscribed() || !at->subscribedAttrs(0).isEmpty()) return at;
  }
  return nullptr;
}

DtRtiObject* DtObjectMgr::discoverObject(std::uint32_t handle, const char* name, DtObjectClassInfo* actual,
                                         DtObjectClassInfo* known, const DtAttributeHandleSet& attributes) {
  if (!name) name = "";
  if (DtRtiObject* holder = knownObj(name); holder && holder->objHandle() != handle) {
    DtNotifyError("Orvek RTI: Duplicate object name %s.\n", name);
    DtNotifyError(" Ignoring the second one, with handle %lu\n.", static_cast<unsigned long>(handle));
    return nullptr;
  }
  DtRtiObject* object = allObj(handle);
  if (object) {
    // Known before and deleted locally since: the same record comes back.
    object->setKnownClass(known);
  } else {
    object = new DtRtiObject(handle, name, actual, known);
    addAllObj(object);
  }
  addKnownObj(object);
  const RTI::ObjectClassHandle knownClass = object->knownClassHandle();
  const bool inScope = attributeScopeSwitch();
  if (inScope) object->addToScope(attributes);
  if (RTI::FederateAmbassador* amb = fedAmb()) amb->discoverObjectInstance(handle, knownClass, name);
  sendDiscoverMsg(handle, knownClass);
  if (inScope) {
    if (RTI::FederateAmbassador* amb = fedAmb()) amb->attributesInScope(handle, attributes);
  }
  // The federate may have deleted it in its callback.
  return knownObj(handle);
}

DtRtiObject* DtObjectMgr::processNewObj(std::uint32_t handle, RTI::ObjectClassHandle theClass, const char* name,
                                        const RTI::AttributeHandleValuePairSet& values, std::uint32_t channel) {
  DtAttributeHandleSet carried;
  for (RTI::ULong i = 0; i < values.size(); ++i) {
    const RTI::AttributeHandle h = values.getHandle(i);
    if (h < DtAttributeHandleSet::handleLimit) carried.add(h);
  }
  return processNewObj(handle, theClass, name, carried, channel);
}

DtRtiObject* DtObjectMgr::processNewObj(std::uint32_t handle, RTI::ObjectClassHandle theClass, const char* name,
                                        const DtAttributeHandleSet& attributes, std::uint32_t channel) {
  DtObjectClassInfo* actual = fom_ ? fom_->classByHandle(theClass) : nullptr;
  DtObjectClassInfo* known = firstSubscribedClass(actual, channel);
  if (!known) return nullptr;
  const DtAttributeHandleSet wanted = known->subscribedAttrs(channel).setIntersection(attributes);
  if (wanted.isEmpty()) return nullptr;
  return discoverObject(handle, name, actual, known, wanted);
}

// The classes under which the others discovered this federate's objects -------

void DtObjectMgr::sendDiscoverMsg(RTI::ObjectHandle object, RTI::ObjectClassHandle theClass) {
  if (!settings().sendDiscoveredClass) return;
  if (auto msg = makeMsg<DtDiscObjMsg>(DtDiscObjMsgKind)) {
    msg->set(object, theClass);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::sendRequestDiscoverMsg(RTI::ObjectHandle object) {
  if (!settings().sendDiscoveredClass) return;
  if (auto msg = makeMsg<DtReqDiscObjMsg>(DtReqDiscObjMsgKind)) {
    msg->set(object);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::processDiscover(const DtDiscObjMsg& msg) {
  DtRtiObject* object = ownedObj(static_cast<RTI::ObjectHandle>(msg.objHandle()));
  if (!object) return;
  const DtAttributeHandleSet before = object->updateOnAttrs();
  setDiscoveredClass(object, msg.federateHandle(), static_cast<RTI::ObjectClassHandle>(msg.classHandle()));
  const DtAttributeHandleSet on = object->updateOnAttrs().removeSetIntersection(before);
  RTI::FederateAmbassador* amb = attributeRelevanceSwitch() && !on.isEmpty() ? fedAmb() : nullptr;
  if (amb) amb->turnUpdatesOnForObjectInstance(object->objHandle(), on);
}

void DtObjectMgr::processRequestDiscover(const DtReqDiscObjMsg& msg) {
  if (const DtRtiObject* object = knownObj(static_cast<RTI::ObjectHandle>(msg.objHandle()))) {
    sendDiscoverMsg(object->objHandle(), object->knownClassHandle());
  }
}

void DtObjectMgr::setDiscoveredClass(DtRtiObject* object, std::uint32_t federate, RTI::ObjectClassHandle theClass) {
  const DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (!object || !cls) return;
  const DtAttributeHandleSet* subscription = cls->remoteSubscription(federate);
  object->setDiscoveredClass(federate, static_cast<std::uint32_t>(theClass));
  if (subscription) object->remoteSubscribe(federate, *subscription);
}

void DtObjectMgr::collectRemoteSubscriptions(DtRtiObject& object) {
  const DtAttributeHandleSet before = object.updateOnAttrs();
  for (const DtObjectClassInfo* cls = object.actualClass(); cls; cls = cls->baseClass()) {
    for (const auto& [federate, attributes] : cls->subscribedFederates()) object.remoteSubscribe(federate, attributes);
  }
  const DtAttributeHandleSet on = object.updateOnAttrs().removeSetIntersection(before);
  RTI::FederateAmbassador* amb = attributeRelevanceSwitch() && !on.isEmpty() ? fedAmb() : nullptr;
  if (amb) amb->turnUpdatesOnForObjectInstance(object.objHandle(), on);
}
