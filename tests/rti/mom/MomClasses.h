#pragma once
// The MOM interaction classes, for the tests that walk all of them: the 46
// that a federate sends to a MOM (made by the factory from their names) and
// the 14 that a MOM sends.

#include <vector>

#include "mom/DtMomCountReports.h"
#include "mom/DtMomDeclarationReports.h"
#include "mom/DtMomReports.h"

inline const std::vector<const char*> receivedMomClasses = {
    "Manager.Federate.Adjust.ModifyAttributeState",
    "Manager.Federate.Adjust.SetExceptionLogging",
    "Manager.Federate.Adjust.SetTiming",
    "Manager.Federate.Adjust.SetServiceReporting",
    "Manager.Federate.Request.RequestObjectsOwned",
    "Manager.Federate.Request.RequestUpdatesSent",
    "Manager.Federate.Request.RequestPublications",
    "Manager.Federate.Request.RequestReflectionsReceived",
    "Manager.Federate.Request.RequestInteractionsSent",
    "Manager.Federate.Request.RequestObjectsUpdated",
    "Manager.Federate.Request.RequestSubscriptions",
    "Manager.Federate.Request.RequestObjectInformation",
    "Manager.Federate.Request.RequestInteractionsReceived",
    "Manager.Federate.Request.RequestObjectsReflected",
    "Manager.Federate.Service.ChangeAttributeOrderType",
    "Manager.Federate.Service.ChangeAttributeTransportationType",
    "Manager.Federate.Service.ChangeInteractionOrderType",
    "Manager.Federate.Service.ChangeInteractionTransportationType",
    "Manager.Federate.Service.DeleteObjectInstance",
    "Manager.Federate.Service.DisableAsynchronousDelivery",
    "Manager.Federate.Service.DisableTimeConstrained",
    "Manager.Federate.Service.DisableTimeRegulation",
    "Manager.Federate.Service.EnableAsynchronousDelivery",
    "Manager.Federate.Service.EnableTimeConstrained",
    "Manager.Federate.Service.EnableTimeRegulation",
    "Manager.Federate.Service.FederateRestoreComplete",
    "Manager.Federate.Service.FederateSaveBegun",
    "Manager.Federate.Service.FederateSaveComplete",
    "Manager.Federate.Service.FlushQueueRequest",
    "Manager.Federate.Service.LocalDeleteObjectInstance",
    "Manager.Federate.Service.ModifyLookahead",
    "Manager.Federate.Service.NextEventRequest",
    "Manager.Federate.Service.NextEventRequestAvailable",
    "Manager.Federate.Service.PublishInteractionClass",
    "Manager.Federate.Service.PublishObjectClass",
    "Manager.Federate.Service.ResignFederationExecution",
    "Manager.Federate.Service.SubscribeInteractionClass",
    "Manager.Federate.Service.SubscribeObjectClassAttributes",
    "Manager.Federate.Service.SynchronizationPointAchieved",
    "Manager.Federate.Service.TimeAdvanceRequest",
    "Manager.Federate.Service.TimeAdvanceRequestAvailable",
    "Manager.Federate.Service.UnconditionalAttributeOwnershipDivestiture",
    "Manager.Federate.Service.UnpublishInteractionClass",
    "Manager.Federate.Service.UnpublishObjectClass",
    "Manager.Federate.Service.UnsubscribeInteractionClass",
    "Manager.Federate.Service.UnsubscribeObjectClass",
};

struct SentMomClass {
  const char* name;
  DtMomInteraction* (*create)();
};

inline const std::vector<SentMomClass> sentMomClasses = {
    {"Manager.Federate.Report.Alert", &DtAlertInteraction::create},
    {"Manager.Federate.Report.ReportInteractionPublication", &DtReportInteractionPublicationInteraction::create},
    {"Manager.Federate.Report.ReportInteractionsReceived", &DtReportInteractionsReceivedInteraction::create},
    {"Manager.Federate.Report.ReportInteractionsSent", &DtReportInteractionsSentInteraction::create},
    {"Manager.Federate.Report.ReportInteractionSubscription", &DtReportInteractionSubscriptionInteraction::create},
    {"Manager.Federate.Report.ReportObjectInformation", &DtReportObjectInformationInteraction::create},
    {"Manager.Federate.Report.ReportObjectsOwned", &DtReportObjectsOwnedInteraction::create},
    {"Manager.Federate.Report.ReportObjectPublication", &DtReportObjectPublicationInteraction::create},
    {"Manager.Federate.Report.ReportObjectsReflected", &DtReportObjectsReflectedInteraction::create},
    {"Manager.Federate.Report.ReportObjectSubscription", &DtReportObjectSubscriptionInteraction::create},
    {"Manager.Federate.Report.ReportObjectsUpdated", &DtReportObjectsUpdatedInteraction::create},
    {"Manager.Federate.Report.ReportReflectionsReceived", &DtReportReflectionsReceivedInteraction::create},
    {"Manager.Federate.Report.ReportServiceInvocation", &DtReportServiceInvocationInteraction::create},
    {"Manager.Federate.Report.ReportUpdatesSent", &DtReportUpdatesSentInteraction::create},
};
