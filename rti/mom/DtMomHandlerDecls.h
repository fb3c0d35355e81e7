#pragma once
// The MOM interaction classes that a federate's MOM manager answers, one row
// each: X(group, name) for the class "Manager.Federate.<group>.<name>", its
// interaction class Dt<name>Interaction and its handler
// process<name>Interaction. The rows are in the order the manager files its
// handlers at join: the Adjust classes, the Request classes, then the
// Service classes in alphabetical order.

#include "mom/DtMomAdjustInteractions.h"
#include "mom/DtMomDeclarationServiceInteractions.h"
#include "mom/DtMomFederationServiceInteractions.h"
#include "mom/DtMomObjectServiceInteractions.h"
#include "mom/DtMomRequestInteractions.h"
#include "mom/DtMomTimeServiceInteractions.h"

// clang-format off
#define DT_MOM_HANDLERS(X)                                    \
  X(Adjust, ModifyAttributeState)                             \
  X(Adjust, SetExceptionLogging)                              \
  X(Adjust, SetTiming)                                        \
  X(Adjust, SetServiceReporting)                              \
  X(Request, RequestUpdatesSent)                              \
  X(Request, RequestPublications)                             \
  X(Request, RequestReflectionsReceived)                      \
  X(Request, RequestObjectsOwned)                             \
  X(Request, RequestInteractionsSent)                         \
  X(Request, RequestObjectsUpdated)                           \
  X(Request, RequestSubscriptions)                            \
  X(Request, RequestObjectInformation)                        \
  X(Request, RequestInteractionsReceived)                     \
  X(Request, RequestObjectsReflected)                         \
  X(Service, ChangeAttributeOrderType)                        \
  X(Service, ChangeAttributeTransportationType)               \
  X(Service, ChangeInteractionOrderType)                      \
  X(Service, ChangeInteractionTransportationType)             \
  X(Service, DeleteObjectInstance)                            \
  X(Service, DisableAsynchronousDelivery)                     \
  X(Service, DisableTimeConstrained)                          \
  X(Service, DisableTimeRegulation)                           \
  X(Service, EnableAsynchronousDelivery)                      \
  X(Service, EnableTimeConstrained)                           \
  X(Service, EnableTimeRegulation)                            \
  X(Service, FederateRestoreComplete)                         \
  X(Service, FederateSaveBegun)                               \
  X(Service, FederateSaveComplete)                            \
  X(Service, FlushQueueRequest)                               \
  X(Service, LocalDeleteObjectInstance)                       \
  X(Service, ModifyLookahead)                                 \
  X(Service, NextEventRequest)                                \
  X(Service, NextEventRequestAvailable)                       \
  X(Service, PublishInteractionClass)                         \
  X(Service, PublishObjectClass)                              \
  X(Service, ResignFederationExecution)                       \
  X(Service, SubscribeInteractionClass)                       \
  X(Service, SubscribeObjectClassAttributes)                  \
  X(Service, SynchronizationPointAchieved)                    \
  X(Service, TimeAdvanceRequest)                              \
  X(Service, TimeAdvanceRequestAvailable)                     \
  X(Service, UnconditionalAttributeOwnershipDivestiture)      \
  X(Service, UnpublishInteractionClass)                       \
  X(Service, UnpublishObjectClass)                            \
  X(Service, UnsubscribeInteractionClass)                     \
  X(Service, UnsubscribeObjectClass)
// clang-format on
