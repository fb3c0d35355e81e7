#pragma once
// An rtiexec in the test's own process, without a network: its connection
// manager opens no socket and keeps what the rtiexec sends, the test hands
// it messages as its tick would, and moves its clock by hand. What it sent
// is read back as short texts ("JoinResponse to=11 X A handle=1 error=0").

#include <memory>
#include <string>
#include <vector>

#include "config/DtRIDParameters.h"
#include "exec/DtFedExec.h"
#include "exec/DtFederate.h"
#include "exec/DtRtiExec.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtSyncPointMsg.h"
#include "net/DtConnectionMgr.h"
#include "rti/net/ConnTestSupport.h"
#include "rti/util/NotifyCapture.h"

namespace exectest {

// A connection manager that sends nothing anywhere: it keeps a copy of
// every message.
class RecordingMgr : public DtConnectionMgr {
public:
  explicit RecordingMgr(DtRIDParameters* rid) : DtConnectionMgr(rid) {}
  void init(DtRIDParameters*) override {}
  int send(const DtRtiMsg& msg, DtTransportType, unsigned long) override {
    sent.emplace_back(msg.clone(1));
    return msg.size();
  }
  std::vector<std::unique_ptr<DtRtiMsg>> sent;

  static DtConnectionMgr* make(DtRIDParameters* rid) { return new RecordingMgr(rid); }
  struct Install {
    Install() { DtConnectionMgr::setCreatorFunction(&RecordingMgr::make); }
    ~Install() { DtConnectionMgr::setCreatorFunction(nullptr); }
  };
};

// A message's kind and the fields that matter, as a short text.
inline std::string describe(const DtRtiMsg& msg) {
  const std::string exec = " exec=" + std::to_string(msg.fedExHandle());
  const std::string ticket = msg.federateHandle() ? " ticket=" + std::to_string(msg.federateHandle()) : "";
  if (auto* m = dynamic_cast<const DtCreateResponseMsg*>(&msg))
    return "CreateResponse " + std::string(m->fullFedExName().string()) + " " + std::to_string(m->responseFlag()) +
           ticket;
  if (auto* m = dynamic_cast<const DtDestroyResponseMsg*>(&msg))
    return "DestroyResponse " + std::string(m->fullFedExName().string()) + " " + std::to_string(m->responseFlag()) +
           ticket;
  if (auto* m = dynamic_cast<const DtJoinResponseMsg*>(&msg)) {
    return "JoinResponse to=" + std::to_string(m->destinationID()) + " " + m->fullFedExName().string() + " " +
           m->federateName() + " execution=" + std::to_string(m->fedexHandleToUse()) +
           " handle=" + std::to_string(m->federateHandleToUse()) + " error=" + std::to_string(m->errorValue()) +
           " fed=" + m->fedFileName() + exec;
  }
  if (auto* m = dynamic_cast<const DtResignMsg*>(&msg))
    return "Resign " + std::to_string(m->federateHandle()) + " action=" + std::to_string(m->resignAction()) + exec;
  if (dynamic_cast<const DtResignResponseMsg*>(&msg))
    return "ResignResponse " + std::to_string(msg.federateHandle()) + exec;
  if (auto* m = dynamic_cast<const DtDesignatedFederateMsg*>(&msg))
    return "Designated " + std::to_string(m->designatedFederate()) + exec;
  if (auto* m = dynamic_cast<const DtOwnershipMsg*>(&msg)) {
    return "Ownership kind=" + std::to_string(m->ownerMsgKind()) + " from=" + std::to_string(m->federateHandle()) +
           " to=" + std::to_string(m->recipientFederate()) + " object=" + std::to_string(m->objHandle()) + exec;
  }
  if (auto* m = dynamic_cast<const DtSyncPointMsg*>(&msg)) {
    std::string text = std::string("Sync ") + DtSyncMsgTypeName(m->syncMsgKind()) +
                       " id=" + std::to_string(m->federateId()) + " " + (m->syncPointName() ? m->syncPointName() : "");
    if (m->tag()) text += " tag=" + std::string(m->tag());
    std::string set;
    for (const std::uint32_t handle : m->federateHandles()) set += (set.empty() ? "" : ",") + std::to_string(handle);
    if (!set.empty()) text += " set=" + set;
    return text + exec;
  }
  return std::string("kind ") + DtRtiMsg::kindToString(msg.msgKind());
}

// The rtiexec and the messages a federate would send it.
class ExecHarness {
public:
  explicit ExecHarness(const std::string& ridForms = "")
      : rid_(nettest::ridFor(federation_, ridForms)), exec_(DtRtiExec::create(rid_.get())) {
    exec_->setClock([this] { return now; });
  }

  DtRtiExec& exec() { return *exec_; }
  RecordingMgr& mgr() { return static_cast<RecordingMgr&>(*exec_->connectMgr()); }
  DtRIDParameters& rid() { return *rid_; }

  // What a tick does with a received message: both registries.
  void deliver(const DtRtiMsg& msg) {
    exec_->connectMgr()->momProcessMsg(msg);
    exec_->connectMgr()->processMsg(msg);
  }
  // A request's ticket is in its header's federate handle.
  void create(const char* name, const char* fed = "x.fed", unsigned long ticket = 0) {
    deliverFrom(DtCreateMsg(name, DtString(fed), nullptr), ticket, 0);
  }
  void destroy(const char* name, unsigned long ticket = 0) { deliverFrom(DtDestroyMsg(name, nullptr), ticket, 0); }
  void join(const char* execution, const char* federate, unsigned long connection) {
    deliver(DtJoinMsg(connection, federate, execution, nullptr));
  }
  // Stamped as a joined federate stamps its messages.
  template <class Msg>
  void deliverFrom(Msg msg, unsigned long federate, int execution) {
    msg.setFederateHandle(federate);
    msg.setFedEx(execution);
    deliver(msg);
  }
  void confirm(const char* federate, unsigned long handle, int execution) {
    DtJoinConfirmMsg msg;
    msg.set(federate);
    deliverFrom(std::move(msg), handle, execution);
  }
  void alive(unsigned long handle, int execution) { deliverFrom(DtAliveMsg(), handle, execution); }
  void resign(const char* execution, unsigned long handle, int executionHandle,
              RTI::ResignAction action = RTI::DELETE_OBJECTS) {
    deliverFrom(DtResignMsg(execution, handle, action, nullptr), handle, executionHandle);
  }
  void disconnect(unsigned long connection) {
    DtDisconnectMsg msg;
    msg.setConnectionHandle(connection);
    deliver(msg);
  }
  // A federate's synchronization point message (its handle as the
  // federate id), stamped by it.
  void sync(DtSyncMsgType kind, unsigned long federate, int execution, const char* label, const char* tag = nullptr,
            const std::vector<std::uint32_t>& set = {}) {
    DtSyncPointMsg msg(kind, federate, label, tag, nullptr);
    msg.setFederateHandles(set);
    deliverFrom(std::move(msg), federate, execution);
  }
  // A full join: request and confirm.
  void joinAndConfirm(const char* execution, const char* federate, unsigned long connection, unsigned long handle,
                      int executionHandle) {
    join(execution, federate, connection);
    confirm(federate, handle, executionHandle);
  }

  // What was sent since the last call, described.
  std::vector<std::string> takeSent() {
    std::vector<std::string> texts;
    for (const auto& msg : mgr().sent) texts.push_back(describe(*msg));
    mgr().sent.clear();
    return texts;
  }

  double now = 1000.0;
  NotifyCapture capture{3};

private:
  nettest::FederationPort federation_;
  RecordingMgr::Install install_;
  std::unique_ptr<DtRIDParameters> rid_;
  std::unique_ptr<DtRtiExec> exec_;
};

// A scenario's check: what the rtiexec sent since the last look, the lines
// it printed (in this order, among the rest), and the texts it did not
// print.
inline void expectSentAndPrinted(ExecHarness& harness, const std::vector<std::string>& sent,
                                 const std::vector<std::string>& printedLines,
                                 const std::vector<std::string>& notPrinted) {
  EXPECT_EQ(harness.takeSent(), sent);
  const std::string printed = harness.capture.text();
  std::size_t at = 0;
  for (const std::string& line : printedLines) {
    const std::size_t found = printed.find(line, at);
    EXPECT_NE(found, std::string::npos) << "not printed (in order): " << line << "\n" << printed;
    if (found != std::string::npos) at = found + line.size();
  }
  for (const std::string& line : notPrinted) EXPECT_EQ(printed.find(line), std::string::npos) << "printed: " << line;
}

}  // namespace exectest
