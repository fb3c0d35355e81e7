#include "core/DtSimpleFederateMgr.h"

#include "config/DtRIDParameters.h"
#include "core/DtLocalNumberSource.h"
#include "msg/DtFederationMsgs.h"
#include "net/DtConnectionMgr.h"
#include "util/DtNotify.h"

namespace {

// The services that need a coordinator; the text keeps its two blanks (and
// the spelling of "Acheived") as federates' logs have always shown it.
[[noreturn]] void needsRtiExec(const char* service) {
  DtNotifyError("Orvek RTI: %s can only be called  when using the rtiexec.\n", service);
  throw RTI::RTIinternalError("");
}

}  // namespace

DtSimpleFederateMgr::DtSimpleFederateMgr(DtRIDParameters* params) : DtFederateMgr(params) {}

DtSimpleFederateMgr::DtSimpleFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr)
    : DtFederateMgr(params, std::move(connectMgr)) {}

DtSimpleFederateMgr::~DtSimpleFederateMgr() = default;

void DtSimpleFederateMgr::init(DtMomMgr* momMgr) { DtFederateMgr::init(momMgr); }

void DtSimpleFederateMgr::createFederationExecution(const char* executionName, const char* fedFile) {
  addFedFileNameMapping(executionName, fedFile);
  testReadFedFile(fedFile, executionName);
}

void DtSimpleFederateMgr::destroyFederationExecution(const char*) {}

RTI::FederateHandle DtSimpleFederateMgr::joinFederationExecution(const char* federateName, const char* executionName,
                                                                 RTI::FederateAmbassador* fedAmb) {
  const RTI::FederateHandle handle = DtLocalNumberSource::handleOf(localNumber_);
  readFedFile(params_->defaultFedFile(), executionName);
  currentFedFile_ = fedFileName(executionName);
  federateHandle_ = handle;
  try {
    postJoinInit(federateName, executionName, fedAmb);
  } catch (...) {
    federateHandle_ = 0;
    throw;
  }
  return handle;
}

void DtSimpleFederateMgr::registerFederationSynchronizationPoint(const char*, const char*,
                                                                 const RTI::FederateHandleSet&) {
  needsRtiExec("registerFederationSynchronizationPoint");
}
void DtSimpleFederateMgr::registerFederationSynchronizationPoint(const char*, const char*) {
  needsRtiExec("registerFederationSynchronizationPoint");
}
void DtSimpleFederateMgr::synchronizationPointAchieved(const char*) { needsRtiExec("synchronizationPointAcheived"); }
void DtSimpleFederateMgr::requestFederationSave(const char*, const RTI::FedTime*) {
  needsRtiExec("requestFederationSave");
}
void DtSimpleFederateMgr::federateSaveBegun() { needsRtiExec("federateSaveBegun"); }
void DtSimpleFederateMgr::federateSaveComplete() { needsRtiExec("federateSaveComplete"); }
void DtSimpleFederateMgr::federateSaveNotComplete() { needsRtiExec("federateSaveNotComplete"); }
void DtSimpleFederateMgr::requestFederationRestore(const char*) { needsRtiExec("requestFederationRestore"); }
void DtSimpleFederateMgr::federateRestoreComplete() { needsRtiExec("federateRestoreComplete"); }
void DtSimpleFederateMgr::federateRestoreNotComplete() { needsRtiExec("federateRestoreNotComplete"); }

void DtSimpleFederateMgr::processResign(const DtResignMsg& msg) {
  if (msg.federateHandle() == connectMgr_->fedHandle()) return;
  DtFederateMgr::processResign(msg);
}

void DtSimpleFederateMgr::testSaveProgress() {}

bool DtSimpleFederateMgr::save(DtRtiSaveFile&) { return true; }

bool DtSimpleFederateMgr::restore(DtRtiSaveFile&) { return true; }
