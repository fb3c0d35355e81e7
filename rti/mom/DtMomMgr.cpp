#include "mom/DtMomMgr.h"

#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtMomMgr, RTI::RTIambassador*, DtPrivRefs*> theCreator;
}  // namespace

std::unique_ptr<DtMomMgr> DtMomMgr::create(RTI::RTIambassador* ambassador, DtPrivRefs* refs) {
  return theCreator.make(ambassador, refs);
}

void DtMomMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtMomMgr::DtMomMgr(RTI::RTIambassador* ambassador, DtPrivRefs* refs) : ambassador_(ambassador), refs_(refs) {}

DtMomMgr::~DtMomMgr() = default;

void DtMomMgr::join(DtConnectionMgr*, DtFomClassMgr*, DtFederateMgr*, DtObjectMgr*, DtInteractionMgr*) {}

void DtMomMgr::resign() {}

void DtMomMgr::tick() {}

void DtMomMgr::designateFederationPublisher() {}
