#include "ddm/DtObjectDataDistMgr.h"

#include "objects/DtFederateHandleRange.h"

DtObjectMgr* DtObjectDataDistMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params) {
  return new DtObjectDataDistMgr(connectMgr, fom, params);
}

DtObjectDataDistMgr::DtObjectDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : DtObjectMgr(connectMgr, fom, params) {}

DtObjectDataDistMgr::~DtObjectDataDistMgr() { destroyRegionLists(); }

std::uint32_t DtObjectDataDistMgr::uniqueRegionSetHandle() {
  const std::uint32_t handle = DtFederateHandleRange::handle(fedHandle(), regionSetCounter_, "object region set");
  ++regionSetCounter_;
  return handle;
}

bool DtObjectDataDistMgr::acceptObjectChannel(std::uint32_t regionSet) const {
  return regionSet == 0 || subMatchOverlaps_.lookup(regionSet) != nullptr;
}

bool DtObjectDataDistMgr::acceptRequestChannel(std::uint32_t regionSet) const {
  return regionSet == 0 || pubOverlaps_.lookup(regionSet) != nullptr;
}

void DtObjectDataDistMgr::destroyRegionLists() {
  subMatchOverlaps_.destroyAll();
  pubOverlaps_.destroyAll();
}
