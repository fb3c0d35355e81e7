#pragma once
// DtMomMgr: the management object model of one federate (the Manager.Federate
// and Manager.Federation objects, the MOM interactions, and the reporting of
// service calls through its observer "MOMObserver" and its federate-
// ambassador wrapper "MOM Wrapper").
//
// The ambassador makes it, when RTI_momServiceAvailable is set, before its
// implementor, with its link to the ambassador (DtMomAmbassador: the RID
// parameters, the observer list and the RTI services), and deletes it first
// of all its parts, while the observer list and the wrapper chain still
// exist. The federate manager drives it: join after the other managers are
// made, with its view of the federate (DtMomFederate), tick in every
// posttick, resign at resignation (before the object manager goes: the
// publishers' object records are the MOM's and listed there); it does not
// own it.
//
// While joined it publishes the two objects, keeps the list of live
// federates, answers the MOM interactions addressed to this federate (its
// handle or 0) through one handler per class (DtMomMgrHandlers.cpp), and
// sends Alerts for RTI exceptions as its switches say. A FED file that lacks
// a MOM object class or attribute leaves it unjoined (the federate goes on
// without it); one that lacks a MOM interaction class ends the handler
// registrations there. Deleting a joined manager cleans up as resign does.
//
// No thread of its own and no lock: everything runs on the thread that
// ticks, except the observer's notifications, which come on the thread that
// calls a service.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "RTI.hh"
#include "mom/DtMomHandleCache.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomHandlerDecls.h"
#include "mom/DtMomTypes.h"
#include "msg/DtMsgSubscriptions.h"
#include "objects/DtInteractionMomHook.h"

class DtAliveMsg;
class DtConnectionMgr;
class DtFomClassMgr;
class DtInteractionMgr;
class DtInteractionMsg;
class DtJoinConfirmMsg;
class DtMomAmbassador;
class DtMomArgument;
class DtMomFedAmbWrapper;
class DtMomFederate;
class DtMomFederatePublisher;
class DtMomFederationPublisher;
class DtMomInspector;
class DtMomInteraction;
class DtMomInteractionFactory;
class DtMomObserver;
class DtMomServiceReportSender;
class DtObjectMgr;
class DtRequestMsg;
class DtResignMsg;
class DtRIDParameters;
class DtRtiSaveFile;
class DtSubObjMsg;

class DtMomMgr : public DtInteractionMomHook {
public:
  using Creator = DtMomMgr* (*)(DtMomAmbassador* ambassador);
  // A handler of the callback table and the user data it was filed with.
  using Callback = void (*)(const DtMomInteraction& interaction, void* usr);
  struct CallbackRecord {
    Callback callback;
    void* usr;
  };

  // The names the observer and the wrapper are filed under.
  static constexpr const char* theObserverName = "MOMObserver";
  static constexpr const char* theWrapperName = "MOM Wrapper";

  // The ambassador's way to make it: the installed creator's result, else a
  // new DtMomMgr.
  static std::unique_ptr<DtMomMgr> create(DtMomAmbassador* ambassador);
  // Replaces the default creation (null restores it); for plug-ins' creator
  // hooks and tests. Process-wide.
  static void setCreatorFunction(Creator creator);

  // Makes the observer and the wrapper; neither is installed yet.
  explicit DtMomMgr(DtMomAmbassador* ambassador);
  DtMomMgr(const DtMomMgr&) = delete;
  DtMomMgr& operator=(const DtMomMgr&) = delete;
  // A joined manager first cleans up as resign does; then the observer and
  // the wrapper go.
  ~DtMomMgr() override;

  // Starts the management object model for the federate that has just
  // joined; the federate manager calls it after making the other managers.
  virtual void join(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtMomFederate* federate, DtObjectMgr* objMgr,
                    DtInteractionMgr* interMgr);
  // Stops it for the federate that resigns; nothing when not joined.
  virtual void resign();
  // Its per-tick work, from the federate manager's posttick: the periodic
  // update, then a resignation that a MOM interaction asked for.
  virtual void tick();
  // The rtiexec named this federate the publisher of Manager.Federation.
  virtual void designateFederationPublisher();
  bool joined() const { return joined_; }

  // ---- messages of the federation (registered in the MOM table)
  virtual void alive(unsigned long federateHandle);
  virtual void processAlive(const DtAliveMsg& msg);
  virtual void processResign(const DtResignMsg& msg);
  virtual void processJoin(const DtJoinConfirmMsg& msg);
  virtual void processRequest(const DtRequestMsg& msg);
  virtual void processSub(const DtSubObjMsg& msg);
  // A received interaction: when it is of a MOM class this federate
  // answers and addressed to it, decoded and handed to its class's
  // handlers, with Alerts for exceptions forced on meanwhile.
  virtual void processInteraction(const DtInteractionMsg& msg);
  virtual void sendAlive();

  // ---- the callback table: handlers by interaction class handle
  virtual std::vector<CallbackRecord>& callbackList(std::uint32_t classHandle);
  virtual void addCallback(std::uint32_t classHandle, Callback callback, void* usr);
  // Calls every handler of the interaction's class, in the order filed.
  virtual void processInteraction(const DtMomInteraction& interaction);
  // Sends the interaction (receive order, from federate 0); the caller
  // keeps it. Nothing for null or while not joined.
  virtual void sendInteraction(DtMomInteraction* interaction);

  // ---- alerts and service reporting
  // An Alert and a log line for the exception, as the switches say.
  virtual void processException(const RTI::Exception& exception);
  // An Alert of severity 1 with the text, whatever the switches.
  virtual void sendServiceAlert(const char* text);
  // Refuses (FederateLoggingServiceCalls) to subscribe a class of which
  // ReportServiceInvocation is while service calls are reported.
  void prepareForSubscribe(DtInteractionClassInfo& cls) override;
  // Whether service calls and callbacks are reported now.
  virtual char needObserve() const { return serviceReporting_ ? 1 : 0; }
  // Sends a ReportServiceInvocation for a service call (initiator FED) or
  // a callback (initiator RTI), failed when there is an exception; nothing
  // while reporting is off.
  virtual void observe(const char* service, const RTI::Exception* exception, const DtMomArgument& supplied1,
                       const DtMomArgument& supplied2, const DtMomArgument& supplied3, const DtMomArgument& supplied4,
                       const DtMomArgument& supplied5, const DtMomArgument& returned, DtMomInitiatorOptions initiator);

  // ---- save and restore: the manager's record (type 9), then the
  // Federation and the Federate object records (type 5). True on success.
  virtual bool save(DtRtiSaveFile& file);
  virtual bool restore(DtRtiSaveFile& file);

  // ---- what it works with (null while not joined)
  DtMomAmbassador* ambassador() const { return ambassador_; }
  DtRIDParameters* ridParams() const;
  DtConnectionMgr* connectMgr() const { return connectMgr_; }
  DtFomClassMgr* fom() const { return fom_; }
  DtMomFederate* federate() const { return federate_; }
  DtObjectMgr* objMgr() const { return objMgr_; }
  DtInteractionMgr* interMgr() const { return interMgr_; }
  DtMomInspector* service() const { return inspector_.get(); }
  DtMomInteractionFactory* factory() const { return factory_.get(); }
  DtMomFederatePublisher* federatePublisher() const { return federatePublisher_.get(); }
  DtMomFederationPublisher* federationPublisher() const { return federationPublisher_.get(); }
  DtMomObserver* observer() const { return observer_.get(); }
  // The federates seen alive, in the order first seen: what the
  // Manager.Federation object reports.
  DtMomHandleList* federateList() { return &federateList_; }
  // This federate's handle (0 while not joined).
  std::uint32_t federateHandle() const;

  // The switches and the next Alert's ID.
  int serviceReporting() const { return serviceReporting_; }
  int exceptionLogging() const { return exceptionLogging_; }
  int exceptionReports() const { return exceptionReports_; }
  std::int32_t nextAlertId() const { return nextAlertId_; }
  bool resignPending() const { return resignPending_; }

protected:
  // ---- the handlers, one per MOM class this federate answers
#define DT_MOM_HANDLER_DECL(group, name) virtual void process##name##Interaction(const Dt##name##Interaction& i);
  DT_MOM_HANDLERS(DT_MOM_HANDLER_DECL)
#undef DT_MOM_HANDLER_DECL

  // The ambassador whose services the Service handlers call
  // (RTIinternalError without one).
  DtMomAmbassador& rti() const;
  // Sets the Federate parameter to this federate and sends it.
  virtual void testInteraction(DtMomInteraction& interaction);
  // A report from this federate: its handle set, then sent.
  void sendReport(DtMomInteraction& report);
  // Runs a Service handler's call: an RTI::Exception ends it quietly (the
  // observer has already turned it into an Alert).
  template <class Call>
  void guarded(Call&& call) {
    try {
      call();
    } catch (const RTI::Exception&) {
    }
  }
  // The switches of a handler (SetExceptionLogging, SetServiceReporting).
  void setExceptionSwitches(RTI::Boolean state);
  // Sets the service-reporting switch; the observer is told of successful
  // calls only while it is on (needObserve is read afresh at each call all
  // the same).
  void setServiceReporting(int state);

private:
  // The callback that the table files for a handler.
  template <class Interaction, void (DtMomMgr::*Handler)(const Interaction&)>
  static void callHandler(const DtMomInteraction& interaction, void* mgr);
  void registerMessageHandlers();
  void registerInteractionHandlers();
  // Undoes join; resign and the destructor share it.
  void leave();
  std::uint32_t takeAlertId() { return static_cast<std::uint32_t>(nextAlertId_++); }
  void sendAlert(const char* text, DtMomAlertTypes severity);

  DtMomAmbassador* ambassador_;
  DtConnectionMgr* connectMgr_ = nullptr;
  DtFomClassMgr* fom_ = nullptr;
  DtMomFederate* federate_ = nullptr;
  DtObjectMgr* objMgr_ = nullptr;
  DtInteractionMgr* interMgr_ = nullptr;
  std::unique_ptr<DtMomInspector> inspector_;
  std::unique_ptr<DtMomInteractionFactory> factory_;
  // The handles of the reports sent at every call, looked up at join.
  DtMomHandleCache handleCache_;
  // Sends the reports of service calls and callbacks the short way (null
  // while not joined, or when the FOM lacks the class: then the long way).
  std::unique_ptr<DtMomServiceReportSender> reportSender_;
  std::unique_ptr<DtMomFederatePublisher> federatePublisher_;
  std::unique_ptr<DtMomFederationPublisher> federationPublisher_;
  DtMomHandleList federateList_;
  std::unordered_map<std::uint32_t, std::vector<CallbackRecord>> callbacks_;
  DtMsgSubscriptions messageHandlers_;
  int serviceReporting_ = 0;
  int exceptionLogging_ = 0;
  std::int32_t nextAlertId_ = 1;
  int exceptionReports_ = 0;
  // Counts the handlers' settings of the exception-reports switch, so that
  // the dispatch's forced switch is put back only when no handler set it.
  std::uint32_t exceptionReportsSettings_ = 0;
  std::unique_ptr<DtMomObserver> observer_;
  // Owned while not installed; the wrapper chain holds it while installed.
  std::unique_ptr<DtMomFedAmbWrapper> wrapper_;
  DtMomFedAmbWrapper* installedWrapper_ = nullptr;
  bool observerInstalled_ = false;
  bool resignPending_ = false;
  RTI::ResignAction resignAction_ = RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES;
  bool joined_ = false;
};
