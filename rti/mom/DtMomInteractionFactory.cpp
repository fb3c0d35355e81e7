#include "mom/DtMomInteractionFactory.h"

#include "mom/DtMomAdjustInteractions.h"
#include "mom/DtMomDeclarationServiceInteractions.h"
#include "mom/DtMomFederationServiceInteractions.h"
#include "mom/DtMomObjectServiceInteractions.h"
#include "mom/DtMomRequestInteractions.h"
#include "mom/DtMomTimeServiceInteractions.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "util/DtNotify.h"

namespace {

struct MappedClass {
  const char* name;
  DtMomInteractionFactory::Creator create;
};

// Adjust, Request, then the Service classes in alphabetical order.
constexpr MappedClass momClasses[] = {
    {"Manager.Federate.Adjust.ModifyAttributeState", &DtModifyAttributeStateInteraction::create},
    {"Manager.Federate.Adjust.SetExceptionLogging", &DtSetExceptionLoggingInteraction::create},
    {"Manager.Federate.Adjust.SetTiming", &DtSetTimingInteraction::create},
    {"Manager.Federate.Adjust.SetServiceReporting", &DtSetServiceReportingInteraction::create},
    {"Manager.Federate.Request.RequestObjectsOwned", &DtRequestObjectsOwnedInteraction::create},
    {"Manager.Federate.Request.RequestUpdatesSent", &DtRequestUpdatesSentInteraction::create},
    {"Manager.Federate.Request.RequestPublications", &DtRequestPublicationsInteraction::create},
    {"Manager.Federate.Request.RequestReflectionsReceived", &DtRequestReflectionsReceivedInteraction::create},
    {"Manager.Federate.Request.RequestInteractionsSent", &DtRequestInteractionsSentInteraction::create},
    {"Manager.Federate.Request.RequestObjectsUpdated", &DtRequestObjectsUpdatedInteraction::create},
    {"Manager.Federate.Request.RequestSubscriptions", &DtRequestSubscriptionsInteraction::create},
    {"Manager.Federate.Request.RequestObjectInformation", &DtRequestObjectInformationInteraction::create},
    {"Manager.Federate.Request.RequestInteractionsReceived", &DtRequestInteractionsReceivedInteraction::create},
    {"Manager.Federate.Request.RequestObjectsReflected", &DtRequestObjectsReflectedInteraction::create},
    {"Manager.Federate.Service.ChangeAttributeOrderType", &DtChangeAttributeOrderTypeInteraction::create},
    {DtChangeAttributeTransportationTypeInteraction::theManagerFederateServiceChangeAttributeTransportationType,
     &DtChangeAttributeTransportationTypeInteraction::create},
    {"Manager.Federate.Service.ChangeInteractionOrderType", &DtChangeInteractionOrderTypeInteraction::create},
    {"Manager.Federate.Service.ChangeInteractionTransportationType",
     &DtChangeInteractionTransportationTypeInteraction::create},
    {"Manager.Federate.Service.DeleteObjectInstance", &DtDeleteObjectInstanceInteraction::create},
    {"Manager.Federate.Service.DisableAsynchronousDelivery", &DtDisableAsynchronousDeliveryInteraction::create},
    {"Manager.Federate.Service.DisableTimeConstrained", &DtDisableTimeConstrainedInteraction::create},
    {"Manager.Federate.Service.DisableTimeRegulation", &DtDisableTimeRegulationInteraction::create},
    {"Manager.Federate.Service.EnableAsynchronousDelivery", &DtEnableAsynchronousDeliveryInteraction::create},
    {"Manager.Federate.Service.EnableTimeConstrained", &DtEnableTimeConstrainedInteraction::create},
    {"Manager.Federate.Service.EnableTimeRegulation", &DtEnableTimeRegulationInteraction::create},
    {"Manager.Federate.Service.FederateRestoreComplete", &DtFederateRestoreCompleteInteraction::create},
    {"Manager.Federate.Service.FederateSaveBegun", &DtFederateSaveBegunInteraction::create},
    {"Manager.Federate.Service.FederateSaveComplete", &DtFederateSaveCompleteInteraction::create},
    {"Manager.Federate.Service.FlushQueueRequest", &DtFlushQueueRequestInteraction::create},
    {"Manager.Federate.Service.LocalDeleteObjectInstance", &DtLocalDeleteObjectInstanceInteraction::create},
    {"Manager.Federate.Service.ModifyLookahead", &DtModifyLookaheadInteraction::create},
    {"Manager.Federate.Service.NextEventRequest", &DtNextEventRequestInteraction::create},
    {"Manager.Federate.Service.NextEventRequestAvailable", &DtNextEventRequestAvailableInteraction::create},
    {"Manager.Federate.Service.PublishInteractionClass", &DtPublishInteractionClassInteraction::create},
    {"Manager.Federate.Service.PublishObjectClass", &DtPublishObjectClassInteraction::create},
    {"Manager.Federate.Service.ResignFederationExecution", &DtResignFederationExecutionInteraction::create},
    {"Manager.Federate.Service.SubscribeInteractionClass", &DtSubscribeInteractionClassInteraction::create},
    {"Manager.Federate.Service.SubscribeObjectClassAttributes", &DtSubscribeObjectClassAttributesInteraction::create},
    {"Manager.Federate.Service.SynchronizationPointAchieved", &DtSynchronizationPointAchievedInteraction::create},
    {"Manager.Federate.Service.TimeAdvanceRequest", &DtTimeAdvanceRequestInteraction::create},
    {"Manager.Federate.Service.TimeAdvanceRequestAvailable", &DtTimeAdvanceRequestAvailableInteraction::create},
    {"Manager.Federate.Service.UnconditionalAttributeOwnershipDivestiture",
     &DtUnconditionalAttributeOwnershipDivestitureInteraction::create},
    {"Manager.Federate.Service.UnpublishInteractionClass", &DtUnpublishInteractionClassInteraction::create},
    {"Manager.Federate.Service.UnpublishObjectClass", &DtUnpublishObjectClassInteraction::create},
    {"Manager.Federate.Service.UnsubscribeInteractionClass", &DtUnsubscribeInteractionClassInteraction::create},
    {"Manager.Federate.Service.UnsubscribeObjectClass", &DtUnsubscribeObjectClassInteraction::create},
};
static_assert(std::size(momClasses) == 46);

}  // namespace

DtMomInteractionFactory::DtMomInteractionFactory(DtFomClassMgr* fom) : fom_(fom) { populateMom(); }

DtMomInteractionFactory::~DtMomInteractionFactory() = default;

DtMomInteraction* DtMomInteractionFactory::create(std::uint32_t handle) const {
  const auto found = map_.find(handle);
  return found == map_.end() ? nullptr : found->second();
}

void DtMomInteractionFactory::populateMom() {
  for (const MappedClass& mapped : momClasses) map(mapped.name, mapped.create);
}

void DtMomInteractionFactory::map(std::uint32_t handle, Creator creator) { map_[handle] = creator; }

void DtMomInteractionFactory::map(const DtInteractionClassInfo* interactionClass, Creator creator) {
  map(interactionClass->handle(), creator);
  for (const DtInteractionClassInfo* subclass : interactionClass->subclasses()) map(subclass, creator);
}

void DtMomInteractionFactory::map(const char* name, Creator creator) {
  const DtInteractionClassInfo* interactionClass = fom_ ? fom_->interactionByName(name) : nullptr;
  if (!interactionClass) {
    DtNotifyVerbose("The FOM has no MOM interaction class %s\n", name);
    return;
  }
  map(interactionClass, creator);
}
