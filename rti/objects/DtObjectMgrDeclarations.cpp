// Object class declarations: this federate's publications and
// subscriptions and the messages that announce them (kinds 14 to 17), the
// class multicast groups, and what other federates' declarations change
// here.
#include "config/DtRIDParameters.h"
#include "msg/DtDeclarationMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

// Every handle of the set names an attribute of the class.
void throwIfNotDefined(const DtObjectClassInfo& cls, const RTI::AttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    if (!cls.allAttrs().isMember(attributes.getHandle(i))) throw RTI::AttributeNotDefined("");
  }
}

}  // namespace

bool DtObjectMgr::subscribed(RTI::ObjectClassHandle theClass) const {
  const DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  return cls && cls->subscribed();
}

bool DtObjectMgr::published(RTI::ObjectClassHandle theClass) const {
  const DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  return cls && cls->published();
}

// Services --------------------------------------------------------------------

void DtObjectMgr::publish(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes) {
  DtObjectClassInfo& cls = definedClass(theClass);
  // Checked before anything changes (the instances divested below included).
  throwIfNotDefined(cls, attributes);
  DtAttributeHandleSet published(attributes);
  // Whoever publishes anything of a class may delete its objects.
  if (!published.isEmpty()) published.add(0);
  const DtAttributeHandleSet dropped = cls.publishedAttrs().removeSetIntersection(published);
  throwIfAcquisitionPending(theClass, dropped);
  divestAllInstances(theClass, dropped);
  cls.publish(published, this);
  sendPublishMsg(theClass, published);
}

void DtObjectMgr::unpublish(RTI::ObjectClassHandle theClass) {
  DtObjectClassInfo& cls = definedClass(theClass);
  if (!cls.published()) throw RTI::ObjectClassNotPublished("");
  throwIfAcquisitionPending(theClass, cls.allAttrs());
  divestAllInstances(theClass, cls.allAttrs());
  cls.unpublish(this);
  sendUnpublishMsg(theClass);
}

void DtObjectMgr::subscribe(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes,
                            RTI::Boolean active) {
  DtObjectClassInfo& cls = definedClass(theClass);
  const bool wasSubscribed = cls.subscribed();
  const char passive = active == RTI::RTI_FALSE ? 1 : 0;
  cls.subscribe(attributes, passive != 0);
  // Replacement: the new set takes the place of this federate's earlier
  // subscription to the class.
  sendSubscribeMsg(theClass, passive, 1, attributes);
  if (!wasSubscribed && settings().useDMFiltering) addClassMulticast(&cls);
}

void DtObjectMgr::unsubscribe(RTI::ObjectClassHandle theClass) {
  DtObjectClassInfo& cls = definedClass(theClass);
  if (!cls.subscribed()) throw RTI::ObjectClassNotSubscribed("");
  cls.unsubscribe();
  sendUnsubscribeMsg(theClass);
  if (settings().useDMFiltering) removeClassMulticast(&cls);
}

// Messages sent ------------------------------------------------------------------

void DtObjectMgr::sendPublishMsg(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes) {
  if (auto msg = makeMsg<DtPubObjMsg>(DtPubObjMsgKind)) {
    msg->set(theClass, attributes);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::sendUnpublishMsg(RTI::ObjectClassHandle theClass) {
  if (auto msg = makeMsg<DtUnpubObjMsg>(DtUnpubObjMsgKind)) {
    msg->set(theClass);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::sendSubscribeMsg(RTI::ObjectClassHandle theClass, char isPassive, char replacement,
                                   const RTI::AttributeHandleSet& attributes) {
  if (auto msg = makeMsg<DtSubObjMsg>(DtSubObjMsgKind)) {
    msg->set(theClass, isPassive, replacement, attributes);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::sendUnsubscribeMsg(RTI::ObjectClassHandle theClass) {
  if (auto msg = makeMsg<DtUnsubObjMsg>(DtUnsubObjMsgKind)) {
    msg->set(theClass);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::addClassMulticast(DtObjectClassInfo* cls) { classGroups_.add(connectMgr_, cls); }

void DtObjectMgr::removeClassMulticast(DtObjectClassInfo* cls) { classGroups_.remove(connectMgr_, cls); }

// Other federates' declarations ---------------------------------------------------

void DtObjectMgr::processPub(const DtPubObjMsg& msg) {
  if (msg.federateHandle() == fedHandle()) return;
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(msg.objectClassHandle()) : nullptr;
  if (!cls) {
    DtNotifyInfo("Ignoring publish message for undefined class %lu\n", msg.objectClassHandle());
    return;
  }
  // The new publisher learns of this federate's active subscriptions of the
  // class and of every base class.
  for (DtObjectClassInfo* at = cls; at; at = at->baseClass()) {
    if (at->subscribed() && !at->isPassive()) sendSubscribeMsg(at->handle(), 0, 1, at->subscribedAttrs(0));
    checkForRegionalSubscribe(*at);
  }
}

void DtObjectMgr::processUnpub(const DtUnpubObjMsg&) {}

void DtObjectMgr::processSub(const DtSubObjMsg& msg) {
  const std::uint32_t federate = msg.federateHandle();
  if (federate == fedHandle()) return;
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(msg.objectClassHandle()) : nullptr;
  if (!cls) {
    DtNotifyInfo("Ignoring subscribe message for undefined class %lu\n", msg.objectClassHandle());
    return;
  }
  const DtAttributeHandleSet attributes(msg.attrHandles());
  if (msg.isPassive()) {
    // A passive subscriber is told of objects but never turns updates on.
    cls->remotePassiveSubscribe(attributes, federate, msg.replacement() != 0, this);
    remoteUnsubscribe(cls->handle(), federate);
  } else {
    // The objects first: they compare with the federate's earlier
    // subscription, which the class record then replaces.
    remoteSubscribe(*cls, attributes, federate);
    cls->remoteSubscribe(attributes, federate, this);
  }
}

void DtObjectMgr::processUnsub(const DtUnsubObjMsg& msg) {
  const std::uint32_t federate = msg.federateHandle();
  if (federate == fedHandle()) return;
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(msg.handle()) : nullptr;
  if (!cls) {
    DtNotifyInfo("Ignoring unsubscribe message for undefined class %lu\n", msg.handle());
    return;
  }
  cls->remoteUnsubscribe(federate, this);
  remoteUnsubscribe(cls->handle(), federate);
}

void DtObjectMgr::remoteSubscribe(DtObjectClassInfo& cls, const RTI::AttributeHandleSet& attributes,
                                  std::uint32_t federate) {
  const DtAttributeHandleSet* previous = cls.remoteSubscription(federate);
  const DtAttributeHandleSet dropped = previous ? previous->removeSetIntersection(attributes) : DtAttributeHandleSet();
  const std::uint32_t theClass = cls.handle();
  owned_.forEach([&](DtRtiObject& object) {
    const bool matches =
        settings().sendDiscoveredClass ? object.discoveredClass(federate) == theClass : object.isOfKnownClass(theClass);
    if (!matches) return;
    const DtAttributeHandleSet before = object.updateOnAttrs();
    if (!dropped.isEmpty()) object.remoteUnsubscribe(federate, dropped);
    object.remoteSubscribe(federate, attributes);
    adviseUpdates(object, before);
  });
}

void DtObjectMgr::remoteUnsubscribe(RTI::ObjectClassHandle theClass, std::uint32_t federate) {
  const bool discoveredClasses = settings().sendDiscoveredClass;
  owned_.forEach([&](DtRtiObject& object) {
    // With discovered classes the owner knows the class each federate knows
    // the object by. Without them, the federate knows an object of a
    // subclass by the class it unsubscribes, unless it subscribes a nearer
    // one, whose subscription then stays.
    const bool matches = discoveredClasses
                             ? object.isDiscovered(federate) && object.discoveredClass(federate) == theClass
                             : object.isOfKnownClass(theClass);
    if (!matches) return;
    const DtAttributeHandleSet before = object.updateOnAttrs();
    object.remoteUnsubscribe(federate);
    if (!discoveredClasses) {
      for (const DtObjectClassInfo* cls = object.actualClass(); cls; cls = cls->baseClass()) {
        if (const DtAttributeHandleSet* nearer = cls->remoteSubscription(federate)) {
          object.remoteSubscribe(federate, *nearer);
          break;
        }
      }
    }
    adviseUpdates(object, before);
  });
}

void DtObjectMgr::adviseUpdates(const DtRtiObject& object, const DtAttributeHandleSet& before) {
  if (!attributeRelevanceSwitch()) return;
  // Both worked out before either call: the federate may delete the object
  // in the first.
  const std::uint32_t handle = object.objHandle();
  const DtAttributeHandleSet now = object.updateOnAttrs();
  const DtAttributeHandleSet on = now.removeSetIntersection(before);
  const DtAttributeHandleSet off = before.removeSetIntersection(now);
  if (RTI::FederateAmbassador* amb = on.isEmpty() ? nullptr : fedAmb()) amb->turnUpdatesOnForObjectInstance(handle, on);
  if (RTI::FederateAmbassador* amb = off.isEmpty() ? nullptr : fedAmb()) {
    amb->turnUpdatesOffForObjectInstance(handle, off);
  }
}
