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
// Labels and tags hold at most 254 characters and no line feed (the
// rtiexec keeps them on lines of its save file).
//
// Save and restore (DtRtiExecFederateMgrSave.cpp) are the federate's half
// of the exchange the rtiexec runs for the whole federation:
//   save:    request (33; an untimed one waits for its answer, 66) ->
//            every federate takes an accepted answer as the start:
//            initiateFederateSave -> federateSaveBegun (70) ->
//            federateSaveComplete writes the file, 35 -> 36 from the
//            rtiexec: federationSaved or federationNotSaved
//   restore: request (37) -> 38 to the requester -> 39: federationRestoreBegun,
//            67 -> 68 names each federate's saved handle: the file is read,
//            initiateFederateRestore -> federateRestoreComplete (40) -> 41:
//            federationRestored (the saved handle is the federate's now) or
//            federationNotRestored (the handle it had before)
// From the start of a save (or a restore) to its end the connection manager
// holds back the messages that do not belong to the exchange; the services
// are refused with SaveInProgress (RestoreInProgress) and the save label
// (restore label) as reason. A file that cannot be written whole, or read
// back whole, makes the federate's answer a failure, which fails the save
// (the restore) for the whole federation.
//
// Used on the thread that calls the ambassador.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/DtFederateMgr.h"
#include "msg/DtSaveMsgs.h"

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
  // Returns once the rtiexec answered that this federate is out of the
  // execution (or RTI_responseInterval passed without an answer), so that
  // what this or another federate does next finds it gone; a resignation
  // the rtiexec itself ordered does not wait.
  void resignFederationExecution(RTI::ResignAction action) override;
  void processResign(const DtResignMsg& msg) override;

  void registerFederationSynchronizationPoint(const char* label, const char* tag,
                                              const RTI::FederateHandleSet& federates) override;
  void registerFederationSynchronizationPoint(const char* label, const char* tag) override;
  void synchronizationPointAchieved(const char* label) override;
  // RTIinternalError for a label with a line feed (the rtiexec's save file
  // is made of lines). Untimed: SaveInProgress when the rtiexec refuses,
  // RTIinternalError ("Could not request save ...") when it does not answer
  // within RTI_responseInterval.
  void requestFederationSave(const char* label, const RTI::FedTime* time) override;
  void federateSaveBegun() override;
  // SaveNotInitiated ("Save not begun") unless the save has begun; writes
  // the file and tells the rtiexec whether all of it was written.
  void federateSaveComplete() override;
  void federateSaveNotComplete() override;
  void requestFederationRestore(const char* label) override;
  void federateRestoreComplete() override;
  void federateRestoreNotComplete() override;
  void testSaveProgress() override;
  // The pending save initiation, if an accepted answer came in this tick.
  void posttick() override;

  // The rtiexec's save and restore messages.
  using DtFederateMgr::processSaveInitiate;
  void processSaveInitiate(const DtSaveInitiateMsg& msg) override;
  // Only an accepted answer (flag not 0) starts a save here.
  void processSaveResponse(const DtSaveResponseMsg& msg) override;
  void processSaveFinished(const DtSaveFinishedMsg& msg) override;
  // Only the answer addressed to this federate.
  void processRestoreReply(const DtRestoreReplyMsg& msg) override;
  void processRestore(const DtRestoreMsg& msg) override;
  // Only the one that names this federate's present handle.
  void processRestoreInitiate(const DtRestoreInitiateMsg& msg) override;
  void processRestoreEnd(const DtRestoreEndMsg& msg) override;
  // The save starts under this label: at once, or when the time manager
  // lets it.
  virtual void processSaveInitiate(const char* label);
  void initiateSave() override;

  // The federate manager's own records: its handle, the synchronization
  // labels announced to it and not yet synchronized, and the messages held
  // back (put back in their order). restore takes the saved handle (the
  // present one is kept to go back to), the labels (in place of those it
  // knew) and the messages.
  bool save(DtRtiSaveFile& file) override;
  bool restore(DtRtiSaveFile& file) override;
  RTI::FederateHandle handleBeforeRestore() const { return handleBeforeRestore_; }

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
  virtual void requestImmediateSave(const char* label);
  virtual void sendSaveRequestMsg(const char* label);
  virtual void sendSaveRequestTsoMsg(const char* label, const RTI::FedTime& time);
  virtual void sendSaveCompleteMsg(const char* label, char success);
  virtual void sendSaveBegunMsg();
  virtual void sendRestoreRequestMsg(const char* label);
  virtual void sendRestoreBegunMsg(const char* label, DtResponseFlag flag);
  virtual void sendRestoreCompleteMsg(const char* label, char success);

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
  // The handlers of the rtiexec's messages to a joined federate.
  void subscribeJoinedHandlers();
  void registerSyncPoint(const char* label, const char* tag, const RTI::FederateHandleSet* federates);
  // A message of the class stamped and sent on the internal transport.
  template <class Msg, class... Args>
  void sendInternal(Args&&... args);
  // Reads this federate's file of the restore under the saved handle;
  // false when it cannot be read back whole.
  bool readRestoreFile(unsigned long savedHandle);
  // The save or restore is over here: nothing is held back any more.
  void endSaveHere();
  // The save's time (the time manager's pending one) kept as the federate
  // manager's.
  void takeSaveTime();
  void endRestoreHere();

  std::uint32_t drawnNumber_;  // the local number drawn at construction, released at the end
  // The label of an accepted save answer, taken up after the tick.
  std::optional<std::string> pendingSaveInitiate_;
  RTI::FederateHandle handleBeforeRestore_ = 0;
  // The saved handle this federate read its restore file under.
  std::optional<RTI::FederateHandle> restoredHandle_;
  bool designated_ = false;
  DtMsgSubscriptions handlers_;        // from init to the end
  DtMsgSubscriptions joinedHandlers_;  // from the join to the resignation
  bool resignOrdered_ = false;         // the rtiexec resigns this federate: it is out already
  std::set<std::string> syncLabels_;
};
