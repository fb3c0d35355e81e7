// The data distribution manager's regions: made, announced and withdrawn
// here, received from the other federates, and the channels and look-ups
// it answers.
#include "ddm/DtDataDistMgr.h"

#include <algorithm>
#include <limits>

#include "api/DtAttrValueSet.h"
#include "config/DtRIDParameters.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRegionMsgFill.h"
#include "ddm/DtRegionSet.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtFederateHandleRange.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "util/DtNotify.h"

namespace {

// The default region: handle 0 in routing space 0, without extents. A
// manager without a class tree has no space to give it.
std::unique_ptr<DtRegion> makeDefaultRegion(const DtFomClassMgr* fom) {
  const DtSpaceInfo* space = fom ? fom->spaceByHandle(0) : nullptr;
  return space ? std::make_unique<DtRegion>(0, space, 0) : std::make_unique<DtRegion>();
}

// The channels of the RID parameters; without them, the defaults
// 224.0.0.1 to 239.255.255.255.
std::uint32_t minChannel(const DtRIDParameters* params) { return params ? params->minChannel() : 0xE0000001u; }
std::uint32_t maxChannel(const DtRIDParameters* params) { return params ? params->maxChannel() : 0xEFFFFFFFu; }

}  // namespace

// Creation ------------------------------------------------------------------

DtDataDistMgr::DtDataDistMgr(DtObjectDataDistMgr* objMgr, DtInterDataDistMgr* interMgr)
    : DtDataDistMgr(objMgr ? objMgr->connectMgr() : nullptr, objMgr ? objMgr->fom() : nullptr,
                    objMgr ? objMgr->params() : nullptr, objMgr, interMgr) {}

DtDataDistMgr::DtDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params,
                             DtObjectDataDistMgr* objMgr, DtInterDataDistMgr* interMgr)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      objMgr_(objMgr),
      interMgr_(interMgr),
      defaultRegion_(makeDefaultRegion(fom)),
      channels_(connectMgr, minChannel(params), maxChannel(params)) {
  DtAttrValueSet::setDefaultRegion(0);
  DtRtiMsg::setDefaultRegionSet(0);
  if (connectMgr_) {
    handlers_.add<DtNotifyRegMsg, &DtDataDistMgr::processNotifyRegion>(connectMgr_, this);
    handlers_.add<DtDeleteRegMsg, &DtDataDistMgr::processDeleteRegion>(connectMgr_, this);
  }
}

DtDataDistMgr::~DtDataDistMgr() {
  destroyLists();
  handlers_.clear();
}

bool DtDataDistMgr::active() const { return !params_ || params_->dataDistMgmt() != 0; }

std::uint32_t DtDataDistMgr::fedHandle() const {
  return connectMgr_ ? static_cast<std::uint32_t>(connectMgr_->fedHandle()) : 0;
}

// The region services ---------------------------------------------------------

std::uint32_t DtDataDistMgr::uniqueRegionHandle() {
  const std::uint32_t handle = DtFederateHandleRange::handle(fedHandle(), regionCounter_, "region");
  ++regionCounter_;
  return handle;
}

DtRegion* DtDataDistMgr::createRegion(RTI::SpaceHandle space, RTI::ULong extents) {
  const DtSpaceInfo* spaceInfo = fom_ ? fom_->spaceByHandle(space) : nullptr;
  if (!spaceInfo) throw RTI::SpaceNotDefined("");
  if (extents == 0) throw RTI::InvalidExtents("");
  // The region is made before its handle is taken: a region refused takes
  // no serial.
  const auto count =
      static_cast<std::uint32_t>(std::min<RTI::ULong>(extents, std::numeric_limits<std::uint32_t>::max()));
  auto region = std::make_unique<DtRegion>(0, spaceInfo, count);
  region->setHandle(uniqueRegionHandle());
  DtRegion* made = region.get();
  addLocalRegion(std::move(region));
  return made;
}

DtRegion* DtDataDistMgr::ownRegion(RTI::Region* region) const {
  // The same object as the one filed under its handle: a region of another
  // federate, or one this federate no longer has, is not one of its own.
  const auto* candidate = dynamic_cast<const DtRegion*>(region);
  if (!candidate || candidate->handle() == 0) return nullptr;
  const LocalRegion* filed = local_.find(candidate->handle());
  return filed && filed->region.get() == candidate ? filed->region.get() : nullptr;
}

void DtDataDistMgr::notifyAboutRegionModification(RTI::Region& region) {
  DtRegion* own = ownRegion(&region);
  if (!own) throw RTI::RegionNotKnown("");
  own->commitModifications();
  sendNotifyRegionMsg(*own);
  if (objMgr_) objMgr_->notifyAboutRegionModification(*own);
  if (interMgr_) interMgr_->notifyAboutRegionModification(*own);
}

void DtDataDistMgr::deleteRegion(RTI::Region* region) {
  if (!region) return;
  DtRegion* own = ownRegion(region);
  if (!own) throw RTI::RegionNotKnown("");
  if (own->inUse()) throw RTI::RegionInUse("");
  if (objMgr_) objMgr_->deleteRegion(*own);
  if (interMgr_) interMgr_->deleteRegion(*own);
  const std::unique_ptr<DtRegion> gone = removeLocalRegion(own->handle());
  // The others know only a region that was announced.
  if (gone->wasCommited()) sendDeleteRegionMsg(gone->handle());
}

DtRegion& DtDataDistMgr::defaultRegion() { return *defaultRegion_; }

std::int32_t DtDataDistMgr::getAttributeRoutingSpaceHandle(RTI::AttributeHandle attribute,
                                                           RTI::ObjectClassHandle theClass) {
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (!cls) throw RTI::ObjectClassNotDefined("");
  const DtAttrInfo* attr = cls->attrByHandle(attribute);
  if (!attr) throw RTI::AttributeNotDefined("");
  return attr->space();
}

std::int32_t DtDataDistMgr::getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle theClass) {
  const DtInteractionClassInfo* cls = fom_ ? fom_->interactionByHandle(theClass) : nullptr;
  if (!cls) throw RTI::InteractionClassNotDefined("");
  return cls->spaceHandle();
}

// The regions kept ------------------------------------------------------------------

bool DtDataDistMgr::isMemberLocalRegions(RTI::RegionToken token) { return localRegion(token) != nullptr; }

DtRegion* DtDataDistMgr::localRegion(RTI::RegionToken token) {
  if (token == 0) return defaultRegion_.get();
  if (token > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  const LocalRegion* filed = local_.find(static_cast<std::uint32_t>(token));
  return filed ? filed->region.get() : nullptr;
}

bool DtDataDistMgr::isMemberRemoteRegions(std::uint32_t handle) const { return remote_.contains(handle); }

DtRegion* DtDataDistMgr::remoteRegion(std::uint32_t handle) const {
  const RemoteRegion* filed = remote_.find(handle);
  return filed ? filed->region.get() : nullptr;
}

std::vector<const DtRegion*> DtDataDistMgr::localRegions() const {
  std::vector<const DtRegion*> regions;
  for (const LocalRegion& entry : local_) regions.push_back(entry.region.get());
  return regions;
}

std::vector<const DtRegion*> DtDataDistMgr::remoteRegionsOf(std::uint32_t federate) const {
  std::vector<const DtRegion*> regions;
  if (const FederateRegions* filed = byFederate_.find(federate)) {
    for (const std::uint32_t handle : filed->regions) regions.push_back(remoteRegion(handle));
  }
  return regions;
}

std::vector<std::uint32_t> DtDataDistMgr::remoteFederates() const { return byFederate_.handles(); }

void DtDataDistMgr::addLocalRegion(std::unique_ptr<DtRegion> region) {
  const std::uint32_t handle = region->handle();
  local_.put({handle, std::move(region)});
}

std::unique_ptr<DtRegion> DtDataDistMgr::removeLocalRegion(std::uint32_t handle) {
  std::erase(pendingNotify_, handle);
  std::optional<LocalRegion> taken = local_.take(handle);
  return taken ? std::move(taken->region) : nullptr;
}

void DtDataDistMgr::addRemoteRegion(std::unique_ptr<DtRegion> region, std::uint32_t federate) {
  const std::uint32_t handle = region->handle();
  removeRemoteRegion(handle);
  remote_.put({handle, federate, std::move(region)});
  FederateRegions* regions = byFederate_.find(federate);
  if (!regions) {
    byFederate_.put({federate, {}});
    regions = byFederate_.find(federate);
  }
  regions->regions.push_back(handle);
}

std::unique_ptr<DtRegion> DtDataDistMgr::removeRemoteRegion(std::uint32_t handle) {
  std::optional<RemoteRegion> taken = remote_.take(handle);
  if (!taken) return nullptr;
  if (FederateRegions* regions = byFederate_.find(taken->federate)) {
    std::erase(regions->regions, handle);
    if (regions->regions.empty()) byFederate_.take(taken->federate);
  }
  return std::move(taken->region);
}

void DtDataDistMgr::destroyLists() {
  defaultRegion_->removeAllRegSets();
  local_.clear();
  remote_.clear();
  byFederate_.clear();
  channels_.clear(false);
  pendingNotify_.clear();
}

// Channels -----------------------------------------------------------------------

std::uint32_t DtDataDistMgr::freeChannel() { return channels_.freeChannel(); }

void DtDataDistMgr::joinObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet) {
  channels_.joinObjectRegionSet(channel, regionSet);
}

void DtDataDistMgr::dropObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet) {
  channels_.dropObjectRegionSet(channel, regionSet);
}

void DtDataDistMgr::joinInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass,
                                             std::uint32_t regionSet) {
  channels_.joinInteractionRegionSet(channel, interactionClass, regionSet);
}

void DtDataDistMgr::dropInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass,
                                             std::uint32_t regionSet) {
  channels_.dropInteractionRegionSet(channel, interactionClass, regionSet);
}

// Announcements ----------------------------------------------------------------

void DtDataDistMgr::addPendingNotifyRegion(const DtRegionSet& set) {
  for (const DtRegionEntry& entry : set.regionList()) {
    if (std::find(pendingNotify_.begin(), pendingNotify_.end(), entry.handle) == pendingNotify_.end()) {
      pendingNotify_.push_back(entry.handle);
    }
  }
}

void DtDataDistMgr::sendPendingNotifyRegion() {
  // A region deleted since it was listed has left the list.
  for (const std::uint32_t handle : std::exchange(pendingNotify_, {})) {
    if (handle == 0) continue;
    if (const DtRegion* region = localRegion(handle)) sendNotifyRegionMsg(*region);
  }
}

void DtDataDistMgr::sendNotifyRegionMsg(const DtRegion& region) {
  if (!connectMgr_) return;
  std::unique_ptr<DtNotifyRegMsg> msg = DtMakeMsg<DtNotifyRegMsg>(*connectMgr_);
  if (!msg || !DtFillNotifyRegMsg(*msg, region)) return;
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtDataDistMgr::sendDeleteRegionMsg(std::uint32_t regionHandle) {
  if (!connectMgr_) return;
  std::unique_ptr<DtDeleteRegMsg> msg = DtMakeMsg<DtDeleteRegMsg>(*connectMgr_);
  if (!msg) return;
  msg->setRegionHandle(regionHandle);
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtDataDistMgr::tick() {
  if (!pendingNotify_.empty()) sendPendingNotifyRegion();
}

// Received ------------------------------------------------------------------------

bool DtDataDistMgr::fromAnotherFederate(std::uint32_t sender, std::uint32_t regionHandle) const {
  return sender != fedHandle() && regionHandle != 0;
}

DtDataDistMgr::RemoteRegion* DtDataDistMgr::senderRegion(std::uint32_t handle, std::uint32_t sender) const {
  RemoteRegion* filed = remote_.find(handle);
  if (filed && filed->federate != sender) {
    DtNotifyError("Ignoring region %u from federate %u: it is federate %u's\n", handle, sender, filed->federate);
    return nullptr;
  }
  return filed;
}

void DtDataDistMgr::processNotifyRegion(const DtNotifyRegMsg& msg) {
  const auto sender = static_cast<std::uint32_t>(msg.federateHandle());
  const auto handle = static_cast<std::uint32_t>(msg.regionHandle());
  if (!fromAnotherFederate(sender, handle)) return;
  if (!msg.holdsBounds()) {
    DtNotifyError("Ignoring region %u from federate %u: its bounds are not all there\n", handle, sender);
    return;
  }
  const std::vector<DtRegionExtent> extents = DtNotifyRegMsgExtents(msg);
  const auto count = static_cast<std::uint32_t>(extents.size());
  DtRegion* region = nullptr;
  bool isNew = false;
  if (remote_.contains(handle)) {
    RemoteRegion* filed = senderRegion(handle, sender);
    if (!filed) return;
    region = filed->region.get();
    region->setExtents(extents.data(), count);
  } else {
    const DtSpaceInfo* space = fom_ ? fom_->spaceByHandle(msg.spaceHandle()) : nullptr;
    if (!space) {
      DtNotifyError("Received region %u from federate %uwith unknown space handle %d\n", handle, sender,
                    static_cast<int>(msg.spaceHandle()));
      return;
    }
    auto made = std::make_unique<DtRegion>(handle, space, extents.data(), count);
    region = made.get();
    addRemoteRegion(std::move(made), sender);
    isNew = true;
  }
  if (interMgr_) interMgr_->processNotifyRegion(*region, isNew);
  if (objMgr_) objMgr_->processNotifyRegion(*region, isNew);
}

void DtDataDistMgr::dropRemoteRegion(std::uint32_t handle) {
  DtRegion* region = remoteRegion(handle);
  if (!region) return;
  if (objMgr_) objMgr_->processDeleteRegion(*region);
  if (interMgr_) interMgr_->processDeleteRegion(*region);
  removeRemoteRegion(handle);
}

void DtDataDistMgr::processDeleteRegion(const DtDeleteRegMsg& msg) {
  const auto sender = static_cast<std::uint32_t>(msg.federateHandle());
  const auto handle = static_cast<std::uint32_t>(msg.regionHandle());
  if (!fromAnotherFederate(sender, handle) || !senderRegion(handle, sender)) return;
  dropRemoteRegion(handle);
}

void DtDataDistMgr::processResign(const DtResignMsg& msg) {
  const auto federate = static_cast<std::uint32_t>(msg.federateHandle());
  if (federate == fedHandle()) return;
  const FederateRegions* regions = byFederate_.find(federate);
  if (!regions) return;
  // In the order they came; each takes itself out of the federate's list.
  for (const std::uint32_t handle : std::vector<std::uint32_t>(regions->regions)) dropRemoteRegion(handle);
}
