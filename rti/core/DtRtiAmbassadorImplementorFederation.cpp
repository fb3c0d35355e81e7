// The implementor's federation management services: the federate manager
// carries each out. A null or empty execution or federate name, or a null
// federate ambassador, is refused before anything else is done.
#include "core/DtRtiAmbassadorImplementor.h"

#include <string>

#include "core/DtFederateMgr.h"
#include "core/DtServiceReasons.h"
#include "core/DtServiceTrace.h"
#include "util/DtNotify.h"

namespace {

// A name the service cannot do without: refused, before anything is read or
// sent, with the service and the argument in the reason.
void requireName(const char* service, const char* argument, const char* name) {
  if (name && *name) return;
  const std::string reason = std::string(service) + ": the " + argument + " is " + (name ? "empty" : "null");
  DtNotifyError("%s\n", reason.c_str());
  throw RTI::RTIinternalError(reason.c_str());
}

}  // namespace

void DtRtiAmbassadorImplementor::createFederationExecution(const char* executionName, const char* FED) {
  traceHeader("createFederationExecution");
  DtNotifyVerbose("RTI=>\t%s %s\n", DtServiceTrace::text(executionName), DtServiceTrace::text(FED));
  requireName("createFederationExecution", "federation execution name", executionName);
  federationMgr("createFederationExecution").createFederationExecution(executionName, FED ? FED : "");
}

void DtRtiAmbassadorImplementor::destroyFederationExecution(const char* executionName) {
  traceHeader("destroyFederationExecution");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(executionName));
  requireName("destroyFederationExecution", "federation execution name", executionName);
  federationMgr("destroyFederationExecution").destroyFederationExecution(executionName);
}

RTI::FederateHandle DtRtiAmbassadorImplementor::joinFederationExecution(
    const char* yourName, const char* executionName, RTI::FederateAmbassador* federateAmbassadorReference) {
  traceHeader("joinFederationExecution");
  DtNotifyVerbose("RTI=>\t%s %s\n", DtServiceTrace::text(yourName), DtServiceTrace::text(executionName));
  requireName("joinFederationExecution", "federate name", yourName);
  requireName("joinFederationExecution", "federation execution name", executionName);
  if (!federateAmbassadorReference) {
    DtNotifyError("joinFederationExecution: the federate ambassador is null\n");
    throw RTI::RTIinternalError("joinFederationExecution: the federate ambassador is null");
  }
  checkNotJoined();
  return federationMgr("joinFederationExecution")
      .joinFederationExecution(yourName, executionName, federateAmbassadorReference);
}

void DtRtiAmbassadorImplementor::resignFederationExecution(RTI::ResignAction theAction) {
  traceHeader("resignFederationExecution");
  DtNotifyVerbose("RTI=>\t%lu\n", static_cast<unsigned long>(theAction));
  checkJoined(DT_UNABLE(resignFederationExecution));
  federationMgr("resignFederationExecution").resignFederationExecution(theAction);
}

void DtRtiAmbassadorImplementor::registerFederationSynchronizationPoint(const char* label, const char* theTag,
                                                                        const RTI::FederateHandleSet& syncSet) {
  traceHeader("registerFederationSynchronizationPoint");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s %s\n", DtServiceTrace::text(label), DtServiceTrace::text(theTag));
    DtNotifyVerbose("RTI=>Federate List:\n");
    for (RTI::ULong i = 0; i < syncSet.size(); ++i) {
      DtNotifyVerbose("RTI=>\t%lu, ", syncSet.getHandle(i));
    }
    DtNotifyVerbose("\n");
  }
  checkJoined(DT_UNABLE(registerFederationSynchronizationPoint));
  testSaveProgress();
  federationMgr("registerFederationSynchronizationPoint")
      .registerFederationSynchronizationPoint(label, theTag, syncSet);
}

void DtRtiAmbassadorImplementor::registerFederationSynchronizationPoint(const char* label, const char* theTag) {
  traceHeader("registerFederationSynchronizationPoint");
  DtNotifyVerbose("RTI=>\t%s %s\n", DtServiceTrace::text(label), DtServiceTrace::text(theTag));
  checkJoined(DT_UNABLE(registerFederationSynchronizationPoint));
  testSaveProgress();
  federationMgr("registerFederationSynchronizationPoint").registerFederationSynchronizationPoint(label, theTag);
}

void DtRtiAmbassadorImplementor::synchronizationPointAchieved(const char* label) {
  traceHeader("synchronizationPointAchieved");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(label));
  checkJoined(DT_UNABLE(synchronizationPointAchieved));
  testSaveProgress();
  federationMgr("synchronizationPointAchieved").synchronizationPointAchieved(label);
}

void DtRtiAmbassadorImplementor::requestFederationSave(const char* label) {
  traceHeader("requestFederationSave");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(label));
  checkJoined(DT_UNABLE(requestFederationSave));
  testSaveProgress();
  federationMgr("requestFederationSave").requestFederationSave(label, nullptr);
}

void DtRtiAmbassadorImplementor::requestFederationSave(const char* label, const RTI::FedTime& theTime) {
  traceHeader("requestFederationSave");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s at time %s\n", DtServiceTrace::text(label), DtServiceTrace::TimeText(theTime).text());
  }
  checkJoined(DT_UNABLE(requestFederationSave));
  testSaveProgress();
  checkTimeStamp(theTime, "requestFederationSave", DT_UNABLE(requestFederationSave), true);
  federationMgr("requestFederationSave").requestFederationSave(label, &theTime);
}

// The save answers need a save initiated and no restore; the restore answers
// need no save and a restore initiated. The save state is tested first.
void DtRtiAmbassadorImplementor::answerSave(const char* service, const char* reason, void (DtFederateMgr::*answer)()) {
  traceHeader(service);
  checkJoined(reason);
  DtFederateMgr& fedMgr = federationMgr(service);
  if (!fedMgr.saveInitiated()) throw RTI::SaveNotInitiated("No save initiated\n");
  if (fedMgr.restoreInitiated()) throw RTI::RestoreInProgress("Cannot save during restore\n");
  (fedMgr.*answer)();
}

void DtRtiAmbassadorImplementor::answerRestore(const char* service, const char* reason,
                                               void (DtFederateMgr::*answer)()) {
  traceHeader(service);
  checkJoined(reason);
  DtFederateMgr& fedMgr = federationMgr(service);
  if (fedMgr.saveInitiated()) throw RTI::SaveInProgress("Can't restore during save\n");
  if (!fedMgr.restoreInitiated()) throw RTI::RestoreNotRequested("No Current restore\n");
  (fedMgr.*answer)();
}

void DtRtiAmbassadorImplementor::federateSaveBegun() {
  answerSave("federateSaveBegun", DT_UNABLE(federateSaveBegun), &DtFederateMgr::federateSaveBegun);
}

void DtRtiAmbassadorImplementor::federateSaveComplete() {
  answerSave("federateSaveComplete", DT_UNABLE(federateSaveComplete), &DtFederateMgr::federateSaveComplete);
}

void DtRtiAmbassadorImplementor::federateSaveNotComplete() {
  answerSave("federateSaveNotComplete", DT_UNABLE(federateSaveNotComplete), &DtFederateMgr::federateSaveNotComplete);
}

void DtRtiAmbassadorImplementor::requestFederationRestore(const char* label) {
  traceHeader("requestFederationRestore");
  checkJoined(DT_UNABLE(requestFederationRestore));
  testSaveProgress();
  federationMgr("requestFederationRestore").requestFederationRestore(label);
}

void DtRtiAmbassadorImplementor::federateRestoreComplete() {
  answerRestore("federateRestoreComplete", DT_UNABLE(federateRestoreComplete), &DtFederateMgr::federateRestoreComplete);
}

void DtRtiAmbassadorImplementor::federateRestoreNotComplete() {
  answerRestore("federateRestoreNotComplete", DT_UNABLE(federateRestoreNotComplete),
                &DtFederateMgr::federateRestoreNotComplete);
}
