#include "mom/DtMomMgr.h"

#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtMomMgr, DtMomAmbassador*> theCreator;
}  // namespace

std::unique_ptr<DtMomMgr> DtMomMgr::create(DtMomAmbassador* ambassador) { return theCreator.make(ambassador); }

void DtMomMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtMomMgr::DtMomMgr(DtMomAmbassador* ambassador) : ambassador_(ambassador) {}

DtMomMgr::~DtMomMgr() = default;

void DtMomMgr::join(DtConnectionMgr*, DtFomClassMgr*, DtMomFederate*, DtObjectMgr*, DtInteractionMgr*) {}

void DtMomMgr::resign() {}

void DtMomMgr::tick() {}

void DtMomMgr::designateFederationPublisher() {}
