#include "ddm/DtInterDataDistMgr.h"

#include "config/DtRIDParameters.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"

DtInteractionMgr* DtInterDataDistMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params) {
  return new DtInterDataDistMgr(connectMgr, fom, params);
}

DtInterDataDistMgr::DtInterDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : DtInteractionMgr(connectMgr, fom, params) {}

DtInterDataDistMgr::~DtInterDataDistMgr() { destroyRegionLists(); }

void DtInterDataDistMgr::setDdmMgr(DtDataDistMgr* ddm) {
  DtDataDistHalf::setDdmMgr(ddm);
  pubHandles_.setCounter(DtRegionSetHandlePool::theFirstSerial);
  subHandles_.setCounter(DtRegionSetHandlePool::theFirstSerial);
}

std::uint32_t DtInterDataDistMgr::uniquePubRegSetHandle() {
  return pubHandles_.take(connectMgr() ? static_cast<std::uint32_t>(connectMgr()->fedHandle()) : 0);
}

std::uint32_t DtInterDataDistMgr::uniqueSubRegSetHandle() {
  return subHandles_.take(connectMgr() ? static_cast<std::uint32_t>(connectMgr()->fedHandle()) : 0);
}

bool DtInterDataDistMgr::acceptInteraction(const DtInteractionMsg& msg) const {
  return DtInteractionMgr::acceptInteraction(msg) &&
         acceptInteractionChannel(static_cast<std::uint32_t>(msg.handle()), static_cast<std::uint32_t>(msg.channel()));
}

bool DtInterDataDistMgr::acceptInteractionChannel(std::uint32_t classHandle, std::uint32_t regionSet) const {
  if (regionSet == 0 || (params() && params()->dataDistMgmt() == 0)) return true;
  const DtRegionSetList* overlapping = overlappingRemotePubSets_.lookup(classHandle);
  return overlapping && overlapping->isMember(regionSet);
}

void DtInterDataDistMgr::destroyRegionLists() {
  overlappingRemotePubSets_.destroyAll();
  pubHandles_.clear();
  subHandles_.clear();
}
