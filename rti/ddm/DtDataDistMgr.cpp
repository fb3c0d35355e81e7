#include "ddm/DtDataDistMgr.h"

#include "api/DtNotImplemented.h"

DtDataDistMgr::DtDataDistMgr(DtObjectDataDistMgr* objMgr, DtInterDataDistMgr* interMgr)
    : objMgr_(objMgr), interMgr_(interMgr) {}

DtDataDistMgr::~DtDataDistMgr() = default;

bool DtDataDistMgr::active() const { return true; }

DtRegion* DtDataDistMgr::createRegion(RTI::SpaceHandle, RTI::ULong) { DtNotImplemented("createRegion"); }

void DtDataDistMgr::deleteRegion(RTI::Region*) { DtNotImplemented("deleteRegion"); }

void DtDataDistMgr::notifyAboutRegionModification(RTI::Region&) { DtNotImplemented("notifyAboutRegionModification"); }

DtRegion& DtDataDistMgr::defaultRegion() { DtNotImplemented("defaultRegion"); }

std::int32_t DtDataDistMgr::getAttributeRoutingSpaceHandle(RTI::AttributeHandle, RTI::ObjectClassHandle) {
  DtNotImplemented("getAttributeRoutingSpaceHandle");
}

std::int32_t DtDataDistMgr::getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle) {
  DtNotImplemented("getInteractionRoutingSpaceHandle");
}

bool DtDataDistMgr::isMemberLocalRegions(RTI::RegionToken) { return false; }

DtRegion* DtDataDistMgr::localRegion(RTI::RegionToken) { return nullptr; }

void DtDataDistMgr::tick() {}

void DtDataDistMgr::processResign(const DtResignMsg&) {}
