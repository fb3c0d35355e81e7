#pragma once
// DtFederateMgr: the federation-management half of one federate, one per
// implementor. It owns the federate's connection manager and, from a join to
// the resignation, the FOM class manager and the interaction, object, time
// and data distribution managers; it drives the MOM manager, which the
// ambassador owns. The implementor reaches every other manager through it
// on every call. The federation services themselves are pure here: the
// federate managers without and with the rtiexec carry them out.
//
// Made by create(), which a plug-in's creator hook can redirect. Used on the
// thread that calls the ambassador.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtConnectionMgr;
class DtDataDistMgr;
class DtFomClassMgr;
class DtInteractionMgr;
class DtMomMgr;
class DtObjectMgr;
class DtRIDParameters;
class DtTimeMgr;

class DtFederateMgr {
public:
  using Creator = DtFederateMgr* (*)(DtRIDParameters* params);

  // The installed creator's result when one is set; otherwise the federate
  // manager that the RID parameters ask for (with or without the rtiexec).
  // Null while no federate manager class is built into the library.
  static std::unique_ptr<DtFederateMgr> create(DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  explicit DtFederateMgr(DtRIDParameters* params);
  DtFederateMgr(const DtFederateMgr&) = delete;
  DtFederateMgr& operator=(const DtFederateMgr&) = delete;
  virtual ~DtFederateMgr();

  // Keeps the MOM manager (not owned; may be null).
  virtual void init(DtMomMgr* momMgr);

  // The federation services, as the implementor hands them over.
  virtual void createFederationExecution(const char* executionName, const char* fedFile) = 0;
  virtual void destroyFederationExecution(const char* executionName) = 0;
  virtual RTI::FederateHandle joinFederationExecution(const char* federateName,
                                                      const char* executionName,
                                                      RTI::FederateAmbassador* fedAmb) = 0;
  virtual void resignFederationExecution(RTI::ResignAction action);
  virtual void registerFederationSynchronizationPoint(const char* label, const char* tag,
                                                      const RTI::FederateHandleSet& federates) = 0;
  virtual void registerFederationSynchronizationPoint(const char* label, const char* tag) = 0;
  virtual void synchronizationPointAchieved(const char* label) = 0;

  // One unit of tick work (the heartbeat when due, then one pass of the
  // connection manager): true when a received message was processed.
  virtual RTI::Boolean tick();
  // Around the implementor's tick loops: nothing before; the managers'
  // per-tick steps after.
  virtual void pretick();
  virtual void posttick();

  // A null time asks for an untimed save.
  virtual void requestFederationSave(const char* label, const RTI::FedTime* time) = 0;
  virtual void federateSaveBegun() = 0;
  virtual void federateSaveComplete() = 0;
  virtual void federateSaveNotComplete() = 0;
  virtual void requestFederationRestore(const char* label) = 0;
  virtual void federateRestoreComplete() = 0;
  virtual void federateRestoreNotComplete() = 0;

  // Transport and order names and handles; a returned name is a new array
  // that the caller frees with delete[].
  virtual char* getTransportationName(DtTransportType type);
  virtual char* getOrderName(DtOrderType type);
  virtual DtTransportType getTransportationHandle(DtString name);
  virtual DtOrderType getOrderHandle(DtString name);

  // Throws RTI::SaveInProgress or RTI::RestoreInProgress while a save or a
  // restore stands in the way of a service.
  virtual void testSaveProgress() = 0;

  // Joined exactly while an execution name is held.
  bool isJoined() const { return executionName_ != nullptr; }
  const char* federateName() const { return federateName_.get(); }
  const char* executionName() const { return executionName_.get(); }
  RTI::FederateHandle federateHandle() const { return federateHandle_; }
  std::uint32_t executionHandle() const { return executionHandle_; }

  DtRIDParameters* params() const { return params_; }
  DtMomMgr* momMgr() const { return momMgr_; }
  DtConnectionMgr* connectMgr() const { return connectMgr_.get(); }
  DtFomClassMgr* fom() const { return fom_.get(); }
  DtObjectMgr* objMgr() const { return objMgr_.get(); }
  DtInteractionMgr* interMgr() const { return interMgr_.get(); }
  DtTimeMgr* timeMgr() const { return timeMgr_.get(); }
  DtDataDistMgr* ddmMgr() const { return ddmMgr_.get(); }

  bool saveInitiated() const { return saveInitiated_; }
  bool saveBegun() const { return saveBegun_; }
  bool restoreInitiated() const { return restoreInitiated_; }
  bool restoreBegun() const { return restoreBegun_; }
  const DtString& saveLabel() const { return saveLabel_; }
  const DtString& restoreLabel() const { return restoreLabel_; }

protected:
  // Keeps copies of both names (the federate is then joined) or frees them.
  void setJoinedNames(const char* federateName, const char* executionName);
  void clearJoinedNames();

  DtRIDParameters* params_;
  DtMomMgr* momMgr_ = nullptr;                  // not owned
  std::unique_ptr<DtConnectionMgr> connectMgr_;  // the federate's for its whole life
  std::unique_ptr<char[]> federateName_;   // null when not joined
  std::unique_ptr<char[]> executionName_;  // null when not joined
  RTI::FederateHandle federateHandle_ = 0;
  std::uint32_t executionHandle_ = 0;
  // From a join to the resignation.
  std::unique_ptr<DtFomClassMgr> fom_;
  std::unique_ptr<DtDataDistMgr> ddmMgr_;  // only with RTI_dataDistMgmt
  std::unique_ptr<DtInteractionMgr> interMgr_;
  std::unique_ptr<DtObjectMgr> objMgr_;
  std::unique_ptr<DtTimeMgr> timeMgr_;     // only with RTI_timeMgmt
  bool saveInitiated_ = false;
  bool saveBegun_ = false;
  bool restoreInitiated_ = false;
  bool restoreBegun_ = false;
  DtString saveLabel_;
  DtString lastSaveLabel_;
  DtString restoreLabel_;
  DtString lastRestoreLabel_;
};
