#include "objects/DtRtiObject.h"

#include <cstring>

#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtPubRegionSetView.h"
#include "util/DtNotify.h"

namespace {

template <class Fn>
void forEach(const RTI::AttributeHandleSet& attributes, Fn fn) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) fn(attributes.getHandle(i));
}

std::unique_ptr<char[]> copyOf(const char* text) {
  if (!text) return nullptr;
  const std::size_t length = std::strlen(text);
  std::unique_ptr<char[]> copy(new char[length + 1]);
  std::memcpy(copy.get(), text, length + 1);
  return copy;
}

}  // namespace

DtRtiObject::DtRtiObject() = default;

DtRtiObject::DtRtiObject(std::uint32_t handle, const char* name, DtObjectClassInfo* actual, DtObjectClassInfo* known)
    : handle_(handle),
      actualClassHandle_(actual ? actual->handle() : 0),
      knownClassHandle_(known ? known->handle() : 0),
      name_(copyOf(name)),
      actualClass_(actual),
      knownClass_(known),
      attrs_(actual ? DtObjectAttrTable(*actual) : DtObjectAttrTable()) {}

DtRtiObject::DtRtiObject(std::uint32_t handle, const char* name, DtObjectClassInfo* cls)
    : DtRtiObject(handle, name, cls, cls) {
  if (!cls) return;
  owned_ = cls->publishedAttrs();
  lrcManaged_ = cls->allAttrs().removeSetIntersection(owned_);
}

DtRtiObject::DtRtiObject(const DtRtiObject& other) : owner_(other.owner_) { copyFrom(other); }

DtRtiObject& DtRtiObject::operator=(const DtRtiObject& other) {
  if (this != &other) copyFrom(other);
  return *this;
}

DtRtiObject::~DtRtiObject() = default;

void DtRtiObject::copyFrom(const DtRtiObject& other) {
  handle_ = other.handle_;
  actualClassHandle_ = other.actualClassHandle_;
  knownClassHandle_ = other.knownClassHandle_;
  actualClass_ = other.actualClass_;
  knownClass_ = other.knownClass_;
  known_ = other.known_;
  name_ = copyOf(other.name_.get());
  owned_ = other.owned_;
  lrcManaged_ = other.lrcManaged_;
  rtiOwned_ = other.rtiOwned_;
  uncondRequested_ = other.uncondRequested_;
  ifAvailRequested_ = other.ifAvailRequested_;
  divesting_ = other.divesting_;
  requestSerials_ = other.requestSerials_;
  lastRequestSerial_ = other.lastRequestSerial_;
  attrs_ = other.attrs_.withoutSubscribers();
}

// ---- identity

void DtRtiObject::setObjName(const char* name) { name_ = copyOf(name); }

void DtRtiObject::setKnownClass(DtObjectClassInfo* cls) {
  knownClass_ = cls;
  knownClassHandle_ = cls ? cls->handle() : 0;
}

bool DtRtiObject::isOfActualClass(std::uint32_t classHandle) const {
  return actualClass_ && actualClass_->isOfClass(classHandle);
}

bool DtRtiObject::isOfKnownClass(std::uint32_t classHandle) const {
  return knownClass_ && knownClass_->isOfClass(classHandle);
}

void DtRtiObject::setDiscoveredClass(std::uint32_t federate, std::uint32_t classHandle) {
  discovered_.put(federate, classHandle);
}

std::uint32_t DtRtiObject::discoveredClass(std::uint32_t federate) const {
  if (!theUseDiscoveredClass) return knownClassHandle_;
  const std::uint32_t* cls = discovered_.find(federate);
  return cls ? *cls : 0;
}

bool DtRtiObject::isDiscovered(std::uint32_t federate) const {
  return !theUseDiscoveredClass || discovered_.contains(federate);
}

// ---- ownership

void DtRtiObject::takeAttrs(const RTI::AttributeHandleSet& attributes) {
  owned_ = owned_.setUnion(attributes);
  removeRequest(attributes);
  forEach(attributes, [this](RTI::AttributeHandle a) {
    if (!attrs_.contains(a)) return;
    // Inherited attributes keep their handles, so the known class (a base
    // of the actual one) decides where it has the attribute.
    const DtObjectClassInfo* cls = knownClass_ && a < knownClass_->numAttributes() ? knownClass_ : actualClass_;
    if (!cls) return;
    attrs_.setTransport(a, cls->attrTransport(a));
    attrs_.setOrder(a, cls->attrOrder(a));
  });
}

void DtRtiObject::releaseAttrs(const RTI::AttributeHandleSet& attributes) {
  removeDivesting(attributes);
  requests_.removeRemoteRequest(attributes);
  requests_.removeCanceledRequests(attributes);
  owned_ = owned_.removeSetIntersection(attributes);
}

void DtRtiObject::giveToLrc(const RTI::AttributeHandleSet& attributes) {
  releaseAttrs(attributes);
  lrcManaged_ = lrcManaged_.setUnion(attributes);
}

void DtRtiObject::takeFromLrc(const RTI::AttributeHandleSet& attributes) {
  lrcUnmanage(attributes);
  takeAttrs(attributes);
}

void DtRtiObject::lrcUnmanage(const RTI::AttributeHandleSet& attributes) {
  lrcManaged_ = lrcManaged_.removeSetIntersection(attributes);
}

void DtRtiObject::giveToRti(const RTI::AttributeHandleSet& attributes) {
  owned_ = owned_.removeSetIntersection(attributes);
  lrcManaged_ = lrcManaged_.removeSetIntersection(attributes);
  rtiOwned_ = rtiOwned_.setUnion(attributes);
}

void DtRtiObject::addRequest(const RTI::AttributeHandleSet& attributes, bool ifAvailable) {
  if (ifAvailable) {
    ifAvailRequested_ = ifAvailRequested_.setUnion(attributes);
  } else {
    uncondRequested_ = uncondRequested_.setUnion(attributes);
    ifAvailRequested_ = ifAvailRequested_.removeSetIntersection(attributes);
  }
}

void DtRtiObject::removeRequest(const RTI::AttributeHandleSet& attributes) {
  uncondRequested_ = uncondRequested_.removeSetIntersection(attributes);
  ifAvailRequested_ = ifAvailRequested_.removeSetIntersection(attributes);
  forEach(attributes, [this](RTI::AttributeHandle a) { requestSerials_.remove(a); });
}

std::uint32_t DtRtiObject::numberRequest(const RTI::AttributeHandleSet& attributes) {
  const std::uint32_t serial = ++lastRequestSerial_;
  forEach(attributes, [&](RTI::AttributeHandle a) { requestSerials_.put(a, serial); });
  return serial;
}

DtAttributeHandleSet DtRtiObject::requestsUpTo(const RTI::AttributeHandleSet& attributes, std::uint32_t serial) const {
  DtAttributeHandleSet result;
  forEach(attributes, [&](RTI::AttributeHandle a) {
    const std::uint32_t* latest = requestSerials_.find(a);
    if (!latest || *latest <= serial) result.add(a);
  });
  return result;
}

void DtRtiObject::addDivesting(const RTI::AttributeHandleSet& attributes) {
  divesting_ = divesting_.setUnion(attributes);
}

void DtRtiObject::removeDivesting(const RTI::AttributeHandleSet& attributes) {
  divesting_ = divesting_.removeSetIntersection(attributes);
}

std::uint32_t DtRtiObject::releaseRequested(const RTI::AttributeHandleSet& attributes, DtAttributeHandleSet* released,
                                            DtAttributeHandleSet* rest) {
  DtAttributeHandleSet mine;
  DtAttributeHandleSet* out = released ? released : &mine;
  const std::uint32_t federate = requests_.releaseRequested(attributes, out, rest);
  releaseAttrs(*out);
  return federate;
}

const DtAttributeHandleSet& DtRtiObject::filterOwned(const RTI::AttributeHandleSet& attributes) {
  ownedFilter_ = owned_.setIntersection(attributes);
  return ownedFilter_;
}

bool DtRtiObject::expecting(RTI::AttributeHandle attribute, std::uint32_t regionKey) const {
  return knownClass_ && knownClass_->subscribedAttrs(regionKey).isMember(attribute);
}

const RTI::AttributeHandleValuePairSet& DtRtiObject::filterExpected(const RTI::AttributeHandleValuePairSet& values,
                                                                    std::uint32_t regionKey) {
  const RTI::ULong n = values.size();
  RTI::ULong expected = 0;
  for (RTI::ULong i = 0; i < n; ++i)
    if (expecting(values.getHandle(i), regionKey)) ++expected;
  if (expected == n) return values;

  if (filtered_ && filteredCapacity_ >= n) {
    filtered_->empty();
  } else {
    filtered_.reset(RTI::AttributeSetFactory::create(n));
    filteredCapacity_ = n;
  }
  for (RTI::ULong i = 0; i < n; ++i) {
    const RTI::Handle h = values.getHandle(i);
    RTI::ULong length = 0;
    const char* value = values.getValuePointer(i, length);
    if (length > 0 && expecting(h, regionKey)) filtered_->add(h, value, length);
  }
  return *filtered_;
}

// ---- scope

void DtRtiObject::addToScope(const RTI::AttributeHandleSet& attributes) { inScope_ = inScope_.setUnion(attributes); }
void DtRtiObject::addToScope(RTI::AttributeHandle attribute) { inScope_.add(attribute); }
void DtRtiObject::removeFromScope(const RTI::AttributeHandleSet& attributes) {
  inScope_ = inScope_.removeSetIntersection(attributes);
}
void DtRtiObject::removeFromScope(RTI::AttributeHandle attribute) { inScope_.remove(attribute); }

// ---- remote subscribers

void DtRtiObject::remoteSubscribe(std::uint32_t federate, RTI::AttributeHandle attribute) {
  if (!owned(attribute) || !attrs_.contains(attribute)) return;
  if (attrs_.addSubscriber(federate, attribute)) turnUpdateOn(attribute);
}

void DtRtiObject::remoteSubscribe(std::uint32_t federate, const RTI::AttributeHandleSet& attributes) {
  forEach(attributes, [&](RTI::AttributeHandle a) { remoteSubscribe(federate, a); });
}

void DtRtiObject::updateOffIfUnsubscribed(RTI::AttributeHandle attribute) {
  if (!attrs_.subscribed(attribute)) turnUpdateOff(attribute);
}

void DtRtiObject::remoteUnsubscribe(std::uint32_t federate, RTI::AttributeHandle attribute) {
  if (attrs_.contains(attribute) && attrs_.removeSubscriber(federate, attribute)) updateOffIfUnsubscribed(attribute);
}

void DtRtiObject::remoteUnsubscribe(std::uint32_t federate, const RTI::AttributeHandleSet& attributes) {
  forEach(attributes, [&](RTI::AttributeHandle a) { remoteUnsubscribe(federate, a); });
}

void DtRtiObject::remoteUnsubscribe(std::uint32_t federate) {
  for (RTI::AttributeHandle a = 0; a < attrs_.count(); ++a) remoteUnsubscribe(federate, a);
}

void DtRtiObject::acquireRemoteSubscriptions(const RTI::AttributeHandleSet&, const DtFomClassMgr& fom) {
  // Each federate's subscription of the class it knows the object as; only
  // owned attributes are taken, whatever was acquired.
  for (const auto& entry : discovered_) {
    const std::uint32_t federate = entry.first;
    const DtObjectClassInfo* cls = fom.classByHandle(discoveredClass(federate));
    const DtAttributeHandleSet* subscription = cls ? cls->remoteSubscription(federate) : nullptr;
    if (subscription) remoteSubscribe(federate, *subscription);
  }
}

void DtRtiObject::remoteSubscribeRegion(std::uint32_t regionSet, RTI::AttributeHandle attribute) {
  if (!owned(attribute) || !attrs_.contains(attribute)) return;
  const DtPubRegionSetView* publication = attrs_.regionSet(attribute);
  if (publication && !publication->isMatchOverlap(regionSet)) return;
  attrs_.addRegionSubscription(regionSet, attribute);
  turnUpdateOn(attribute);
}

void DtRtiObject::remoteSubscribeRegion(std::uint32_t regionSet, const RTI::AttributeHandleSet& attributes) {
  forEach(attributes, [&](RTI::AttributeHandle a) { remoteSubscribeRegion(regionSet, a); });
}

void DtRtiObject::remoteSubscribeRegion(std::uint32_t federate, const DtObjectClassInfo& cls) {
  const DtAttributeHandleSet owned = owned_;
  forEach(owned, [&](RTI::AttributeHandle a) {
    if (const std::uint32_t regionSet = cls.remoteRegionSubscription(federate, a)) remoteSubscribeRegion(regionSet, a);
  });
}

void DtRtiObject::remoteUnsubscribeRegion(std::uint32_t regionSet, RTI::AttributeHandle attribute) {
  if (attrs_.contains(attribute) && attrs_.removeRegionSubscription(regionSet, attribute)) {
    updateOffIfUnsubscribed(attribute);
  }
}

void DtRtiObject::remoteUnsubscribeRegion(std::uint32_t regionSet, const RTI::AttributeHandleSet& attributes) {
  forEach(attributes, [&](RTI::AttributeHandle a) { remoteUnsubscribeRegion(regionSet, a); });
}

void DtRtiObject::remoteUnsubscribeRegion(std::uint32_t regionSet) {
  for (RTI::AttributeHandle a = 0; a < attrs_.count(); ++a) remoteUnsubscribeRegion(regionSet, a);
}

void DtRtiObject::divestRemoteSubscriptions(const RTI::AttributeHandleSet& attributes) {
  forEach(attributes, [this](RTI::AttributeHandle a) {
    if (!attrs_.contains(a)) return;
    attrs_.dropSubscriptions(a);
    turnUpdateOff(a);
  });
}

// ---- updates

void DtRtiObject::turnUpdateOn(const RTI::AttributeHandleSet& attributes) {
  updatesOn_ = updatesOn_.setUnion(attributes);
}
void DtRtiObject::turnUpdateOn(RTI::AttributeHandle attribute) { updatesOn_.add(attribute); }
void DtRtiObject::turnUpdateOff(const RTI::AttributeHandleSet& attributes) {
  updatesOn_ = updatesOn_.removeSetIntersection(attributes);
}
void DtRtiObject::turnUpdateOff(RTI::AttributeHandle attribute) { updatesOn_.remove(attribute); }

// ---- per attribute

void DtRtiObject::checkAttribute(RTI::AttributeHandle attribute) const {
  if (!attrs_.contains(attribute)) throw RTI::AttributeNotDefined("");
}

DtTransportType DtRtiObject::attrTransport(RTI::AttributeHandle attribute) const {
  checkAttribute(attribute);
  return attrs_.transport(attribute);
}

DtOrderType DtRtiObject::attrOrder(RTI::AttributeHandle attribute) const {
  checkAttribute(attribute);
  return attrs_.order(attribute);
}

void DtRtiObject::setAttrTransport(RTI::AttributeHandle attribute, DtTransportType transport) {
  checkAttribute(attribute);
  attrs_.setTransport(attribute, transport);
}

void DtRtiObject::setAttrOrder(RTI::AttributeHandle attribute, DtOrderType order) {
  checkAttribute(attribute);
  attrs_.setOrder(attribute, order);
}

void DtRtiObject::setRegionSet(RTI::AttributeHandle attribute, DtPubRegionSetView* set) {
  attrs_.setRegionSet(attribute, set);
}

DtPubRegionSetView* DtRtiObject::regionSet(RTI::AttributeHandle attribute) const { return attrs_.regionSet(attribute); }

std::uint32_t DtRtiObject::regionSetHandle(RTI::AttributeHandle attribute) const {
  const DtPubRegionSetView* set = attrs_.regionSet(attribute);
  return set ? set->regionSetHandle() : 0;
}
