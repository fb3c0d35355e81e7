// The MOM manager's Service handlers: each makes this federate call one RTI
// service through its ambassador, as if it had called it itself, so that
// every observer sees the call. An RTI::Exception ends the handler quietly:
// the MOM's observer has already sent it as an Alert (the dispatch forces
// Alerts on). ResignFederationExecution only asks the next tick to resign.
#include <memory>

#include "api/DtAttributeHandleSet.h"
#include "mom/DtMomAmbassador.h"
#include "mom/DtMomMgr.h"
#include "util/DtNotify.h"

namespace {

void traceReceived(const DtMomInteraction& interaction) {
  DtNotifyVerbose("RTI MOM: Received %s\n", interaction.name());
}

// The list's attributes as a set of the caller's.
std::unique_ptr<RTI::AttributeHandleSet> attributeSet(const DtMomHandleList& list) {
  auto set = std::make_unique<DtAttributeHandleSet>();
  list.getAttributes(set.get());
  return set;
}

// A time the interaction lacks reads as zero.
class TimeOrZero {
public:
  explicit TimeOrZero(const RTI::FedTime* time) : time_(time) {
    if (!time_) {
      zero_.reset(RTI::FedTimeFactory::makeZero());
      time_ = zero_.get();
    }
  }
  const RTI::FedTime& operator*() const { return *time_; }

private:
  std::unique_ptr<RTI::FedTime> zero_;
  const RTI::FedTime* time_;
};

}  // namespace

DtMomAmbassador& DtMomMgr::rti() const {
  if (!ambassador_) throw RTI::RTIinternalError("The MOM has no ambassador to call");
  return *ambassador_;
}

// Objects and their attributes ----------------------------------------------------

void DtMomMgr::processChangeAttributeOrderTypeInteraction(const DtChangeAttributeOrderTypeInteraction& i) {
  traceReceived(i);
  guarded([&] {
    const RTI::ObjectHandle object = rti().getObjectInstanceHandle(i.instance().string());
    rti().changeAttributeOrderType(object, *attributeSet(i.attributeList()), i.order());
  });
}

void DtMomMgr::processChangeAttributeTransportationTypeInteraction(
    const DtChangeAttributeTransportationTypeInteraction& i) {
  DtNotifyVerbose("RTI MOM: Processing %s(%lu)\n", i.name(), static_cast<unsigned long>(i.handle()));
  guarded([&] {
    const RTI::ObjectHandle object = rti().getObjectInstanceHandle(i.instance().string());
    rti().changeAttributeTransportationType(object, *attributeSet(i.attributeList()), i.transport());
  });
}

void DtMomMgr::processDeleteObjectInstanceInteraction(const DtDeleteObjectInstanceInteraction& i) {
  traceReceived(i);
  guarded([&] {
    const RTI::ObjectHandle object = rti().getObjectInstanceHandle(i.instance().string());
    if (i.timeSpecified()) {
      static_cast<void>(rti().deleteObjectInstance(object, *TimeOrZero(i.fedtime()), i.tag().string()));
    } else {
      rti().deleteObjectInstance(object, i.tag().string());
    }
  });
}

void DtMomMgr::processLocalDeleteObjectInstanceInteraction(const DtLocalDeleteObjectInstanceInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().localDeleteObjectInstance(rti().getObjectInstanceHandle(i.instance().string())); });
}

void DtMomMgr::processUnconditionalAttributeOwnershipDivestitureInteraction(
    const DtUnconditionalAttributeOwnershipDivestitureInteraction& i) {
  traceReceived(i);
  guarded([&] {
    const RTI::ObjectHandle object = rti().getObjectInstanceHandle(i.instance().string());
    rti().unconditionalAttributeOwnershipDivestiture(object, *attributeSet(i.attributeList()));
  });
}

// Interactions --------------------------------------------------------------------

void DtMomMgr::processChangeInteractionOrderTypeInteraction(const DtChangeInteractionOrderTypeInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().changeInteractionOrderType(i.interactionHandle(), i.order()); });
}

void DtMomMgr::processChangeInteractionTransportationTypeInteraction(
    const DtChangeInteractionTransportationTypeInteraction& i) {
  DtNotifyVerbose("RTI MOM: Recieved Manager.Federate.Service.ChangeInteractionTransportationType\n");
  guarded([&] { rti().changeInteractionTransportationType(i.interactionHandle(), i.transport()); });
}

// Declarations ------------------------------------------------------------------

void DtMomMgr::processPublishInteractionClassInteraction(const DtPublishInteractionClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().publishInteractionClass(i.interactionHandle()); });
}

void DtMomMgr::processPublishObjectClassInteraction(const DtPublishObjectClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().publishObjectClass(i.objectHandle(), *attributeSet(i.attributeList())); });
}

void DtMomMgr::processSubscribeInteractionClassInteraction(const DtSubscribeInteractionClassInteraction& i) {
  traceReceived(i);
  // Always actively: the interaction's Active parameter is not asked.
  guarded([&] { rti().subscribeInteractionClass(i.interactionHandle(), RTI::RTI_TRUE); });
}

void DtMomMgr::processSubscribeObjectClassAttributesInteraction(const DtSubscribeObjectClassAttributesInteraction& i) {
  traceReceived(i);
  guarded(
      [&] { rti().subscribeObjectClassAttributes(i.objectHandle(), *attributeSet(i.attributeList()), i.active()); });
}

void DtMomMgr::processUnpublishInteractionClassInteraction(const DtUnpublishInteractionClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().unpublishInteractionClass(i.interactionHandle()); });
}

void DtMomMgr::processUnpublishObjectClassInteraction(const DtUnpublishObjectClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().unpublishObjectClass(i.objectHandle()); });
}

void DtMomMgr::processUnsubscribeInteractionClassInteraction(const DtUnsubscribeInteractionClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().unsubscribeInteractionClass(i.interactionHandle()); });
}

void DtMomMgr::processUnsubscribeObjectClassInteraction(const DtUnsubscribeObjectClassInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().unsubscribeObjectClass(i.objectHandle()); });
}

// Federation management -----------------------------------------------------------

void DtMomMgr::processFederateRestoreCompleteInteraction(const DtFederateRestoreCompleteInteraction& i) {
  traceReceived(i);
  guarded([&] {
    if (i.successIndicator() == RTI::RTI_TRUE) {
      rti().federateRestoreComplete();
    } else {
      rti().federateRestoreNotComplete();
    }
  });
}

void DtMomMgr::processFederateSaveBegunInteraction(const DtFederateSaveBegunInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().federateSaveBegun(); });
}

void DtMomMgr::processFederateSaveCompleteInteraction(const DtFederateSaveCompleteInteraction& i) {
  traceReceived(i);
  guarded([&] {
    if (i.successIndicator() == RTI::RTI_TRUE) {
      rti().federateSaveComplete();
    } else {
      rti().federateSaveNotComplete();
    }
  });
}

void DtMomMgr::processResignFederationExecutionInteraction(const DtResignFederationExecutionInteraction& i) {
  traceReceived(i);
  // Never inside the dispatch: the resignation takes the managers down.
  resignAction_ = i.resignAction();
  resignPending_ = true;
}

void DtMomMgr::processSynchronizationPointAchievedInteraction(const DtSynchronizationPointAchievedInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().synchronizationPointAchieved(i.label().string()); });
}

// Time management ---------------------------------------------------------------

void DtMomMgr::processDisableAsynchronousDeliveryInteraction(const DtDisableAsynchronousDeliveryInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().disableAsynchronousDelivery(); });
}

void DtMomMgr::processDisableTimeConstrainedInteraction(const DtDisableTimeConstrainedInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().disableTimeConstrained(); });
}

void DtMomMgr::processDisableTimeRegulationInteraction(const DtDisableTimeRegulationInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().disableTimeRegulation(); });
}

void DtMomMgr::processEnableAsynchronousDeliveryInteraction(const DtEnableAsynchronousDeliveryInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().enableAsynchronousDelivery(); });
}

void DtMomMgr::processEnableTimeConstrainedInteraction(const DtEnableTimeConstrainedInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().enableTimeConstrained(); });
}

void DtMomMgr::processEnableTimeRegulationInteraction(const DtEnableTimeRegulationInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().enableTimeRegulation(*TimeOrZero(i.fedtime()), *TimeOrZero(i.lookahead())); });
}

void DtMomMgr::processFlushQueueRequestInteraction(const DtFlushQueueRequestInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().flushQueueRequest(*TimeOrZero(i.fedtime())); });
}

void DtMomMgr::processModifyLookaheadInteraction(const DtModifyLookaheadInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().modifyLookahead(*TimeOrZero(i.fedtime())); });
}

void DtMomMgr::processNextEventRequestInteraction(const DtNextEventRequestInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().nextEventRequest(*TimeOrZero(i.fedtime())); });
}

void DtMomMgr::processNextEventRequestAvailableInteraction(const DtNextEventRequestAvailableInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().nextEventRequestAvailable(*TimeOrZero(i.fedtime())); });
}

void DtMomMgr::processTimeAdvanceRequestInteraction(const DtTimeAdvanceRequestInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().timeAdvanceRequest(*TimeOrZero(i.fedtime())); });
}

void DtMomMgr::processTimeAdvanceRequestAvailableInteraction(const DtTimeAdvanceRequestAvailableInteraction& i) {
  traceReceived(i);
  guarded([&] { rti().timeAdvanceRequestAvailable(*TimeOrZero(i.fedtime())); });
}
