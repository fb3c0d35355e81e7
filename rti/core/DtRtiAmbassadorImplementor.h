#pragma once
// DtRtiAmbassadorImplementor: the object behind RTI::RTIambassador. The
// ambassador hands every service to the entry point of the same name here,
// and only adds the observers' notifications. A service checks that it may
// run (the federate has joined, no save or restore is in the way, its family
// is switched on in the RID file), traces the call at notify level 3, and
// hands it to one manager, which it reaches through the federate manager on
// every call. tick turns here into the processing of received messages and
// the delivery of callbacks.
//
// The implementor owns the federate manager; it borrows the RID parameters,
// the MOM manager and the observer list from the ambassador. It is made by
// create(), which a plug-in's creator hook can redirect. It takes no locks:
// every operation runs on the thread that calls the ambassador.

#include <memory>

#include "RTI.hh"
#include "api/DtRtiServiceTable.h"
#include "util/DtString.h"

class DtConnectionMgr;
class DtDataDistMgr;
class DtFedAmbWrapper;
class DtFederateMgr;
class DtFomClassMgr;
class DtInteractionMgr;
class DtMomMgr;
class DtObjectMgr;
class DtRIDParameters;
class DtRtiAmbObserverList;
class DtRtiAmbassadorObserver;
struct DtServiceRow;
class DtTimeMgr;

class RTI_EXPORT DtRtiAmbassadorImplementor {
public:
  using Creator = DtRtiAmbassadorImplementor* (*)(DtRIDParameters* params);

  // The installed creator's result (the MOM manager is not passed to it),
  // else a new implementor; null when memory runs out.
  static std::unique_ptr<DtRtiAmbassadorImplementor> create(DtRIDParameters* params, DtMomMgr* momMgr);
  // Lets code loaded before the ambassador is made (a plug-in's creator
  // hook) substitute its own implementor class; null restores the default.
  // Process-wide.
  static void setCreatorFunction(Creator creator);

  DtRtiAmbassadorImplementor(const DtRtiAmbassadorImplementor&) = delete;
  DtRtiAmbassadorImplementor& operator=(const DtRtiAmbassadorImplementor&) = delete;
  // Deletes the federate manager and nothing else.
  virtual ~DtRtiAmbassadorImplementor();

  // The HLA 1.3 services and the two tick forms, one per row of the service
  // table, with the API's arguments and results.
#define DT_RTI_IMPLEMENTOR_ENTRY(type, kind, name, ...) virtual type name(DT_RTI_PARAMS(__VA_ARGS__));
  DT_RTI_SERVICES(DT_RTI_IMPLEMENTOR_ENTRY)
#undef DT_RTI_IMPLEMENTOR_ENTRY

  // A plug-in's way in: the ambassador's observers, and the wrappers through
  // which callbacks reach the federate. Filing under a name in use replaces
  // the earlier one without deleting it; removing hands the object back
  // (null when the name is not filed).
  virtual void addObserver(const DtString& name, DtRtiAmbassadorObserver* observer);
  virtual DtRtiAmbassadorObserver* removeObserver(const DtString& name);
  virtual void addFedAmbWrapper(const DtString& name, DtFedAmbWrapper* wrapper);
  virtual DtFedAmbWrapper* removeFedAmbWrapper(const DtString& name);

  // The managers, as the federate manager holds them now (null when it has
  // none). The MOM manager and the RID parameters are the ambassador's.
  virtual DtFederateMgr* fedMgr() const;
  virtual DtMomMgr* momMgr() const;
  virtual DtRIDParameters* params() const;
  virtual DtConnectionMgr* connectMgr() const;
  virtual DtObjectMgr* objMgr() const;
  virtual DtInteractionMgr* interMgr() const;
  virtual DtFomClassMgr* fomMgr() const;

  // One unit of tick work: the federate manager's tick (the heartbeat when
  // due, then one pass of the connection manager); true when a received
  // message was processed.
  virtual RTI::Boolean tickOnce();

  // The ambassador's observer list, kept without ownership.
  virtual void setObservers(DtRtiAmbObserverList* observers);

protected:
  // Sets the process-wide TCP buffer size, advisory defaults and object name
  // prefix from the RID parameters, then makes the federate manager and
  // gives it the MOM manager.
  DtRtiAmbassadorImplementor(DtRIDParameters* params, DtMomMgr* momMgr);

  // The tick loops' clock (seconds) and their waits for network input.
  virtual double currentTime() const;
  virtual void waitForInput(double seconds);
  virtual void yieldToNetwork();
  // What tick() does when it found nothing to deliver: gives the processor
  // away, or (RTI_tickIdleWait) waits for input; waitWhenIdle is true when
  // it waited, and the caller looks again.
  virtual void giveWayWhenIdle();
  bool waitWhenIdle();

private:
  // The checks that the services share, in the order they run: the trace,
  // the joined check, the save and restore test, the family's switch.
  void traceHeader(const char* service) const;
  void checkJoined(const char* reason) const;
  void checkNotJoined() const;
  void testSaveProgress() const;
  void checkJoinedAndSave(const char* reason) const;
  // The trace and the joined check as the service's row gives them, its
  // arguments traced on one line (core/DtServiceOpening.h). Hidden: its
  // instantiations would otherwise be exported with the class.
  template <class... Args>
  __attribute__((visibility("hidden"))) void openJoined(const DtServiceRow& row, const Args&... args) const;
  // The service refused while data distribution is off, as its row says.
  void requireDdm(const DtServiceRow& row) const;
  bool timeServiceOn(const char* service, const char* disabledReason) const;
  void requireDdm(bool on, const char* service, const char* reason) const;
  void warnWithoutDdm(const char* service) const;
  bool ddmManagerActive() const;
  bool ddmOn() const;
  void checkTimeStamp(const RTI::FedTime& time, const char* service, const char* reason, bool saveRequest) const;

  // The argument lines of the traces.
  void traceClass(RTI::ObjectClassHandle theClass) const;
  void traceInteraction(RTI::InteractionClassHandle theClass) const;
  void traceObjectAndSet(RTI::ObjectHandle theObject, const char* tag, const RTI::AttributeHandleSet& attributes) const;
  void traceObjectAttribute(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) const;

  // The save and restore answers.
  void answerSave(const char* service, const char* reason, void (DtFederateMgr::*answer)());
  void answerRestore(const char* service, const char* reason, void (DtFederateMgr::*answer)());
  RTI::EventRetractionHandle retractionHandle(std::uint32_t serialNumber) const;

  // The managers a service hands over to: each, or "<service> not
  // implemented" while its part of the RTI is missing; the guarded forms
  // refuse a federate without the manager as not joined.
  DtFederateMgr& federationMgr(const char* service) const;
  DtObjectMgr& objectMgr(const char* service) const;
  DtInteractionMgr& interactionMgr(const char* service) const;
  DtTimeMgr& timeMgr(const char* service) const;
  DtFomClassMgr& guardedFom() const;
  DtObjectMgr& guardedObjectMgr() const;
  DtDataDistMgr& guardedDdm() const;
  DtDataDistMgr* ddmMgr() const;
  // The data distribution manager while its default region takes part in
  // the plain subscriptions; else null.
  DtDataDistMgr* defaultRegionMgr() const;

  DtRIDParameters* params_;
  std::unique_ptr<DtFederateMgr> fedMgr_;
  DtMomMgr* momMgr_;
  DtRtiAmbObserverList* observers_ = nullptr;
};
