#pragma once
// DtRtiExecFederateMgr: the federate manager of a federation run by the
// rtiexec (RTI_useRtiExec 1). Create, destroy and join are requests to the
// rtiexec, each waiting at most RTI_responseInterval seconds for its answer
// (the wait sleeps on the connection manager between messages); without an
// answer the service prints "Could not <do> <execution>:  Could not connect
// to rtiexec." and throws RTI::RTIinternalError. The rtiexec hands out the
// federate handles, so two federates of one execution never share one.
//
// The federate's identity in the join exchange is the number that the
// rtiexec's forwarder gives its connection (the connect message, awaited
// by init); without a reliable connection it stays the drawn local number.
//
// Messages that arrive during a wait and are not its answer are kept for
// the next tick while the federate is joined (they belong to its
// execution), and dropped otherwise; so are those that came before the
// request went out, which cannot be its answer. The rtiexec answers every
// federate, so a create or destroy request carries a ticket (in its
// header's federate handle) that the answer brings back: another
// federate's answer about the same execution is not taken for one's own.
//
// Synchronization points: the federate keeps the labels announced to it
// and not yet synchronized; a point is announced to it at most once, a
// label it knows cannot be registered again (the failure comes in the next
// tick, as every callback does), and only a label it knows can be achieved.
// Labels and tags hold at most 254 characters.
//
// Used on the thread that calls the ambassador.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "core/DtFederateMgr.h"

class DtConnectMsg;
class DtDesignatedFederateMsg;
class DtSyncPointMsg;
class DtJoinResponseMsg;
class DtRtiMsg;

class DtRtiExecFederateMgr : public DtFederateMgr {
public:
  explicit DtRtiExecFederateMgr(DtRIDParameters* params);
  ~DtRtiExecFederateMgr() override;

  // Registers the join-response and connect callbacks and, with a reliable
  // connection, waits (at most RTI_responseInterval) for the connect
  // message; without it the drawn number stays and "Failed to initialize
  // rtiexec connection" is printed.
  void init(DtMomMgr* momMgr) override;
  // FederationExecutionAlreadyExists when this federate is joined to an
  // execution of that name or the rtiexec has one; CouldNotOpenFED and
  // ErrorReadingFED from the file check.
  void createFederationExecution(const char* executionName, const char* fedFile) override;
  // FederatesCurrentlyJoined when this federate is joined to it or the
  // rtiexec says federates are; FederationExecutionDoesNotExist.
  void destroyFederationExecution(const char* executionName) override;
  // FederationExecutionDoesNotExist, SaveInProgress, RestoreInProgress by
  // the rtiexec's answer; a join whose FED file cannot be read or whose
  // managers cannot be made is withdrawn at the rtiexec and fails.
  RTI::FederateHandle joinFederationExecution(const char* federateName, const char* executionName,
                                              RTI::FederateAmbassador* fedAmb) override;
  void resignFederationExecution(RTI::ResignAction action) override;

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
  void testSaveProgress() override;

  // Received messages.
  virtual void processConnectMsg(const DtConnectMsg& msg);
  // A repeated answer to this federate's join is confirmed again.
  virtual void processJoinResponseMsg(const DtJoinResponseMsg& msg);
  virtual void processDesignatedFederateMsg(const DtDesignatedFederateMsg& msg);
  virtual void processSyncPointMsg(const DtSyncPointMsg& msg);
  // The labels announced and not yet synchronized.
  const std::set<std::string>& syncLabels() const { return syncLabels_; }

  void setDesignatedFederate(char designated) { designated_ = designated != 0; }
  char isDesignatedFederate() const { return designated_ ? 1 : 0; }

protected:
  // For tests that bring their own connection manager.
  DtRtiExecFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr);

  virtual void sendCreateMsg(const char* executionName, const DtString& fedFile, DtString* sentName);
  virtual void sendDestroyMsg(const char* executionName, DtString* sentName);
  virtual void sendJoinMsg(unsigned long connectionId, const char* executionName, const char* federateName,
                           DtString* sentName);
  virtual void sendJoinConfirmMsg(const char* federateName);
  // Null federates: the point concerns every federate.
  virtual void sendSyncPointMsg(int kind, unsigned long federateHandle, const char* label, const char* tag,
                                const RTI::FederateHandleSet* federates);

private:
  // What the wait makes of a received message.
  enum class Verdict { Answer, Other, OtherAnswer };
  template <class Judge>
  std::unique_ptr<DtRtiMsg> awaitAnswer(Judge&& judge);
  // A message the wait did not want: kept for the next tick while joined.
  void keepForTick(std::unique_ptr<DtRtiMsg> msg);
  bool reliableConnBroken() const;
  // What was received before a request: none of it is its answer.
  void takeReceived();
  // The number a create or destroy request carries for its answer.
  std::uint16_t ticket() const;
  bool isOwnJoinResponse(const DtJoinResponseMsg& msg, const DtString& executionName, const char* federateName) const;
  // The FED file a join reads: the rtiexec knows the execution's by its
  // name alone; the file this process named when it created the execution
  // (with its folder) is read when its name is that one, else the name is
  // looked for where FED files are (see DtFederateMgr::readFedFile).
  DtString fedFileToRead(const char* executionName, const DtString& answered);
  // Tells the rtiexec that a join it answered is not taken up after all.
  void withdrawJoin(const char* executionName, unsigned long handle);
  void registerJoinedCallbacks(bool add);
  void registerSyncPoint(const char* label, const char* tag, const RTI::FederateHandleSet* federates);

  std::uint32_t drawnNumber_;  // the local number drawn at construction, released at the end
  bool designated_ = false;
  bool joinedCallbacks_ = false;
  std::set<std::string> syncLabels_;
};
