#include "objects/DtObjectMgr.h"

#include "api/DtNotImplemented.h"
#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtObjectMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;
}  // namespace

std::uint8_t DtObjectMgr::theDefaultClassAdvisorySwitch = 1;
std::uint8_t DtObjectMgr::theDefaultAttributeAdvisorySwitch = 0;
std::uint8_t DtObjectMgr::theDefaultAttributeScopeAdvisorySwitch = 0;
const char* DtObjectMgr::theHlaNamePrefix = "";

std::unique_ptr<DtObjectMgr> DtObjectMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                                 DtRIDParameters* params) {
  return theCreator.make(connectMgr, fom, params);
}

void DtObjectMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtObjectMgr::DtObjectMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      classRelevanceSwitch_(theDefaultClassAdvisorySwitch),
      attributeRelevanceSwitch_(theDefaultAttributeAdvisorySwitch),
      attributeScopeSwitch_(theDefaultAttributeScopeAdvisorySwitch) {}

DtObjectMgr::~DtObjectMgr() = default;

void DtObjectMgr::publish(RTI::ObjectClassHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("publishObjectClass");
}

void DtObjectMgr::unpublish(RTI::ObjectClassHandle) { DtNotImplemented("unpublishObjectClass"); }

void DtObjectMgr::subscribe(RTI::ObjectClassHandle, const RTI::AttributeHandleSet&, RTI::Boolean) {
  DtNotImplemented("subscribeObjectClassAttributes");
}

void DtObjectMgr::unsubscribe(RTI::ObjectClassHandle) {
  DtNotImplemented("unsubscribeObjectClass");
}

RTI::ObjectHandle DtObjectMgr::registerObj(RTI::ObjectClassHandle) {
  DtNotImplemented("registerObjectInstance");
}

RTI::ObjectHandle DtObjectMgr::registerObj(RTI::ObjectClassHandle, const char*) {
  DtNotImplemented("registerObjectInstance");
}

std::uint32_t DtObjectMgr::sendUpdate(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&,
                                      const RTI::FedTime*, const char*) {
  DtNotImplemented("updateAttributeValues");
}

std::uint32_t DtObjectMgr::deleteObj(RTI::ObjectHandle, const RTI::FedTime*, const char*) {
  DtNotImplemented("deleteObjectInstance");
}

void DtObjectMgr::localDeleteObj(RTI::ObjectHandle) {
  DtNotImplemented("localDeleteObjectInstance");
}

void DtObjectMgr::setAttributeTransportType(RTI::ObjectHandle, const RTI::AttributeHandleSet&,
                                            DtTransportType) {
  DtNotImplemented("changeAttributeTransportationType");
}

void DtObjectMgr::setAttributeOrderType(RTI::ObjectHandle, const RTI::AttributeHandleSet&,
                                        DtOrderType) {
  DtNotImplemented("changeAttributeOrderType");
}

void DtObjectMgr::requestObjectUpdate(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("requestObjectAttributeValueUpdate");
}

void DtObjectMgr::requestClassUpdate(RTI::ObjectClassHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("requestClassAttributeValueUpdate");
}

void DtObjectMgr::divestOwnership(RTI::ObjectHandle, const RTI::AttributeHandleSet&,
                                  bool negotiated, const char*) {
  DtNotImplemented(negotiated ? "negotiatedAttributeOwnershipDivestiture"
                              : "unconditionalAttributeOwnershipDivestiture");
}

void DtObjectMgr::acquireAttrs(RTI::ObjectHandle, const RTI::AttributeHandleSet&, bool ifAvailable,
                               const char*) {
  DtNotImplemented(ifAvailable ? "attributeOwnershipAcquisitionIfAvailable"
                               : "attributeOwnershipAcquisition");
}

void DtObjectMgr::cancelAcquire(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("cancelAttributeOwnershipAcquisition");
}

void DtObjectMgr::cancelDivest(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("cancelNegotiatedAttributeOwnershipDivestiture");
}

RTI::AttributeHandleSet* DtObjectMgr::releaseResponse(RTI::ObjectHandle,
                                                      const RTI::AttributeHandleSet&) {
  DtNotImplemented("attributeOwnershipReleaseResponse");
}

void DtObjectMgr::queryOwnership(RTI::ObjectHandle, RTI::AttributeHandle) {
  DtNotImplemented("queryAttributeOwnership");
}

RTI::ObjectClassHandle DtObjectMgr::objectClass(RTI::ObjectHandle) {
  DtNotImplemented("getObjectClass");
}

RTI::ObjectHandle DtObjectMgr::objectHandle(const char*) {
  DtNotImplemented("getObjectInstanceHandle");
}

const char* DtObjectMgr::objectName(RTI::ObjectHandle) {
  DtNotImplemented("getObjectInstanceName");
}

DtRtiObject* DtObjectMgr::knownObj(RTI::ObjectHandle) { return nullptr; }

void DtObjectMgr::subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle, RTI::Region&,
                                                           const RTI::AttributeHandleSet&,
                                                           RTI::Boolean) {}

void DtObjectMgr::unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle, RTI::Region&) {}

void DtObjectMgr::associateRegionForUpdates(RTI::Region&, RTI::ObjectHandle,
                                            const RTI::AttributeHandleSet&, int) {}

void DtObjectMgr::unassociateRegionForUpdates(RTI::Region&, RTI::ObjectHandle) {}

RTI::ObjectHandle DtObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle, const char*,
                                                                RTI::AttributeHandle*,
                                                                RTI::Region**, RTI::ULong) {
  return 0;
}

RTI::ObjectHandle DtObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle,
                                                                RTI::AttributeHandle*,
                                                                RTI::Region**, RTI::ULong) {
  return 0;
}

void DtObjectMgr::requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle,
                                                             const RTI::AttributeHandleSet&,
                                                             const RTI::Region&) {}

void DtObjectMgr::enableAttributeScopeSwitch() { attributeScopeSwitch_ = 1; }

void DtObjectMgr::disableAttributeScopeSwitch() { attributeScopeSwitch_ = 0; }

void DtObjectMgr::setTimeMgr(DtTimeMgr* timeMgr) { timeMgr_ = timeMgr; }

void DtObjectMgr::tick() {}

void DtObjectMgr::processResign(const DtResignMsg&) {}

const DtList& DtObjectMgr::ownedObjects() const { return ownedObjects_; }

std::uint32_t DtObjectMgr::numObjectsOwned() const { return 0; }

void DtObjectMgr::prepareToResign(RTI::ResignAction) {}
