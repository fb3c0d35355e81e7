#pragma once
// DtSimpleFederateMgr: the federate manager of a federation without the
// rtiexec (RTI_useRtiExec 0). There is no central process: create and join
// are decided locally and nothing is exchanged to create, destroy or join.
// Create remembers the execution's FED file for this process and checks that
// it can be read; destroy does nothing; join draws the federate handle from
// the local number, reads the FED file (RTI_defaultFedFile, else the mapped
// one, else <execution>.fed) and makes the joined federate's managers.
// Federates are known to each other only by their drawn handles.
//
// Synchronization points, save and restore need a coordinator: each of those
// services prints that it needs the rtiexec and throws RTI::RTIinternalError.

#include "core/DtFederateMgr.h"

class DtSimpleFederateMgr : public DtFederateMgr {
public:
  explicit DtSimpleFederateMgr(DtRIDParameters* params);
  ~DtSimpleFederateMgr() override;

  void init(DtMomMgr* momMgr) override;
  // Maps the execution to the FED file (kept even when the file cannot be
  // read), then checks the file: CouldNotOpenFED, ErrorReadingFED (empty
  // reason). Creating a name twice succeeds; the first mapping wins.
  void createFederationExecution(const char* executionName, const char* fedFile) override;
  void destroyFederationExecution(const char* executionName) override;
  // The handle: (local number modulo 9999) + 1, the same at every join of
  // this manager. A join that fails leaves the manager not joined.
  RTI::FederateHandle joinFederationExecution(const char* federateName, const char* executionName,
                                              RTI::FederateAmbassador* fedAmb) override;

  void registerFederationSynchronizationPoint(const char* label, const char* tag,
                                              const RTI::FederateHandleSet& federates) override;
  void registerFederationSynchronizationPoint(const char* label, const char* tag) override;
  void synchronizationPointAchieved(const char* label) override;
  void requestFederationSave(const char* label, const RTI::FedTime* time) override;
  void federateSaveBegun() override;
  void federateSaveComplete() override;
  void federateSaveNotComplete() override;
  void requestFederationRestore(const char* label) override;
  void federateRestoreComplete() override;
  void federateRestoreNotComplete() override;

  // Every federate hears its own messages back, and without the rtiexec
  // nobody else sends one in its name: a resign message of this federate's
  // own handle (its own, from before it joined again, or one of a federate
  // that drew the same handle) is not followed. Others go to the managers.
  void processResign(const DtResignMsg& msg) override;

  // No save or restore is ever in progress.
  void testSaveProgress() override;
  bool save(DtRtiSaveFile& file) override;
  bool restore(DtRtiSaveFile& file) override;

protected:
  // For tests that bring their own connection manager.
  DtSimpleFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr);
};
