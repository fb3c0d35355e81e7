// The MOM manager's Request handlers, which answer with reports, and its
// Adjust handlers, which change the MOM's own settings (SetServiceReporting
// is with the Alerts). Each runs inside the dispatch of a received MOM
// interaction; an RTI::Exception goes back to the dispatch, which sends it
// as an Alert.
#include <memory>

#include "api/DtAttributeHandleSet.h"
#include "mom/DtMomClassLists.h"
#include "mom/DtMomCountReports.h"
#include "mom/DtMomDeclarationReports.h"
#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomFederateView.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomObjectInfo.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomTallyList.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

void traceReceived(const DtMomInteraction& interaction) {
  DtNotifyVerbose("RTI MOM: Received %s\n", interaction.name());
}

// The inspector's publication or subscription entries, deleted with it.
template <class List>
struct OwnedEntries {
  List list;
  OwnedEntries() = default;
  OwnedEntries(const OwnedEntries&) = delete;
  OwnedEntries& operator=(const OwnedEntries&) = delete;
  ~OwnedEntries() {
    for (DtListItem* item = list.head(); item; item = item->next()) delete list.entry(item);
    list.clear();
  }
};

// Two reports of the counts, one per transportation type, `first` first.
template <class Report, class Send>
void sendBothTransports(DtMomTallyList& counts, void (Report::*setCounts)(DtMomTallyList*), DtTransportType first,
                        Send&& send) {
  for (const DtTransportType transport : {first, first == DtReliable ? DtBestEffort : DtReliable}) {
    Report report;
    (report.*setCounts)(&counts);
    report.setTransportationType(transport);
    send(report);
  }
}

}  // namespace

// Requests ----------------------------------------------------------------------

void DtMomMgr::processRequestUpdatesSentInteraction(const DtRequestUpdatesSentInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(false);
  inspector_->getDetailedUpdatesTally(counts);
  sendBothTransports(counts, &DtReportUpdatesSentInteraction::setUpdateCounts, DtBestEffort,
                     [this](DtMomInteraction& report) { sendReport(report); });
}

void DtMomMgr::processRequestPublicationsInteraction(const DtRequestPublicationsInteraction& i) {
  traceReceived(i);
  OwnedEntries<DtMomPublicationList> classes;
  inspector_->getObjectPublication(classes.list);
  const auto count = static_cast<std::int32_t>(classes.list.count());
  if (count == 0) {
    DtReportObjectPublicationInteraction report;
    report.setNumberOfClasses(0);
    report.setObjectClass(0);
    sendReport(report);
  }
  for (const DtListItem* item = classes.list.head(); item; item = item->next()) {
    const DtMomHandleList* entry = classes.list.entry(item);
    DtReportObjectPublicationInteraction report;
    report.setAttributeList(*entry);
    report.setNumberOfClasses(count);
    report.setObjectClass(entry->classHandle());
    sendReport(report);
  }
  DtMomHandleList interactions;
  inspector_->getInteractionPublication(&interactions);
  DtReportInteractionPublicationInteraction report;
  report.setInteractionClassList(interactions);
  sendReport(report);
}

void DtMomMgr::processRequestReflectionsReceivedInteraction(const DtRequestReflectionsReceivedInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(false);
  inspector_->getDetailedUpdatesTally(counts);
  sendBothTransports(counts, &DtReportReflectionsReceivedInteraction::setReflectCounts, DtReliable,
                     [this](DtMomInteraction& report) { sendReport(report); });
}

void DtMomMgr::processRequestObjectsOwnedInteraction(const DtRequestObjectsOwnedInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(true);
  objMgr_->getObjectsOwned(counts);
  DtReportObjectsOwnedInteraction report;
  report.setObjectCounts(&counts);
  sendReport(report);
}

void DtMomMgr::processRequestInteractionsSentInteraction(const DtRequestInteractionsSentInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(false);
  inspector_->getDetailedInteractionsTally(counts);
  sendBothTransports(counts, &DtReportInteractionsSentInteraction::setInteractionCounts, DtReliable,
                     [this](DtMomInteraction& report) { sendReport(report); });
}

void DtMomMgr::processRequestObjectsUpdatedInteraction(const DtRequestObjectsUpdatedInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(true);
  objMgr_->getObjectsUpdated(counts);
  DtReportObjectsUpdatedInteraction report;
  report.setObjectCounts(&counts);
  sendReport(report);
}

void DtMomMgr::processRequestSubscriptionsInteraction(const DtRequestSubscriptionsInteraction& i) {
  traceReceived(i);
  OwnedEntries<DtMomSubscriptionList> classes;
  inspector_->getObjectSubscription(classes.list);
  const auto count = static_cast<std::int32_t>(classes.list.count());
  for (const DtListItem* item = classes.list.head(); item; item = item->next()) {
    const DtMomHandleList* entry = classes.list.entry(item);
    DtReportObjectSubscriptionInteraction report;
    report.setAttributeList(*entry);
    report.setNumberOfClasses(count);
    report.setObjectClass(entry->classHandle());
    report.setActive(entry->active());
    sendReport(report);
  }
  DtReportInteractionSubscriptionInteraction report;
  DtMomHandleList active;
  inspector_->getInteractionSubscription(&active, RTI::RTI_TRUE);
  report.setActiveList(active);
  DtMomHandleList passive;
  inspector_->getInteractionSubscription(&passive, RTI::RTI_FALSE);
  report.setPassiveList(passive);
  sendReport(report);
}

void DtMomMgr::processRequestObjectInformationInteraction(const DtRequestObjectInformationInteraction& i) {
  traceReceived(i);
  DtMomObjectInfo info;
  const DtString name = i.objectInstance();
  inspector_->getObjectInformation(info, name.string());
  DtReportObjectInformationInteraction report;
  report.setObjectInstance(name);
  report.setKnownClass(info.knownClass());
  report.setOwnedAttributeList(info.owned());
  report.setRegisteredClass(info.actualClass());
  sendReport(report);
}

void DtMomMgr::processRequestInteractionsReceivedInteraction(const DtRequestInteractionsReceivedInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(false);
  inspector_->getDetailedInteractionsTally(counts);
  sendBothTransports(counts, &DtReportInteractionsReceivedInteraction::setInteractionCounts, DtReliable,
                     [this](DtMomInteraction& report) { sendReport(report); });
}

void DtMomMgr::processRequestObjectsReflectedInteraction(const DtRequestObjectsReflectedInteraction& i) {
  traceReceived(i);
  DtMomTallyList counts(true);
  objMgr_->getObjectsReflected(counts);
  DtReportObjectsReflectedInteraction report;
  report.setObjectCounts(&counts);
  sendReport(report);
}

// Adjustments -------------------------------------------------------------------

void DtMomMgr::processModifyAttributeStateInteraction(const DtModifyAttributeStateInteraction& i) {
  traceReceived(i);
  DtAttributeHandleSet attributes;
  attributes.add(i.attribute());
  const DtString name = i.objectInstance();
  DtRtiObject* object = objMgr_->knownObj(name.string());
  if (!object) return;
  if (i.attributeState() == DtMomOwned) {
    if (object->ownedAttrs().isEmpty()) objMgr_->addOwnedObj(object);
    object->takeFromLrc(attributes);
  } else {
    if (object->lrcManagedAttrs().isEmpty()) objMgr_->addLrcManagedObj(object);
    object->giveToLrc(attributes);
    if (object->ownedAttrs().isEmpty()) objMgr_->removeOwnedObj(object->objHandle());
  }
}

void DtMomMgr::processSetExceptionLoggingInteraction(const DtSetExceptionLoggingInteraction& i) {
  const RTI::Boolean state = i.loggingState();
  DtNotifyVerbose("RTI MOM: Received Manager.Federate.Adjust.SetExceptionLogging %s\n", state ? "on" : "off");
  setExceptionSwitches(state);
}

void DtMomMgr::processSetTimingInteraction(const DtSetTimingInteraction& i) {
  if (federatePublisher_) federatePublisher_->setTiming(i.reportPeriod() > 0 ? i.reportPeriod() : 0);
}
