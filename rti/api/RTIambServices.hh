// clang-format off
#pragma once
// HLA 1.3 C++ API: the RTI ambassador, through which a federate calls the RTI.
// Included by RTI.hh.

#include "RTItypes.hh"

class DtPrivRefs;
class DtRtiAmbassadorAccess;

namespace RTI {

// Every service throws the RTI exception that names the failure. Names
// returned as char* are new arrays that the caller frees with delete[].
// Not thread-safe: a federate calls its ambassador from one thread, and
// callbacks arrive on that thread inside tick().
class RTI_EXPORT RTIambassador {
public:
  typedef FederateAmbassador* FederateAmbassadorPtr;

  // Reads the RID file and assembles the federate's RTI: its configuration,
  // plug-ins, service observers and managers are this ambassador's own. The
  // diagnostics level, the log file ("orvekRti.log") and the defaults of the
  // advisory switches, the object name prefix and the TCP buffer size belong
  // to the process: each ambassador sets them from its RID file when it is
  // made, so with several ambassadors in one process the last one made
  // decides them for all.
  RTIambassador();
  ~RTIambassador();

  // Federation management
  void createFederationExecution(const char* executionName, const char* FED);
  void destroyFederationExecution(const char* executionName);
  FederateHandle joinFederationExecution(const char* yourName, const char* executionName,
                                         FederateAmbassadorPtr federateAmbassadorReference);
  void resignFederationExecution(ResignAction theAction);
  void registerFederationSynchronizationPoint(const char* label, const char* theTag,
                                              const FederateHandleSet& syncSet);
  void registerFederationSynchronizationPoint(const char* label, const char* theTag);
  void synchronizationPointAchieved(const char* label);
  void requestFederationSave(const char* label);
  void requestFederationSave(const char* label, const FedTime& theTime);
  void federateSaveBegun();
  void federateSaveComplete();
  void federateSaveNotComplete();
  void requestFederationRestore(const char* label);
  void federateRestoreComplete();
  void federateRestoreNotComplete();

  // Declaration management
  void publishObjectClass(ObjectClassHandle theClass, const AttributeHandleSet& attributeList);
  void unpublishObjectClass(ObjectClassHandle theClass);
  void publishInteractionClass(InteractionClassHandle theInteraction);
  void unpublishInteractionClass(InteractionClassHandle theInteraction);
  void subscribeObjectClassAttributes(ObjectClassHandle theClass,
                                      const AttributeHandleSet& attributeList,
                                      Boolean active = RTI_TRUE);
  void unsubscribeObjectClass(ObjectClassHandle theClass);
  void subscribeInteractionClass(InteractionClassHandle theClass, Boolean active = RTI_TRUE);
  void unsubscribeInteractionClass(InteractionClassHandle theClass);

  // Object management
  ObjectHandle registerObjectInstance(ObjectClassHandle theClass);
  ObjectHandle registerObjectInstance(ObjectClassHandle theClass, const char* theObject);
  void updateAttributeValues(ObjectHandle theObject,
                             const AttributeHandleValuePairSet& theAttributes,
                             const char* theTag);
  EventRetractionHandle updateAttributeValues(ObjectHandle theObject,
                                              const AttributeHandleValuePairSet& theAttributes,
                                              const FedTime& theTime, const char* theTag);
  void sendInteraction(InteractionClassHandle theInteraction,
                       const ParameterHandleValuePairSet& theParameters, const char* theTag);
  EventRetractionHandle sendInteraction(InteractionClassHandle theInteraction,
                                        const ParameterHandleValuePairSet& theParameters,
                                        const FedTime& theTime, const char* theTag);
  void deleteObjectInstance(ObjectHandle theObject, const char* theTag);
  EventRetractionHandle deleteObjectInstance(ObjectHandle theObject, const FedTime& theTime,
                                             const char* theTag);
  void localDeleteObjectInstance(ObjectHandle theObject);
  void changeAttributeTransportationType(ObjectHandle theObject,
                                         const AttributeHandleSet& theAttributes,
                                         TransportationHandle theType);
  void changeInteractionTransportationType(InteractionClassHandle theClass,
                                           TransportationHandle theType);
  void requestObjectAttributeValueUpdate(ObjectHandle theObject,
                                         const AttributeHandleSet& theAttributes);
  void requestClassAttributeValueUpdate(ObjectClassHandle theClass,
                                        const AttributeHandleSet& theAttributes);

  // Ownership management
  void unconditionalAttributeOwnershipDivestiture(ObjectHandle theObject,
                                                  const AttributeHandleSet& theAttributes);
  void negotiatedAttributeOwnershipDivestiture(ObjectHandle theObject,
                                               const AttributeHandleSet& theAttributes,
                                               const char* theTag);
  void attributeOwnershipAcquisition(ObjectHandle theObject,
                                     const AttributeHandleSet& desiredAttributes,
                                     const char* theTag);
  void attributeOwnershipAcquisitionIfAvailable(ObjectHandle theObject,
                                                const AttributeHandleSet& desiredAttributes);
  // The set returned belongs to the caller.
  AttributeHandleSet* attributeOwnershipReleaseResponse(ObjectHandle theObject,
                                                        const AttributeHandleSet& theAttributes);
  void cancelNegotiatedAttributeOwnershipDivestiture(ObjectHandle theObject,
                                                     const AttributeHandleSet& theAttributes);
  void cancelAttributeOwnershipAcquisition(ObjectHandle theObject,
                                           const AttributeHandleSet& theAttributes);
  void queryAttributeOwnership(ObjectHandle theObject, AttributeHandle theAttribute);
  Boolean isAttributeOwnedByFederate(ObjectHandle theObject, AttributeHandle theAttribute);

  // Time management
  void enableTimeRegulation(const FedTime& theFederateTime, const FedTime& theLookahead);
  void disableTimeRegulation();
  void enableTimeConstrained();
  void disableTimeConstrained();
  void timeAdvanceRequest(const FedTime& theTime);
  void timeAdvanceRequestAvailable(const FedTime& theTime);
  void nextEventRequest(const FedTime& theTime);
  void nextEventRequestAvailable(const FedTime& theTime);
  void flushQueueRequest(const FedTime& theTime);
  void enableAsynchronousDelivery();
  void disableAsynchronousDelivery();
  void queryLBTS(FedTime& theTime);
  void queryFederateTime(FedTime& theTime);
  void queryMinNextEventTime(FedTime& theTime);
  void modifyLookahead(const FedTime& theLookahead);
  void queryLookahead(FedTime& theTime);
  void retract(EventRetractionHandle theHandle);
  void changeAttributeOrderType(ObjectHandle theObject, const AttributeHandleSet& theAttributes,
                                OrderingHandle theType);
  void changeInteractionOrderType(InteractionClassHandle theClass, OrderingHandle theType);

  // Data distribution management
  Region* createRegion(SpaceHandle theSpace, ULong numberOfExtents);
  void notifyAboutRegionModification(Region& theRegion);
  void deleteRegion(Region* theRegion);
  ObjectHandle registerObjectInstanceWithRegion(ObjectClassHandle theClass,
                                                AttributeHandle theAttributes[],
                                                Region* theRegions[], ULong theNumberOfHandles);
  ObjectHandle registerObjectInstanceWithRegion(ObjectClassHandle theClass, const char* theObject,
                                                AttributeHandle theAttributes[],
                                                Region* theRegions[], ULong theNumberOfHandles);
  void associateRegionForUpdates(Region& theRegion, ObjectHandle theObject,
                                 const AttributeHandleSet& theAttributes);
  void unassociateRegionForUpdates(Region& theRegion, ObjectHandle theObject);
  void subscribeObjectClassAttributesWithRegion(ObjectClassHandle theClass, Region& theRegion,
                                                const AttributeHandleSet& attributeList,
                                                Boolean active = RTI_TRUE);
  void unsubscribeObjectClassWithRegion(ObjectClassHandle theClass, Region& theRegion);
  void subscribeInteractionClassWithRegion(InteractionClassHandle theClass, Region& theRegion,
                                           Boolean active = RTI_TRUE);
  void unsubscribeInteractionClassWithRegion(InteractionClassHandle theClass, Region& theRegion);
  void sendInteractionWithRegion(InteractionClassHandle theInteraction,
                                 const ParameterHandleValuePairSet& theParameters,
                                 const char* theTag, const Region& theRegion);
  EventRetractionHandle sendInteractionWithRegion(InteractionClassHandle theInteraction,
                                                  const ParameterHandleValuePairSet& theParameters,
                                                  const FedTime& theTime, const char* theTag,
                                                  const Region& theRegion);
  void requestClassAttributeValueUpdateWithRegion(ObjectClassHandle theClass,
                                                  const AttributeHandleSet& theAttributes,
                                                  const Region& theRegion);

  // Support services
  ObjectClassHandle getObjectClassHandle(const char* theName);
  char* getObjectClassName(ObjectClassHandle theHandle);
  AttributeHandle getAttributeHandle(const char* theName, ObjectClassHandle whichClass);
  char* getAttributeName(AttributeHandle theHandle, ObjectClassHandle whichClass);
  InteractionClassHandle getInteractionClassHandle(const char* theName);
  char* getInteractionClassName(InteractionClassHandle theHandle);
  ParameterHandle getParameterHandle(const char* theName, InteractionClassHandle whichClass);
  char* getParameterName(ParameterHandle theHandle, InteractionClassHandle whichClass);
  ObjectHandle getObjectInstanceHandle(const char* theName);
  char* getObjectInstanceName(ObjectHandle theHandle);
  SpaceHandle getRoutingSpaceHandle(const char* theName);
  char* getRoutingSpaceName(SpaceHandle theHandle);
  DimensionHandle getDimensionHandle(const char* theName, SpaceHandle whichSpace);
  char* getDimensionName(DimensionHandle theHandle, SpaceHandle whichSpace);
  SpaceHandle getAttributeRoutingSpaceHandle(AttributeHandle theHandle,
                                             ObjectClassHandle whichClass);
  ObjectClassHandle getObjectClass(ObjectHandle theObject);
  SpaceHandle getInteractionRoutingSpaceHandle(InteractionClassHandle theHandle);
  TransportationHandle getTransportationHandle(const char* theName);
  char* getTransportationName(TransportationHandle theHandle);
  OrderingHandle getOrderingHandle(const char* theName);
  char* getOrderingName(OrderingHandle theHandle);

  // Advisory switches
  void enableClassRelevanceAdvisorySwitch();
  void disableClassRelevanceAdvisorySwitch();
  void enableAttributeRelevanceAdvisorySwitch();
  void disableAttributeRelevanceAdvisorySwitch();
  void enableAttributeScopeAdvisorySwitch();
  void disableAttributeScopeAdvisorySwitch();
  void enableInteractionRelevanceAdvisorySwitch();
  void disableInteractionRelevanceAdvisorySwitch();

  // Delivers pending callbacks on the calling thread; the two-argument form
  // keeps delivering for at least minimum and at most maximum seconds.
  Boolean tick(TickTime minimum, TickTime maximum);
  Boolean tick();

  // Region tokens: a region's handle, to be passed between federates.
  RegionToken getRegionToken(Region* theRegion);
  Region* getRegion(RegionToken theToken);

  RTIambassador(const RTIambassador&) = delete;
  RTIambassador& operator=(const RTIambassador&) = delete;

private:
  friend class ::DtRtiAmbassadorAccess;  // the library's extensions reach the record
  DtPrivRefs* _privRefs;  // owned; the federate's local RTI component
};

}  // namespace RTI
