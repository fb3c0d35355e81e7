// The services are declared in full so that federates compile and link
// against this library; each is carried out by the federation core as it is
// built, and until then reports that it is not available.
#include "RTI.hh"

#include <string>

namespace {

[[noreturn]] void notImplemented(const char* service) {
  std::string reason = std::string(service) + " not implemented";
  throw RTI::RTIinternalError(reason.c_str());
}

}  // namespace

namespace RTI {

RTIambassador::RTIambassador() : _privRefs(nullptr) {}

RTIambassador::~RTIambassador() = default;

void RTIambassador::createFederationExecution(const char*, const char*) {
  notImplemented("createFederationExecution");
}

void RTIambassador::destroyFederationExecution(const char*) {
  notImplemented("destroyFederationExecution");
}

FederateHandle RTIambassador::joinFederationExecution(const char*, const char*,
                                                      FederateAmbassadorPtr) {
  notImplemented("joinFederationExecution");
}

void RTIambassador::resignFederationExecution(ResignAction) {
  notImplemented("resignFederationExecution");
}

void RTIambassador::registerFederationSynchronizationPoint(const char*, const char*,
                                                           const FederateHandleSet&) {
  notImplemented("registerFederationSynchronizationPoint");
}

void RTIambassador::registerFederationSynchronizationPoint(const char*, const char*) {
  notImplemented("registerFederationSynchronizationPoint");
}

void RTIambassador::synchronizationPointAchieved(const char*) {
  notImplemented("synchronizationPointAchieved");
}

void RTIambassador::requestFederationSave(const char*) { notImplemented("requestFederationSave"); }

void RTIambassador::requestFederationSave(const char*, const FedTime&) {
  notImplemented("requestFederationSave");
}

void RTIambassador::federateSaveBegun() { notImplemented("federateSaveBegun"); }

void RTIambassador::federateSaveComplete() { notImplemented("federateSaveComplete"); }

void RTIambassador::federateSaveNotComplete() { notImplemented("federateSaveNotComplete"); }

void RTIambassador::requestFederationRestore(const char*) {
  notImplemented("requestFederationRestore");
}

void RTIambassador::federateRestoreComplete() { notImplemented("federateRestoreComplete"); }

void RTIambassador::federateRestoreNotComplete() { notImplemented("federateRestoreNotComplete"); }

void RTIambassador::publishObjectClass(ObjectClassHandle, const AttributeHandleSet&) {
  notImplemented("publishObjectClass");
}

void RTIambassador::unpublishObjectClass(ObjectClassHandle) {
  notImplemented("unpublishObjectClass");
}

void RTIambassador::publishInteractionClass(InteractionClassHandle) {
  notImplemented("publishInteractionClass");
}

void RTIambassador::unpublishInteractionClass(InteractionClassHandle) {
  notImplemented("unpublishInteractionClass");
}

void RTIambassador::subscribeObjectClassAttributes(ObjectClassHandle, const AttributeHandleSet&,
                                                   Boolean) {
  notImplemented("subscribeObjectClassAttributes");
}

void RTIambassador::unsubscribeObjectClass(ObjectClassHandle) {
  notImplemented("unsubscribeObjectClass");
}

void RTIambassador::subscribeInteractionClass(InteractionClassHandle, Boolean) {
  notImplemented("subscribeInteractionClass");
}

void RTIambassador::unsubscribeInteractionClass(InteractionClassHandle) {
  notImplemented("unsubscribeInteractionClass");
}

ObjectHandle RTIambassador::registerObjectInstance(ObjectClassHandle) {
  notImplemented("registerObjectInstance");
}

ObjectHandle RTIambassador::registerObjectInstance(ObjectClassHandle, const char*) {
  notImplemented("registerObjectInstance");
}

void RTIambassador::updateAttributeValues(ObjectHandle, const AttributeHandleValuePairSet&,
                                          const char*) {
  notImplemented("updateAttributeValues");
}

EventRetractionHandle RTIambassador::updateAttributeValues(ObjectHandle,
                                                           const AttributeHandleValuePairSet&,
                                                           const FedTime&, const char*) {
  notImplemented("updateAttributeValues");
}

void RTIambassador::sendInteraction(InteractionClassHandle, const ParameterHandleValuePairSet&,
                                    const char*) {
  notImplemented("sendInteraction");
}

EventRetractionHandle RTIambassador::sendInteraction(InteractionClassHandle,
                                                     const ParameterHandleValuePairSet&,
                                                     const FedTime&, const char*) {
  notImplemented("sendInteraction");
}

void RTIambassador::deleteObjectInstance(ObjectHandle, const char*) {
  notImplemented("deleteObjectInstance");
}

EventRetractionHandle RTIambassador::deleteObjectInstance(ObjectHandle, const FedTime&,
                                                          const char*) {
  notImplemented("deleteObjectInstance");
}

void RTIambassador::localDeleteObjectInstance(ObjectHandle) {
  notImplemented("localDeleteObjectInstance");
}

void RTIambassador::changeAttributeTransportationType(ObjectHandle, const AttributeHandleSet&,
                                                      TransportationHandle) {
  notImplemented("changeAttributeTransportationType");
}

void RTIambassador::changeInteractionTransportationType(InteractionClassHandle,
                                                        TransportationHandle) {
  notImplemented("changeInteractionTransportationType");
}

void RTIambassador::requestObjectAttributeValueUpdate(ObjectHandle, const AttributeHandleSet&) {
  notImplemented("requestObjectAttributeValueUpdate");
}

void RTIambassador::requestClassAttributeValueUpdate(ObjectClassHandle, const AttributeHandleSet&) {
  notImplemented("requestClassAttributeValueUpdate");
}

void RTIambassador::unconditionalAttributeOwnershipDivestiture(ObjectHandle,
                                                               const AttributeHandleSet&) {
  notImplemented("unconditionalAttributeOwnershipDivestiture");
}

void RTIambassador::negotiatedAttributeOwnershipDivestiture(ObjectHandle, const AttributeHandleSet&,
                                                            const char*) {
  notImplemented("negotiatedAttributeOwnershipDivestiture");
}

void RTIambassador::attributeOwnershipAcquisition(ObjectHandle, const AttributeHandleSet&,
                                                  const char*) {
  notImplemented("attributeOwnershipAcquisition");
}

void RTIambassador::attributeOwnershipAcquisitionIfAvailable(ObjectHandle,
                                                             const AttributeHandleSet&) {
  notImplemented("attributeOwnershipAcquisitionIfAvailable");
}

AttributeHandleSet* RTIambassador::attributeOwnershipReleaseResponse(ObjectHandle,
                                                                     const AttributeHandleSet&) {
  notImplemented("attributeOwnershipReleaseResponse");
}

void RTIambassador::cancelNegotiatedAttributeOwnershipDivestiture(ObjectHandle,
                                                                  const AttributeHandleSet&) {
  notImplemented("cancelNegotiatedAttributeOwnershipDivestiture");
}

void RTIambassador::cancelAttributeOwnershipAcquisition(ObjectHandle, const AttributeHandleSet&) {
  notImplemented("cancelAttributeOwnershipAcquisition");
}

void RTIambassador::queryAttributeOwnership(ObjectHandle, AttributeHandle) {
  notImplemented("queryAttributeOwnership");
}

Boolean RTIambassador::isAttributeOwnedByFederate(ObjectHandle, AttributeHandle) {
  notImplemented("isAttributeOwnedByFederate");
}

void RTIambassador::enableTimeRegulation(const FedTime&, const FedTime&) {
  notImplemented("enableTimeRegulation");
}

void RTIambassador::disableTimeRegulation() { notImplemented("disableTimeRegulation"); }

void RTIambassador::enableTimeConstrained() { notImplemented("enableTimeConstrained"); }

void RTIambassador::disableTimeConstrained() { notImplemented("disableTimeConstrained"); }

void RTIambassador::timeAdvanceRequest(const FedTime&) { notImplemented("timeAdvanceRequest"); }

void RTIambassador::timeAdvanceRequestAvailable(const FedTime&) {
  notImplemented("timeAdvanceRequestAvailable");
}

void RTIambassador::nextEventRequest(const FedTime&) { notImplemented("nextEventRequest"); }

void RTIambassador::nextEventRequestAvailable(const FedTime&) {
  notImplemented("nextEventRequestAvailable");
}

void RTIambassador::flushQueueRequest(const FedTime&) { notImplemented("flushQueueRequest"); }

void RTIambassador::enableAsynchronousDelivery() { notImplemented("enableAsynchronousDelivery"); }

void RTIambassador::disableAsynchronousDelivery() { notImplemented("disableAsynchronousDelivery"); }

void RTIambassador::queryLBTS(FedTime&) { notImplemented("queryLBTS"); }

void RTIambassador::queryFederateTime(FedTime&) { notImplemented("queryFederateTime"); }

void RTIambassador::queryMinNextEventTime(FedTime&) { notImplemented("queryMinNextEventTime"); }

void RTIambassador::modifyLookahead(const FedTime&) { notImplemented("modifyLookahead"); }

void RTIambassador::queryLookahead(FedTime&) { notImplemented("queryLookahead"); }

void RTIambassador::retract(EventRetractionHandle) { notImplemented("retract"); }

void RTIambassador::changeAttributeOrderType(ObjectHandle, const AttributeHandleSet&,
                                             OrderingHandle) {
  notImplemented("changeAttributeOrderType");
}

void RTIambassador::changeInteractionOrderType(InteractionClassHandle, OrderingHandle) {
  notImplemented("changeInteractionOrderType");
}

Region* RTIambassador::createRegion(SpaceHandle, ULong) { notImplemented("createRegion"); }

void RTIambassador::notifyAboutRegionModification(Region&) {
  notImplemented("notifyAboutRegionModification");
}

void RTIambassador::deleteRegion(Region*) { notImplemented("deleteRegion"); }

ObjectHandle RTIambassador::registerObjectInstanceWithRegion(ObjectClassHandle, AttributeHandle*,
                                                             Region**, ULong) {
  notImplemented("registerObjectInstanceWithRegion");
}

ObjectHandle RTIambassador::registerObjectInstanceWithRegion(ObjectClassHandle, const char*,
                                                             AttributeHandle*, Region**, ULong) {
  notImplemented("registerObjectInstanceWithRegion");
}

void RTIambassador::associateRegionForUpdates(Region&, ObjectHandle, const AttributeHandleSet&) {
  notImplemented("associateRegionForUpdates");
}

void RTIambassador::unassociateRegionForUpdates(Region&, ObjectHandle) {
  notImplemented("unassociateRegionForUpdates");
}

void RTIambassador::subscribeObjectClassAttributesWithRegion(ObjectClassHandle, Region&,
                                                             const AttributeHandleSet&, Boolean) {
  notImplemented("subscribeObjectClassAttributesWithRegion");
}

void RTIambassador::unsubscribeObjectClassWithRegion(ObjectClassHandle, Region&) {
  notImplemented("unsubscribeObjectClassWithRegion");
}

void RTIambassador::subscribeInteractionClassWithRegion(InteractionClassHandle, Region&, Boolean) {
  notImplemented("subscribeInteractionClassWithRegion");
}

void RTIambassador::unsubscribeInteractionClassWithRegion(InteractionClassHandle, Region&) {
  notImplemented("unsubscribeInteractionClassWithRegion");
}

void RTIambassador::sendInteractionWithRegion(InteractionClassHandle,
                                              const ParameterHandleValuePairSet&, const char*,
                                              const Region&) {
  notImplemented("sendInteractionWithRegion");
}

EventRetractionHandle RTIambassador::sendInteractionWithRegion(InteractionClassHandle,
                                                               const ParameterHandleValuePairSet&,
                                                               const FedTime&, const char*,
                                                               const Region&) {
  notImplemented("sendInteractionWithRegion");
}

void RTIambassador::requestClassAttributeValueUpdateWithRegion(ObjectClassHandle,
                                                               const AttributeHandleSet&,
                                                               const Region&) {
  notImplemented("requestClassAttributeValueUpdateWithRegion");
}

ObjectClassHandle RTIambassador::getObjectClassHandle(const char*) {
  notImplemented("getObjectClassHandle");
}

char* RTIambassador::getObjectClassName(ObjectClassHandle) { notImplemented("getObjectClassName"); }

AttributeHandle RTIambassador::getAttributeHandle(const char*, ObjectClassHandle) {
  notImplemented("getAttributeHandle");
}

char* RTIambassador::getAttributeName(AttributeHandle, ObjectClassHandle) {
  notImplemented("getAttributeName");
}

InteractionClassHandle RTIambassador::getInteractionClassHandle(const char*) {
  notImplemented("getInteractionClassHandle");
}

char* RTIambassador::getInteractionClassName(InteractionClassHandle) {
  notImplemented("getInteractionClassName");
}

ParameterHandle RTIambassador::getParameterHandle(const char*, InteractionClassHandle) {
  notImplemented("getParameterHandle");
}

char* RTIambassador::getParameterName(ParameterHandle, InteractionClassHandle) {
  notImplemented("getParameterName");
}

ObjectHandle RTIambassador::getObjectInstanceHandle(const char*) {
  notImplemented("getObjectInstanceHandle");
}

char* RTIambassador::getObjectInstanceName(ObjectHandle) {
  notImplemented("getObjectInstanceName");
}

SpaceHandle RTIambassador::getRoutingSpaceHandle(const char*) {
  notImplemented("getRoutingSpaceHandle");
}

char* RTIambassador::getRoutingSpaceName(SpaceHandle) { notImplemented("getRoutingSpaceName"); }

DimensionHandle RTIambassador::getDimensionHandle(const char*, SpaceHandle) {
  notImplemented("getDimensionHandle");
}

char* RTIambassador::getDimensionName(DimensionHandle, SpaceHandle) {
  notImplemented("getDimensionName");
}

SpaceHandle RTIambassador::getAttributeRoutingSpaceHandle(AttributeHandle, ObjectClassHandle) {
  notImplemented("getAttributeRoutingSpaceHandle");
}

ObjectClassHandle RTIambassador::getObjectClass(ObjectHandle) { notImplemented("getObjectClass"); }

SpaceHandle RTIambassador::getInteractionRoutingSpaceHandle(InteractionClassHandle) {
  notImplemented("getInteractionRoutingSpaceHandle");
}

TransportationHandle RTIambassador::getTransportationHandle(const char*) {
  notImplemented("getTransportationHandle");
}

char* RTIambassador::getTransportationName(TransportationHandle) {
  notImplemented("getTransportationName");
}

OrderingHandle RTIambassador::getOrderingHandle(const char*) {
  notImplemented("getOrderingHandle");
}

char* RTIambassador::getOrderingName(OrderingHandle) { notImplemented("getOrderingName"); }

void RTIambassador::enableClassRelevanceAdvisorySwitch() {
  notImplemented("enableClassRelevanceAdvisorySwitch");
}

void RTIambassador::disableClassRelevanceAdvisorySwitch() {
  notImplemented("disableClassRelevanceAdvisorySwitch");
}

void RTIambassador::enableAttributeRelevanceAdvisorySwitch() {
  notImplemented("enableAttributeRelevanceAdvisorySwitch");
}

void RTIambassador::disableAttributeRelevanceAdvisorySwitch() {
  notImplemented("disableAttributeRelevanceAdvisorySwitch");
}

void RTIambassador::enableAttributeScopeAdvisorySwitch() {
  notImplemented("enableAttributeScopeAdvisorySwitch");
}

void RTIambassador::disableAttributeScopeAdvisorySwitch() {
  notImplemented("disableAttributeScopeAdvisorySwitch");
}

void RTIambassador::enableInteractionRelevanceAdvisorySwitch() {
  notImplemented("enableInteractionRelevanceAdvisorySwitch");
}

void RTIambassador::disableInteractionRelevanceAdvisorySwitch() {
  notImplemented("disableInteractionRelevanceAdvisorySwitch");
}

Boolean RTIambassador::tick(TickTime, TickTime) { notImplemented("tick"); }

Boolean RTIambassador::tick() { notImplemented("tick"); }

RegionToken RTIambassador::getRegionToken(Region*) { notImplemented("getRegionToken"); }

Region* RTIambassador::getRegion(RegionToken) { notImplemented("getRegion"); }

}  // namespace RTI
