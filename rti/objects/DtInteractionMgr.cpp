#include "objects/DtInteractionMgr.h"

#include "api/DtNotImplemented.h"
#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtInteractionMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;
}  // namespace

std::uint8_t DtInteractionMgr::theDefaultInteractionAdvisorySwitch = 1;

std::unique_ptr<DtInteractionMgr> DtInteractionMgr::create(DtConnectionMgr* connectMgr,
                                                           DtFomClassMgr* fom,
                                                           DtRIDParameters* params) {
  return theCreator.make(connectMgr, fom, params);
}

void DtInteractionMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtInteractionMgr::DtInteractionMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                   DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      relevanceAdvisorySwitch_(theDefaultInteractionAdvisorySwitch) {}

DtInteractionMgr::~DtInteractionMgr() = default;

void DtInteractionMgr::publish(RTI::InteractionClassHandle) {
  DtNotImplemented("publishInteractionClass");
}

void DtInteractionMgr::unpublish(RTI::InteractionClassHandle) {
  DtNotImplemented("unpublishInteractionClass");
}

void DtInteractionMgr::subscribe(RTI::InteractionClassHandle, RTI::Boolean) {
  DtNotImplemented("subscribeInteractionClass");
}

void DtInteractionMgr::unsubscribe(RTI::InteractionClassHandle) {
  DtNotImplemented("unsubscribeInteractionClass");
}

std::uint32_t DtInteractionMgr::send(RTI::InteractionClassHandle,
                                     const RTI::ParameterHandleValuePairSet&, const RTI::FedTime*,
                                     const char*, RTI::ULong) {
  DtNotImplemented("sendInteraction");
}

std::uint32_t DtInteractionMgr::send(RTI::InteractionClassHandle,
                                     const RTI::ParameterHandleValuePairSet&, const RTI::FedTime*,
                                     const char*, const RTI::Region&) {
  return 0;
}

void DtInteractionMgr::setTransport(RTI::InteractionClassHandle, DtTransportType) {
  DtNotImplemented("changeInteractionTransportationType");
}

void DtInteractionMgr::setOrder(RTI::InteractionClassHandle, DtOrderType) {
  DtNotImplemented("changeInteractionOrderType");
}

void DtInteractionMgr::subscribeInteractionClassWithRegion(RTI::InteractionClassHandle,
                                                           RTI::Region&, RTI::Boolean) {}

void DtInteractionMgr::unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle,
                                                             RTI::Region&) {}

void DtInteractionMgr::setTimeMgr(DtTimeMgr* timeMgr) { timeMgr_ = timeMgr; }

void DtInteractionMgr::setMomMgr(DtMomMgr* momMgr) { momMgr_ = momMgr; }

void DtInteractionMgr::tick() {}

void DtInteractionMgr::processResign(const DtResignMsg&) {}
