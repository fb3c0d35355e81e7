// The rtiexec core: its executions, the create, destroy and join requests,
// lost connections and the main loop. The console commands are in
// DtRtiExecConsole.cpp.
#include "exec/DtRtiExec.h"

#include <algorithm>

#include "config/DtRIDParameters.h"
#include "exec/DtFedExec.h"
#include "msg/DtFederationMsgs.h"
#include "net/DtInProcessSocket.h"
#include "net/DtMakeMsg.h"
#include "net/DtRtiConnection.h"
#include "net/DtRtiExecNetThread.h"
#include "net/DtSocket.h"
#include "port/DtConsoleInput.h"
#include "port/DtPortSocket.h"
#include "port/DtWakeup.h"
#include "util/DtClock.h"
#include "util/DtCreatorHook.h"
#include "util/DtNotify.h"
#include "util/DtSelect.h"

namespace {

DtCreatorHook<DtRtiExec, DtRIDParameters*> theCreator;

constexpr int consoleDescriptor = 0;
// The longest wait for input in one pass of run.
constexpr double waitSeconds = 1.0;
// Received messages dispatched in one tick at most, so that the executions'
// own tick and the console are never starved by a busy federation.
constexpr int maxMessagesPerTick = 4096;

void addToSet(DtSelectParam& params, int fd) {
  if (fd < 0 || params.readSet.contains(fd) || !params.readSet.add(fd)) return;
  params.highest = std::max(params.highest, fd);
}

// The connection manager of an rtiexec that drives its forwarder: its
// reliable connection is the forwarder's owner in this process, so that
// its packets pass in memory, not through a TCP connection to itself.
class InProcessConnectionMgr : public DtConnectionMgr {
public:
  InProcessConnectionMgr(DtRIDParameters* rid, DtRtiExecNetThread& net) : DtConnectionMgr(rid), net_(net) {}

protected:
  char createTcpConn(int, unsigned long, unsigned long, unsigned long) override {
    DtRtiExecNetThread* net = &net_;
    auto socket =
        std::make_unique<DtInProcessSocket>([net](const char* data, std::size_t length, std::uint32_t connection) {
          net->sendFromOwner(data, length, connection);
        });
    DtInProcessSocket* own = socket.get();
    if (!net_.setInProcessOwner([own](const char* data, std::size_t length) { own->deliver(data, length); })) return 0;
    adoptReliableSocket(std::move(socket));
    return 1;
  }

private:
  DtRtiExecNetThread& net_;
};

}  // namespace

std::unique_ptr<DtRtiExec> DtRtiExec::create(DtRIDParameters* rid) {
  if (std::unique_ptr<DtRtiExec> made = theCreator.makeInstalled(rid)) return made;
  return std::unique_ptr<DtRtiExec>(new DtRtiExec(rid));
}

void DtRtiExec::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtRtiExec::DtRtiExec(DtRIDParameters* rid)
    : rid_(rid), stopWakeup_(std::make_unique<DtWakeup>("rtiexec stop")), clock_([] { return DtRealTime(); }) {
  rid_->setUseRtiExec(1);
  if (rid_->fomDataReliable() || rid_->internalMsgReliable()) {
    // Driven by this loop: a request and its answer wake no other thread.
    netThread_ = std::make_unique<DtRtiExecNetThread>(rid_->udpPort(), rid_->tcpNoDelay(), rid_->tcpMaxConnections(),
                                                      DtRtiExecNetThread::Mode::Driven);
  }
  if (netThread_ && !DtConnectionMgr::creatorFunction()) {
    connectMgr_ = std::make_unique<InProcessConnectionMgr>(rid_, *netThread_);
    connectMgr_->init(rid_);
  } else {
    connectMgr_ = DtConnectionMgr::create(rid_);
  }
  if (netThread_ && !connectMgr_->hasTransport(DtReliable)) {
    DtNotifyError("Reverting to best effort.\n");
    netThread_.reset();
  }
  if (netThread_) {
    // A connection manager of another kind reaches the forwarder over TCP:
    // the forwarder knows that connection by its end.
    DtSockAddr own;
    const int fd = connectMgr_->reliableConn()->socket()->descriptor();
    if (fd >= 0 && DtPortLocalAddress(fd, &own) == 0) netThread_->setOwner(own.address, own.port);
    addToSet(selectParams_, netThread_->descriptor());
    netThread_->service();  // accepts the rtiexec's own connection, if it has one
  }
  connectMgr_->setupSelectParams(&selectParams_);
  addToSet(selectParams_, consoleDescriptor);
  addToSet(selectParams_, stopWakeup_->fd());
  if (netThread_) {
    forwarderWaitsForAll_ = netThread_->watchOutside(stopWakeup_->fd());
    for (const DtRtiConnection* conn : {connectMgr_->udpConn(), connectMgr_->reliableConn()}) {
      const int fd = conn ? conn->socket()->readDescriptor() : -1;
      if (fd >= 0 && !netThread_->watchOutside(fd)) forwarderWaitsForAll_ = false;
    }
  }
  subscribeHandlers();
}

DtRtiExec::~DtRtiExec() {
  executions_.clear();
  handlers_.clear();
  // The forwarder outlives the manager: what it still has for the rtiexec
  // is dropped.
  if (netThread_) netThread_->setInProcessOwner(nullptr);
  connectMgr_.reset();
  netThread_.reset();
}

void DtRtiExec::subscribeHandlers() {
  DtConnectionMgr* mgr = connectMgr_.get();
  handlers_.add<DtConnectMsg, &DtRtiExec::processConnectMsg>(mgr, this);
  handlers_.add<DtCreateMsg, &DtRtiExec::processCreate>(mgr, this);
  handlers_.add<DtDestroyMsg, &DtRtiExec::processDestroy>(mgr, this);
  handlers_.add<DtJoinMsg, &DtRtiExec::processJoin>(mgr, this);
  handlers_.add<DtDisconnectMsg, &DtRtiExec::processDisconnect>(mgr, this);
}

int DtRtiExec::forwarderPort() const { return netThread_ ? netThread_->port() : 0; }

void DtRtiExec::setClock(Clock clock) {
  clock_ = std::move(clock);
  for (const auto& execution : executions_) execution->setClock(clock_);
}

// The executions ------------------------------------------------------------

DtFedExec* DtRtiExec::fedExec(const DtString& name) const {
  for (const auto& execution : executions_) {
    if (execution->fedExName() == name) return execution.get();
  }
  return nullptr;
}

std::vector<DtFedExec*> DtRtiExec::executionList() const {
  std::vector<DtFedExec*> list;
  for (const auto& execution : executions_) list.push_back(execution.get());
  return list;
}

std::unique_ptr<DtFedExec> DtRtiExec::createFedEx(DtConnectionMgr* mgr, const DtString& name, const DtString& fedFile,
                                                  int handle, DtRIDParameters* rid) {
  return std::make_unique<DtFedExec>(mgr, name, fedFile, handle, rid);
}

// The requests ----------------------------------------------------------------

void DtRtiExec::processConnectMsg(const DtConnectMsg& msg) {
  DtNotifyVerbose("Connected to forwarder with ID %lu\n", msg.connectionHandle());
  forwarderID_ = msg.connectionHandle();
}

void DtRtiExec::processCreate(const DtCreateMsg& msg) {
  const DtString name = msg.fullFedExName();
  if (exists(name)) {
    sendCreateResponseMsg(name, 1, msg.federateHandle());
    DtNotifyInfo("Create: execution %s already exists.\n", name.string());
    return;
  }
  const DtString fedFile(msg.fedFileName());
  std::unique_ptr<DtFedExec> made = createFedEx(connectMgr_.get(), name, fedFile, nextExecutionHandle_, rid_);
  if (!made) return;
  made->setClock(clock_);
  DtFedExec* execution = made.get();
  executions_.push_back(std::move(made));
  created_.callAll(execution);
  sendCreateResponseMsg(name, 0, msg.federateHandle());
  DtNotifyInfo("Create: execution %s created.  Handle: %d.  FED file: %s\n", name.string(), nextExecutionHandle_,
               fedFile.string());
  ++nextExecutionHandle_;
}

void DtRtiExec::processDestroy(const DtDestroyMsg& msg) {
  const DtString name = msg.fullFedExName();
  const auto found = std::find_if(executions_.begin(), executions_.end(),
                                  [&](const auto& execution) { return execution->fedExName() == name; });
  if (found == executions_.end()) {
    sendDestroyResponseMsg(name, 1, msg.federateHandle());
    DtNotifyInfo("Destroy: execution %s does not exist.\n", name.string());
    return;
  }
  if ((*found)->numFederates() != 0) {
    sendDestroyResponseMsg(name, 2, msg.federateHandle());
    DtNotifyInfo("Destroy: execution %s has federates joined.\n", name.string());
    return;
  }
  destroyed_.callAll(found->get());
  executions_.erase(found);
  sendDestroyResponseMsg(name, 0, msg.federateHandle());
  DtNotifyInfo("Destroy: execution %s destroyed.\n", name.string());
}

void DtRtiExec::processJoin(const DtJoinMsg& msg) {
  const DtString name = msg.fullFedExName();
  if (exists(name)) return;  // the execution answers its own joins
  if (auto response = DtMakeMsg<DtJoinResponseMsg>(*connectMgr_)) {
    response->set(msg.sourceID(), msg.federateName(), 0, name.string(), DtString(""), 0);
    response->setErrorValue(1);
    connectMgr_->send(*response, connectMgr_->internalTransportType(), 0);
  }
  DtNotifyInfo("Join: execution %s does not exist.\n", name.string());
}

void DtRtiExec::processDisconnect(const DtDisconnectMsg& msg) {
  for (DtFedExec* execution : executionList()) execution->removeFederateConnection(msg.connectionHandle());
}

template <class Response>
static void sendResponse(DtConnectionMgr& mgr, const DtString& fullName, int flag, unsigned long ticket) {
  if (auto response = DtMakeMsg<Response>(mgr)) {
    response->set(fullName.string(), flag);
    response->setFederateHandle(ticket);
    mgr.send(*response, mgr.internalTransportType(), 0);
  }
}

void DtRtiExec::sendCreateResponseMsg(const DtString& fullName, int flag, unsigned long ticket) {
  sendResponse<DtCreateResponseMsg>(*connectMgr_, fullName, flag, ticket);
}

void DtRtiExec::sendDestroyResponseMsg(const DtString& fullName, int flag, unsigned long ticket) {
  sendResponse<DtDestroyResponseMsg>(*connectMgr_, fullName, flag, ticket);
}

// The loop --------------------------------------------------------------------

void DtRtiExec::requestStop() {
  stopRequested_.store(true);
  stopWakeup_->signal();
}

void DtRtiExec::run() {
  while (!stopRequested()) {
    if (keybrdTick() == -1) return;
    waitForInput(inputWaiting() ? 0.0 : waitSeconds);
    if (stopRequested()) return;
    tick();
  }
}

void DtRtiExec::waitForInput(double seconds) {
  // Without a console (its input ended, as when it reads /dev/null) the
  // forwarder's one wait serves, and the pass that follows takes what it
  // found: one system call, not a wait and a look.
  if (forwarderWaitsForAll_ && DtConsoleInput::process().ended()) {
    netThread_->waitForInput(seconds);
    return;
  }
  DtFdSet ready = selectParams_.readSet;
  DtSelect(selectParams_.highest + 1, &ready, nullptr, nullptr, seconds);
}

bool DtRtiExec::managerSocketsFoundEmpty() const {
  if (!forwarderWaitsForAll_) return false;
  for (const DtRtiConnection* conn : {connectMgr_->udpConn(), connectMgr_->reliableConn()}) {
    const int fd = conn ? conn->socket()->readDescriptor() : -1;
    if (fd >= 0 && netThread_->outsideMayBeReady(fd)) return false;
  }
  return true;
}

bool DtRtiExec::inputWaiting() const {
  const DtRtiConnection* reliable = connectMgr_->reliableConn();
  return reliable && reliable->socket()->packetWaiting();
}

void DtRtiExec::tick() {
  // The forwarder passes the federates' packets on (the rtiexec's own
  // among them, which its connection then holds at once), the rtiexec
  // handles them, and the forwarder sends its answers on, with the
  // federates' traffic of the pass in one write per connection; what came
  // meanwhile waits for the next tick (the forwarder's descriptor, or the
  // packets the connection holds, make the loop come back at once).
  if (netThread_) netThread_->takeInput();
  // Where the forwarder's wait watched the connection manager's sockets
  // and found nothing on them, the manager does not look again.
  if (managerSocketsFoundEmpty()) {
    connectMgr_->beginTickAfterEmptyWait();
  } else {
    connectMgr_->beginTick();
  }
  for (int i = 0; i < maxMessagesPerTick && connectMgr_->tick(); ++i) {
  }
  connectMgr_->endTick();
  for (DtFedExec* execution : executionList()) execution->tick();
  if (netThread_) netThread_->flush();
}
