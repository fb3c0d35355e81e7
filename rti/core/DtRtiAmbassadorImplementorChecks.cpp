// The checks and hand-overs that the implementor's services share.
#include "core/DtRtiAmbassadorImplementor.h"

#include "api/DtNotImplemented.h"
#include "config/DtRIDParameters.h"
#include "core/DtFederateMgr.h"
#include "core/DtServiceRows.h"
#include "core/DtServiceTrace.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "util/DtNotify.h"

void DtRtiAmbassadorImplementor::traceHeader(const char* service) const {
  if (DtServiceTrace::on()) DtNotifyVerbose("RTI=>%s:\n", service);
}

void DtRtiAmbassadorImplementor::checkJoined(const char* reason) const {
  if (!fedMgr_ || !fedMgr_->isJoined()) throw RTI::FederateNotExecutionMember(reason);
}

void DtRtiAmbassadorImplementor::checkNotJoined() const {
  if (fedMgr_ && fedMgr_->isJoined()) throw RTI::FederateAlreadyExecutionMember("");
}

void DtRtiAmbassadorImplementor::testSaveProgress() const {
  if (fedMgr_) fedMgr_->testSaveProgress();
}

bool DtRtiAmbassadorImplementor::timeServiceOn(const char* service, const char* disabledReason) const {
  if (params_->timeMgmt()) return true;
  if (!params_->throwExceptionForDisabledService()) return false;
  DtNotifyError("Call to disabled RTI service: %s\n", service);
  throw RTI::RTIinternalError(disabledReason);
}

void DtRtiAmbassadorImplementor::requireDdm(bool on, const char* service, const char* reason) const {
  if (on) return;
  DtNotifyError("RTI DDM services turned off: unable to process %s\n", service);
  throw RTI::RTIinternalError(reason);
}

void DtRtiAmbassadorImplementor::requireDdm(const DtServiceRow& row) const {
  requireDdm(ddmOn(), row.name, row.ddmOff);
}

bool DtRtiAmbassadorImplementor::ddmManagerActive() const {
  // A federate without a data distribution manager has data distribution
  // off, whatever its manager would say.
  const DtDataDistMgr* ddm = ddmMgr();
  return ddm && ddm->active();
}

bool DtRtiAmbassadorImplementor::ddmOn() const { return params_->dataDistMgmt() != 0; }

void DtRtiAmbassadorImplementor::checkTimeStamp(const RTI::FedTime& time, const char* service, const char* reason,
                                                bool saveRequest) const {
  if (!params_->timeMgmt()) return;
  if (timeMgr(service).isValidTimeStamp(time)) return;
  if (saveRequest) throw RTI::FederationTimeAlreadyPassed(reason);
  throw RTI::InvalidFederationTime(reason);
}

RTI::EventRetractionHandle DtRtiAmbassadorImplementor::retractionHandle(std::uint32_t serialNumber) const {
  RTI::EventRetractionHandle handle;
  handle.theSerialNumber = serialNumber;
  handle.sendingFederate = fedMgr_ ? fedMgr_->federateHandle() : 0;
  return handle;
}

namespace {

// A joined federate has every manager its services need, except the time and
// data distribution managers while their families are off; a manager missing
// otherwise belongs to a part of the RTI that is not built yet.
template <class Manager>
Manager& orNotImplemented(Manager* manager, const char* service) {
  if (!manager) DtNotImplemented(service);
  return *manager;
}

// The guarded look-ups refuse a federate without the manager as not joined.
template <class Manager>
Manager& orNotJoined(Manager* manager) {
  if (!manager) throw RTI::FederateNotExecutionMember("");
  return *manager;
}

}  // namespace

DtFederateMgr& DtRtiAmbassadorImplementor::federationMgr(const char* service) const {
  return orNotImplemented(fedMgr_.get(), service);
}

DtObjectMgr& DtRtiAmbassadorImplementor::objectMgr(const char* service) const {
  return orNotImplemented(objMgr(), service);
}

DtInteractionMgr& DtRtiAmbassadorImplementor::interactionMgr(const char* service) const {
  return orNotImplemented(interMgr(), service);
}

DtTimeMgr& DtRtiAmbassadorImplementor::timeMgr(const char* service) const {
  return orNotImplemented(fedMgr_ ? fedMgr_->timeMgr() : nullptr, service);
}

DtFomClassMgr& DtRtiAmbassadorImplementor::guardedFom() const { return orNotJoined(fomMgr()); }

DtObjectMgr& DtRtiAmbassadorImplementor::guardedObjectMgr() const { return orNotJoined(objMgr()); }

DtDataDistMgr& DtRtiAmbassadorImplementor::guardedDdm() const { return orNotJoined(ddmMgr()); }

DtDataDistMgr* DtRtiAmbassadorImplementor::ddmMgr() const { return fedMgr_ ? fedMgr_->ddmMgr() : nullptr; }
