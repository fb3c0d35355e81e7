// The MOM manager's interactions: the dispatch of received MOM interactions
// to the handlers of the callback table, the sending of its own, and the
// Alerts.
#include <ctime>
#include <memory>
#include <string>

#include "mom/DtMomArgument.h"
#include "mom/DtMomForcedAlerts.h"
#include "mom/DtMomInteractionFactory.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomObserver.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomServiceReportSender.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtInteractionMgr.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* theReportServiceInvocation = "Manager.Federate.Report.ReportServiceInvocation";

// "<name>: <reason>", as an Alert and the log tell an exception.
std::string exceptionText(const RTI::Exception& exception) {
  return std::string(exception._name ? exception._name : "Exception") + ": " +
         (exception._reason ? exception._reason : "");
}

DtMomAlertTypes severityOf(const RTI::Exception& exception) {
  const std::string name = exception._name ? exception._name : "";
  if (name == "FederateInternalError") return DtMomFederateInternalError;
  if (name == "RTIinternalError") return DtMomRtiInternalError;
  return DtMomRtiException;
}

}  // namespace

// Dispatch ----------------------------------------------------------------------

void DtMomMgr::processInteraction(const DtInteractionMsg& msg) {
  if (!joined_ || !factory_) return;
  std::unique_ptr<DtMomInteraction> interaction(factory_->create(static_cast<std::uint32_t>(msg.handle())));
  if (!interaction) return;  // not a class this MOM answers
  const DtMomForcedAlerts forced(exceptionReports_, exceptionReportsSettings_);
  try {
    interaction->setHandleMapper(fom_);
    const RTI::ParameterHandleValuePairSet& params = msg.params();
    interaction->setFromPhvps(params);
    const std::uint32_t target = interaction->federateHandle();
    if (target != 0 && target != federateHandle()) return;  // another federate's
    // A value refused counts as missing: the handler would read its default.
    const long missing = static_cast<long>(interaction->parameterCount()) - static_cast<long>(params.size()) +
                         interaction->refusedValues();
    if (missing > 0) {
      const std::string text = std::string(interaction->name()) + " interaction sent from federate " +
                               std::to_string(msg.federateHandle()) + " to " + std::to_string(target) + " is missing " +
                               std::to_string(missing) + " parameter(s)";
      sendServiceAlert(text.c_str());
      return;
    }
    processInteraction(*interaction);
  } catch (const RTI::Exception& exception) {
    processException(exception);
  }
}

std::vector<DtMomMgr::CallbackRecord>& DtMomMgr::callbackList(std::uint32_t classHandle) {
  return callbacks_[classHandle];
}

void DtMomMgr::addCallback(std::uint32_t classHandle, Callback callback, void* usr) {
  callbackList(classHandle).push_back({callback, usr});
}

void DtMomMgr::processInteraction(const DtMomInteraction& interaction) {
  const auto found = callbacks_.find(interaction.handle());
  if (found == callbacks_.end()) return;
  // A copy: a handler may resign this manager, which empties the table.
  const std::vector<CallbackRecord> records = found->second;
  for (const CallbackRecord& record : records) record.callback(interaction, record.usr);
}

template <class Interaction, void (DtMomMgr::*Handler)(const Interaction&)>
void DtMomMgr::callHandler(const DtMomInteraction& interaction, void* mgr) {
  // The factory makes the class of the handle; a plug-in's may not.
  if (const auto* received = dynamic_cast<const Interaction*>(&interaction)) {
    (static_cast<DtMomMgr*>(mgr)->*Handler)(*received);
  }
}

void DtMomMgr::registerInteractionHandlers() {
  struct Row {
    const char* className;
    Callback handler;
  };
#define DT_MOM_HANDLER_ROW(group, name) \
  {"Manager.Federate." #group "." #name, &callHandler<Dt##name##Interaction, &DtMomMgr::process##name##Interaction>},
  static const Row rows[] = {DT_MOM_HANDLERS(DT_MOM_HANDLER_ROW)};
#undef DT_MOM_HANDLER_ROW
  for (const Row& row : rows) {
    DtInteractionClassInfo* cls = fom_ ? fom_->interactionByName(row.className) : nullptr;
    RTI::InteractionClassHandle handle = 0;
    try {
      if (!cls) throw RTI::NameNotFound(row.className);
      handle = fom_->interactionHandle(row.className);
    } catch (const RTI::NameNotFound&) {
      DtNotifyError("%s not found in fom\n", row.className);
      return;
    }
    // Relevant whatever the subscriptions, so that its interactions come.
    cls->overrideRelevance();
    addCallback(handle, row.handler, this);
  }
}

// Sending -----------------------------------------------------------------------

void DtMomMgr::sendInteraction(DtMomInteraction* interaction) {
  if (!interaction || !connectMgr_ || !fom_) return;
  interaction->setHandleMapper(fom_);
  DtInteractionRoMsg* msg = nullptr;
  if (const DtMomHandleCache::Entry* known = handleCache_.find(*interaction)) {
    msg = new DtInteractionRoMsg(known->classHandle, interaction->phvps(known->parameters), "", 0, nullptr);
  } else {
    msg = new DtInteractionRoMsg(interaction->handle(), interaction->phvps(), "", 0, nullptr);
  }
  connectMgr_->sendStampedAnonymousAndDelete(msg, connectMgr_->internalTransportType(), 0);
}

void DtMomMgr::testInteraction(DtMomInteraction& interaction) {
  interaction.setFederateHandle(federateHandle());
  sendInteraction(&interaction);
}

void DtMomMgr::sendReport(DtMomInteraction& report) { testInteraction(report); }

// Alerts ------------------------------------------------------------------------

void DtMomMgr::sendAlert(const char* text, DtMomAlertTypes severity) {
  DtAlertInteraction alert;
  alert.setAlertID(static_cast<std::int32_t>(takeAlertId()));
  alert.setAlertDescription(DtString(text));
  alert.setAlertSeverity(severity);
  sendReport(alert);
}

void DtMomMgr::processException(const RTI::Exception& exception) {
  if (exceptionLogging_ == 0 && exceptionReports_ == 0) return;
  const std::string text = exceptionText(exception);
  if (exceptionReports_ != 0) sendAlert(text.c_str(), severityOf(exception));
  if (exceptionLogging_ == 1) {
    const std::time_t now = std::time(nullptr);
    char stamp[32] = {};
    const char* when = ctime_r(&now, stamp);  // ends in a newline
    DtNotifyError("%s %s\n", when ? when : "", text.c_str());
  }
}

void DtMomMgr::sendServiceAlert(const char* text) { sendAlert(text ? text : "", DtMomRtiInternalError); }

// Service reporting ---------------------------------------------------------------

void DtMomMgr::prepareForSubscribe(DtInteractionClassInfo& cls) {
  if (!serviceReporting_ || !fom_) return;
  const DtInteractionClassInfo* reports = fom_->interactionByName(theReportServiceInvocation);
  if (reports && reports->isOfClass(cls.handle())) throw RTI::FederateLoggingServiceCalls("");
}

void DtMomMgr::observe(const char* service, const RTI::Exception* exception, const DtMomArgument& supplied1,
                       const DtMomArgument& supplied2, const DtMomArgument& supplied3, const DtMomArgument& supplied4,
                       const DtMomArgument& supplied5, const DtMomArgument& returned, DtMomInitiatorOptions initiator) {
  if (!serviceReporting_) return;
  if (reportSender_ && connectMgr_) {
    const std::string failure = exception ? exceptionText(*exception) : std::string();
    const DtMomServiceReportSender::Report shortWay{
        federateHandle(),
        service,
        initiator,
        exception ? failure.c_str() : nullptr,
        {&supplied1, &supplied2, &supplied3, &supplied4, &supplied5, &returned}};
    if (reportSender_->send(*connectMgr_, shortWay)) return;
  }
  DtReportServiceInvocationInteraction report;
  report.setService(DtString(service));
  report.setInitiator(initiator);
  if (exception) {
    report.setSuccessIndicator(RTI::RTI_FALSE);
    report.setExceptionDescription(DtString(exceptionText(*exception).c_str()));
  }
  report.setSuppliedArgument1(supplied1);
  report.setSuppliedArgument2(supplied2);
  report.setSuppliedArgument3(supplied3);
  report.setSuppliedArgument4(supplied4);
  report.setSuppliedArgument5(supplied5);
  report.setReturnedArgument(returned);
  sendReport(report);
}

void DtMomMgr::setServiceReporting(int state) {
  serviceReporting_ = state;
  // Only a call to report needs the observer after success: with reporting
  // off it hears of failures alone, and a successful call costs nothing.
  if (observer_) observer_->setWantsSuccessfulCalls(state != 0);
}

void DtMomMgr::setExceptionSwitches(RTI::Boolean state) {
  exceptionLogging_ = exceptionReports_ = state;
  ++exceptionReportsSettings_;
}

void DtMomMgr::processSetServiceReportingInteraction(const DtSetServiceReportingInteraction& i) {
  const RTI::Boolean state = i.reportingState();
  DtNotifyVerbose("RTI MOM: Received Manager.Federate.Adjust.SetServiceReporting %s\n", state ? "On" : "Off");
  if (state == RTI::RTI_TRUE) {
    // Checked before it is stored: a federate that subscribes the reports
    // would get its own reports as callbacks, each reported again.
    DtInteractionClassInfo* reports = fom_ ? fom_->interactionByName(theReportServiceInvocation) : nullptr;
    if (!reports) throw RTI::InteractionClassNotDefined("");
    if (interMgr_ && interMgr_->firstSubscribedClass(reports)) throw RTI::FederateLoggingServiceCalls("");
  }
  setServiceReporting(state);
}
