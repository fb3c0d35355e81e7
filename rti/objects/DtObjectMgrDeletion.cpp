// Deletion of objects (kinds 2 and 47) and their removal at the others,
// local deletion (kind 22) and the owner's answer to it, and what happens to
// objects when this federate or another one resigns.
#include <string>

#include "msg/DtFederationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "objects/DtTimedDelivery.h"
#include "util/DtNotify.h"

std::uint32_t DtObjectMgr::deleteObj(RTI::ObjectHandle object, const RTI::FedTime* time, const char* tag) {
  DtRtiObject& o = knownObject(object);
  if (!o.ownPriviledgeToDelete()) throw RTI::DeletePrivilegeNotHeld("");
  DtOrderType order = DtReceiveOrder;
  if (time && timeMgr_ && timeMgr_->regulating()) order = o.attrOrder(0);
  // A time-stamped deletion keeps the record until the deletion is due.
  if (order == DtReceiveOrder) {
    removeObjAssociations(o);
    deleteObj(&o);
  }
  return sendDeleteMsg(object, order, time, tag);
}

std::uint32_t DtObjectMgr::sendDeleteMsg(RTI::ObjectHandle object, DtOrderType order, const RTI::FedTime* time,
                                         const char* tag) {
  if (time && timeMgr_) {
    const std::uint32_t serial = order == DtTimestampOrder ? timeMgr_->takeSerialNumber() : 0;
    if (auto msg = makeMsg<DtDeleteTsoMsg>(DtDeleteTsoMsgKind)) {
      msg->set(object, order, *time, tag, serial);
      sendInternal(std::move(msg));
    }
    return serial;
  }
  if (auto msg = makeMsg<DtDeleteRoMsg>(DtDeleteRoMsgKind)) {
    msg->set(object, tag);
    sendInternal(std::move(msg));
  }
  return 0;
}

void DtObjectMgr::localDeleteObj(RTI::ObjectHandle object) {
  DtRtiObject& o = knownObject(object);
  if (!o.ownedAttrs().isEmpty()) throw RTI::FederateOwnsAttributes("");
  if (!lrcManagedObj(object) && o.rtiOwnedAttrs().isEmpty()) {
    deleteObj(&o);
  } else {
    // Its attributes are held here for the federation: the record stays,
    // unknown.
    removeKnownObj(object);
  }
  sendLocalDeleteMsg(object);
}

void DtObjectMgr::sendLocalDeleteMsg(RTI::ObjectHandle object) {
  if (auto msg = makeMsg<DtLocDelMsg>(DtLocDelMsgKind)) {
    msg->set(object);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::processDelete(const DtDeleteMsg& msg) {
  const auto handle = static_cast<RTI::ObjectHandle>(msg.id());
  DtRtiObject* object = knownObj(handle);
  if (!object) {
    // A record this federate does not know holds attributes for the
    // federation (handed over, or kept after a local deletion): they go
    // with the object, unseen.
    deleteObj(allObj(handle));
    return;
  }
  if (object->ownPriviledgeToDelete()) {
    // Our own deletion come due (a time-stamped one): no callback.
    removeObjAssociations(*object);
    deleteObj(object);
    return;
  }
  RTI::FederateAmbassador* amb = fedAmb();
  const char* tag = msg.tag();
  if (!tag) tag = "";
  if (amb) DtNoteDelivered(msg, timeMgr_);
  if (amb && DtDeliversTimed(msg, timeMgr_)) {
    amb->removeObjectInstance(handle, msg.time(), tag, DtRetractionHandleOf(msg));
  } else if (amb) {
    amb->removeObjectInstance(handle, tag);
  }
  // Looked up again: the federate may have deleted it locally meanwhile.
  deleteObj(allObj(handle));
}

void DtObjectMgr::processLocDelete(const DtLocDelMsg& msg) {
  DtRtiObject* object = ownedObj(static_cast<RTI::ObjectHandle>(msg.objHandle()));
  if (!object || object->ownedAttrs().isEmpty()) return;
  // The federate that forgot the object hears of it again at once.
  resendRegister(object);
  object->removeDiscoveredClass(msg.federateHandle());
}

// Resignation -----------------------------------------------------------------------

void DtObjectMgr::prepareToResign(RTI::ResignAction action) {
  const bool deleting = action == RTI::DELETE_OBJECTS || action == RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES;
  all_.forEach([&](DtRtiObject& object) {
    if (deleting && object.ownPriviledgeToDelete()) {
      const RTI::ObjectHandle handle = object.objHandle();
      // Read before the deletion, which frees the record.
      const std::string name = object.objName();
      try {
        deleteObj(handle, nullptr, "Resign action was delete.");
      } catch (const RTI::Exception& e) {
        DtNotifyError("Exception deleting owned object %s(%lu) %s %s\n", name.c_str(),
                      static_cast<unsigned long>(handle), e._name ? e._name : "", e._reason ? e._reason : "");
      }
      return;
    }
    if (deleting && settings().deleteOrphans && object.lrcManaged(0)) {
      // Every federate records the component that holds an object's
      // privilege to delete as its owner, and removes the object as
      // orphaned when that federate resigns deleting: handed over, it would
      // live on hidden at whoever takes it.
      deleteObj(&object);
      return;
    }
    releaseAllAttributes(object);
    if (object.rtiOwnedAttrs().isEmpty()) deleteObj(&object);
  });
}

void DtObjectMgr::processResign(const DtResignMsg& msg) {
  const std::uint32_t federate = msg.federateHandle();
  if (federate == fedHandle()) return;
  if (fom_) {
    for (int c = 0; c < fom_->numClasses(); ++c) {
      if (DtObjectClassInfo* cls = fom_->classByHandle(static_cast<RTI::ObjectClassHandle>(c))) {
        cls->remoteUnsubscribe(federate, this);
      }
    }
  }
  const RTI::ResignAction action = msg.resignAction();
  const bool orphans = settings().deleteOrphans &&
                       (action == RTI::DELETE_OBJECTS || action == RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  all_.forEach([&](DtRtiObject& object) {
    const RTI::ObjectHandle handle = object.objHandle();
    const DtAttributeHandleSet requested = object.requestedByFed(federate);
    if (!requested.isEmpty()) object.cancelRemoteRequest(requested);
    if (orphans && object.ownerHandle() == federate) {
      // Told only to a federate that knows the object (not after a local
      // deletion); the record goes after the callback, looked up again.
      RTI::FederateAmbassador* amb = object.isKnown() ? fedAmb() : nullptr;
      if (amb) amb->removeObjectInstance(handle, "Appears to have been orphaned.");
      deleteObj(allObj(handle));
      return;
    }
    // Its subscriptions of this federate's objects end with it.
    if (ownedObj(handle)) {
      const DtAttributeHandleSet before = object.updateOnAttrs();
      object.remoteUnsubscribe(federate);
      adviseUpdates(object, before);
    }
  });
}
