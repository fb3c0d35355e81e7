#include "net/DtConnectionMgr.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "api/DtFedAmbWrapper.h"
#include "api/DtFedAmbWrapperChain.h"
#include "config/DtRIDParameters.h"
#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsg.h"
#include "net/DtGroupSocket.h"
#include "net/DtGsRtiConnection.h"
#include "net/DtNetAddress.h"
#include "net/DtNetSocket.h"
#include "net/DtRetractInfoList.h"
#include "net/DtRtiConnection.h"
#include "net/DtRtiMsgQueue.h"
#include "net/DtSocketError.h"
#include "net/DtTcpSocket.h"
#include "port/DtPoll.h"
#include "util/DtNoticeLimiter.h"
#include "util/DtNotify.h"

namespace {

std::atomic<DtConnectionMgr::Creator> theCreator{nullptr};

// The list keeps each value in its item's pointer.
void* asData(std::uint32_t value) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));  // NOLINT(performance-no-int-to-ptr)
}
std::uint32_t valueOf(const DtListItem* item) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(item->data()));
}

}  // namespace

// The connections and their sockets. The reliable connection and the
// internal one are read by the ticking thread while the asynchronous
// manager's worker may take the reliable one away, so they are atomic; a
// connection taken away is kept (retired) until the manager goes.
struct DtConnectionMgr::Connections {
  std::unique_ptr<DtSocket> udpSocket;
  std::unique_ptr<DtRtiConnection> udp;
  std::unique_ptr<DtSocket> tcpSocket;
  std::unique_ptr<DtRtiConnection> tcp;
  std::atomic<DtRtiConnection*> reliable{nullptr};
  std::atomic<DtRtiConnection*> internal{nullptr};
  std::atomic<DtTransportType> internalTransport{DtBestEffort};
  std::atomic<bool> reliableBroken{false};  // the reliable connection was taken away
  std::atomic<bool> reliableLost{false};    // a tick found it broken (kept, as it was)
  // Within a federate's tick, the last look found only reliable input and
  // its read took it all (used by the ticking thread).
  bool inTick = false;
  bool settled = false;
};

namespace {

// A federate whose rtiexec is gone cannot go on as if nothing happened: its
// every tick says so, and it can still resign and end.
[[noreturn]] void throwRtiexecLost() {
  throw RTI::RTIinternalError(
      "The TCP connection to the rtiexec is broken: the rtiexec has ended or closed the connection");
}

// The broken connection persists, and a federate may tick on regardless: it
// is said at once, then further and further apart (at most once an hour),
// so that no federate's log can fill a disk with it.
void reportRtiexecLost() {
  static DtNoticeLimiter* const limiter = new DtNoticeLimiter(1.0, 3600.0);
  DtNotifyErrorThrough(*limiter, "rtiexec connection broken",
                       "RTI: TCP connection has been broken.\nPerhaps rtiexec is no longer running.\n");
}

}  // namespace

std::unique_ptr<DtConnectionMgr> DtConnectionMgr::create(DtRIDParameters* rid) {
  const Creator creator = theCreator.load();
  std::unique_ptr<DtConnectionMgr> mgr(creator ? creator(rid) : new DtConnectionMgr(rid));
  if (mgr) mgr->init(rid);
  return mgr;
}

void DtConnectionMgr::setCreatorFunction(Creator creator) { theCreator.store(creator); }
DtConnectionMgr::Creator DtConnectionMgr::creatorFunction() { return theCreator.load(); }

DtConnectionMgr::DtConnectionMgr(DtRIDParameters*)
    : msgFactory_(&defaultFactory_),
      connections_(std::make_unique<Connections>()),
      wrapperChain_(std::make_unique<DtFedAmbWrapperChain>()) {}

DtConnectionMgr::~DtConnectionMgr() {
  emptyPendingMsgList();
  inProgress_.clear();
}

void DtConnectionMgr::init(DtRIDParameters* rid) {
  const int port = rid->udpPort();
  const std::uint32_t dest = rid->destAddr();
  const std::uint32_t iface = rid->mcastDevAddr();
  DtTcpSocket::setBufferSize(rid->tcpBufferSize());
  DtTcpSocket::setMaxQueuedPackets(rid->maxIOQueue());
  try {
    int count = 0;
    const DtString* addrs = rid->destinationAddrs(&count);
    DtNetSocket* socket = nullptr;
    if (count == 0) {
      socket = createUdpNetSocket(port, dest, iface);
    } else {
      DtGroupSocket* group = rid->usingUdpForwarder() ? createUdpForwarderSocket(port, dest, iface)
                                                      : createUdpGroupSocket(port, dest, iface);
      group->addRemoteSite(dest);
      for (int i = 0; i < count; ++i) group->addRemoteSite(DtStringToAddr(addrs[i].string()));
      socket = group;
    }
    connections_->udpSocket.reset(socket);
    socket->setReceiveBufferSize(rid->socketReceiveBufferSize());
    socket->setMulticastTtl(rid->mcastTtl());
    createUdpConn(socket, rid->useDMFiltering(), dest);
    // The tests of reliable transport make the UDP traffic lossy.
    if (const char* loss = std::getenv("RTI_TEST_UDP_LOSS_PERCENT"))
      connections_->udp->setTestLoss(std::atof(loss) / 100);
  } catch (const DtSocketError& error) {
    const std::string reason = "Cannot open the RTI's UDP socket on " + std::string(error.what());
    DtNotifyError("%s\n", reason.c_str());
    throw RTI::RTIinternalError(reason.c_str());
  }

  if (rid->internalMsgReliable() || rid->fomDataReliable()) {
    if (rid->useRtiExec()) {
      if (createTcpConn(port, dest, iface, rid->tcpForwarderAddr())) {
        DtSocket* tcp = connections_->tcpSocket.get();
        tcp->setReceiveBufferSize(rid->socketReceiveBufferSize());
        if (auto* socket = dynamic_cast<DtTcpSocket*>(tcp)) socket->setNoDelay(rid->tcpNoDelay() != 0);
      } else {
        DtNotifyError("Could not create reliable connection\n");
        rid->setUseRtiExec(0);
        rid->setInternalMsgReliable(0);
        rid->setFomDataReliable(0);
      }
    } else {
      DtNotifyError("Can't send reliable messages without rtiexec.\nUsing Best Effort.\n");
      rid->setInternalMsgReliable(0);
      rid->setFomDataReliable(0);
    }
  }
  if (rid->internalMsgReliable() && connections_->reliable.load()) {
    carryInternalMessagesReliably();
  } else {
    connections_->internal.store(connections_->udp.get());
  }
  setMsgFactory(&defaultFactory_);
}

DtNetSocket* DtConnectionMgr::createUdpNetSocket(int port, unsigned long destAddr, unsigned long interfaceAddr) {
  return new DtNetSocket(port, static_cast<std::uint32_t>(destAddr), DtNetSocket::ReadWrite,
                         static_cast<std::uint32_t>(interfaceAddr));
}

DtGroupSocket* DtConnectionMgr::createUdpGroupSocket(int port, unsigned long destAddr, unsigned long interfaceAddr) {
  auto* socket = new DtGroupSocket(port, DtNetSocket::ReadWrite, static_cast<std::uint32_t>(interfaceAddr));
  if (DtIsMulticastAddr(static_cast<std::uint32_t>(destAddr)))
    socket->listenToMulticastGroup(static_cast<std::uint32_t>(destAddr));
  return socket;
}

DtGroupSocket* DtConnectionMgr::createUdpForwarderSocket(int port, unsigned long destAddr,
                                                         unsigned long interfaceAddr) {
  return new DtGroupSocket(port, static_cast<std::uint32_t>(destAddr), DtNetSocket::ReadWrite,
                           static_cast<std::uint32_t>(interfaceAddr));
}

char DtConnectionMgr::createUdpConn(DtSocket* socket, int useGroupConnection, unsigned long destAddr) {
  if (connections_->udpSocket.get() != socket) connections_->udpSocket.reset(socket);
  auto* group = useGroupConnection ? dynamic_cast<DtGroupSocket*>(socket) : nullptr;
  if (group) {
    connections_->udp = std::make_unique<DtGsRtiConnection>(group, destAddr);
  } else {
    connections_->udp = std::make_unique<DtRtiConnection>(socket);
  }
  return 1;
}

char DtConnectionMgr::createTcpConn(int port, unsigned long, unsigned long, unsigned long tcpAddr) {
  auto socket = std::make_unique<DtTcpSocket>(static_cast<std::uint32_t>(tcpAddr), port, false);
  if (!socket->isOk()) return 0;
  adoptReliableSocket(std::move(socket));
  return 1;
}

void DtConnectionMgr::carryInternalMessagesReliably() {
  if (DtRtiConnection* reliable = connections_->reliable.load()) {
    connections_->internal.store(reliable);
    connections_->internalTransport.store(DtReliable);
  }
}

void DtConnectionMgr::adoptReliableSocket(std::unique_ptr<DtSocket> socket) {
  connections_->tcp = std::make_unique<DtRtiConnection>(socket.get());
  connections_->tcpSocket = std::move(socket);
  connections_->reliable.store(connections_->tcp.get());
}

// Sending.

DtRtiConnection* DtConnectionMgr::connectionFor(DtTransportType transport) const {
  if (transport == DtReliable) {
    if (DtRtiConnection* reliable = connections_->reliable.load()) return reliable;
  }
  return connections_->udp.get();
}

void DtConnectionMgr::requireSendable(const DtRtiMsg& msg, DtTransportType transport) const {
  std::string reason;
  if (const char* refusal = msg.refusal()) {
    reason = std::string(refusal) + " (not sent)";
  } else if (const DtRtiConnection* conn = connectionFor(transport)) {
    const int largest = conn->socket()->largestPacket();
    if (msg.size() > largest) {
      reason = std::string(DtRtiMsg::kindToString(msg.msgKind())) + ": a message of " + std::to_string(msg.size()) +
               " bytes is longer than the " + std::to_string(largest) + " bytes its connection carries (not sent)";
    }
  }
  if (reason.empty()) return;
  DtNotifyError("%s\n", reason.c_str());
  throw RTI::RTIinternalError(reason.c_str());
}

int DtConnectionMgr::send(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) {
  requireSendable(msg, transport);
  if (transport != DtBestEffort && transport != DtReliable) {
    DtNotifyError("unexpected transport type in connectionMgr::send");
  }
  DtRtiConnection* conn = connectionFor(transport);
  return conn ? conn->send(msg, address) : -1;
}

void DtConnectionMgr::stampExecution(DtRtiMsg& msg) const {
  if (fedExHandle_ != 0) {
    msg.setFedEx(fedExHandle_);
  } else if (fedExName_ != "") {
    msg.setFedEx(fedExName_);
  }
}

namespace {

// A message's execution id (the header's bytes 5-7, in either form), put
// back as it was when the object goes.
class SavedExecution {
public:
  explicit SavedExecution(DtRtiMsg& msg) : msg_(msg) { std::memcpy(bytes_, place(), sizeof bytes_); }
  ~SavedExecution() { std::memcpy(place(), bytes_, sizeof bytes_); }
  SavedExecution(const SavedExecution&) = delete;
  SavedExecution& operator=(const SavedExecution&) = delete;

private:
  char* place() const { return msg_.data() + DtNetMsgHeader::execOffset; }

  DtRtiMsg& msg_;
  char bytes_[DtNetMsgHeader::theSize - DtNetMsgHeader::execOffset];
};

}  // namespace

int DtConnectionMgr::sendStamped(DtRtiMsg& msg, DtTransportType transport, unsigned long address) {
  requireSendable(msg, transport);
  const SavedExecution saved(msg);
  stampExecution(msg);
  msg.setFederateHandle(fedHandle_);
  if (msg.orderType() == DtTimestampOrder && retractList_) retractList_->addMsg(msg);
  return send(msg, transport, address);
}

int DtConnectionMgr::sendStampedAnonymous(DtRtiMsg& msg, DtTransportType transport, unsigned long address) {
  requireSendable(msg, transport);
  const SavedExecution saved(msg);
  stampExecution(msg);
  msg.setFederateHandle(0);
  return send(msg, transport, address);
}

int DtConnectionMgr::sendAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) {
  const std::unique_ptr<DtRtiMsg> owned(msg);
  return owned ? send(*owned, transport, address) : -1;
}

int DtConnectionMgr::sendStampedAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) {
  if (msg) {
    std::unique_ptr<DtRtiMsg> owned(msg);
    requireSendable(*msg, transport);
    static_cast<void>(owned.release());
    stampExecution(*msg);
    msg->setFederateHandle(fedHandle_);
    if (msg->orderType() == DtTimestampOrder && retractList_) retractList_->addMsg(*msg);
  }
  return sendAndDelete(msg, transport, address);
}

int DtConnectionMgr::sendStampedAnonymousAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) {
  if (msg) {
    std::unique_ptr<DtRtiMsg> owned(msg);
    requireSendable(*msg, transport);
    static_cast<void>(owned.release());
    stampExecution(*msg);
    msg->setFederateHandle(0);
  }
  return sendAndDelete(msg, transport, address);
}

// Receiving.

RTI::Boolean DtConnectionMgr::tick() {
  if (connections_->reliableBroken.load()) throwRtiexecLost();
  const char pending = processPendingMsg();
  const char read = processConnections();
  return (pending || read) ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}

void DtConnectionMgr::beginTick() {
  connections_->inTick = true;
  connections_->settled = false;
}

void DtConnectionMgr::beginTickAfterEmptyWait() {
  connections_->inTick = true;
  connections_->settled = true;
}

void DtConnectionMgr::endTick() {
  connections_->inTick = false;
  connections_->settled = false;
}

char DtConnectionMgr::processConnections() {
  DtRtiConnection* udp = connections_->udp.get();
  DtRtiConnection* reliable = connections_->reliable.load();
  bool lookAt[2] = {true, true};
  if (udp && reliable && !udp->socket()->packetWaiting() && reliable->socket()->isOk()) {
    if (reliable->socket()->packetWaiting()) {
      // The reliable packets in hand go up first; the system is asked
      // about the datagrams once the hand is empty.
      lookAt[0] = false;
    } else if (connections_->settled) {
      // Nothing but reliable packets was there at the last look, the read
      // took them all, and all went up: the caller's loop of ticks ends
      // here without another look. What came meanwhile is there for the
      // next one.
      connections_->settled = false;
      lookAt[0] = lookAt[1] = false;
    } else {
      // One look at both in place of a read of each: a tick with nothing
      // to read costs one system call.
      const int fds[2] = {udp->socket()->readDescriptor(), reliable->socket()->readDescriptor()};
      bool ending[2] = {false, false};
      if (DtPollReadableNow(fds, lookAt, 2, ending) < 0) lookAt[0] = lookAt[1] = true;
      // A closed connection is looked at to the end, so that the tick that
      // reads its last packets reports it.
      connections_->settled = connections_->inTick && !lookAt[0] && lookAt[1] && !ending[1];
    }
  }
  bool processed = lookAt[0] && processConnection(udp, DtBestEffort);
  if (reliable) {
    if (lookAt[1] && processConnection(reliable, DtReliable)) processed = true;
    // Only a read that emptied the socket leaves nothing to look for.
    if (lookAt[1] && !reliable->socket()->emptiedByLastRead()) connections_->settled = false;
    if (!reliable->socket()->isOk()) {
      connections_->reliableLost.store(true);
      reportRtiexecLost();
      throwRtiexecLost();
    }
    if (reliable->socket()->DtFlush() == 0) processed = true;
  }
  return processed ? 1 : 0;
}

RTI::Boolean DtConnectionMgr::processConnection(DtRtiConnection* conn, DtTransportType transport) {
  if (!conn) return RTI::RTI_FALSE;
  int status = 0;
  const std::unique_ptr<DtRtiMsg> msg(conn->netRead(&status));
  if (!msg) return status == DtRtiConnection::NoData ? RTI::RTI_FALSE : RTI::RTI_TRUE;
  // Callbacks may tick again: a nested read of this connection first moves
  // this message out of the socket's memory.
  const DtRtiConnection::KeepInPlace keep(*conn, msg.get());
  msg->setTransportType(transport);
  if (transport == DtReliable && DtRtiMsgKinds::followsDatagrams(msg->msgKind())) readDatagramsInHand();
  deliver(*msg);
  return RTI::RTI_TRUE;
}

void DtConnectionMgr::readDatagramsInHand() {
  DtRtiConnection* udp = connections_->udp.get();
  if (!udp) return;
  // Bounded, so that a flood of datagrams cannot hold the bound forever.
  for (int read = 0; read < theDatagramsReadBeforeABound && processConnection(udp, DtBestEffort); ++read) {
  }
}

void DtConnectionMgr::deliver(const DtRtiMsg& msg) {
  momProcessMsg(msg);
  if (saveInProgress_ && !msg.isAllowedDuringSave()) {
    addPendingMsg(msg.cloneWithTransport(1));
  } else if (!(msgQueue_ && msgQueue_->takeMsg(msg))) {
    processMsg(msg);
  }
}

DtRtiMsg* DtConnectionMgr::getMessage() {
  int status = 0;
  std::unique_ptr<DtRtiMsg> msg;
  DtTransportType transport = DtReliable;
  if (DtRtiConnection* reliable = connections_->reliable.load()) msg.reset(reliable->netRead(&status));
  if (!msg && connections_->udp) {
    transport = DtBestEffort;
    msg.reset(connections_->udp->netRead(&status));
  }
  if (!msg) return nullptr;
  msg->setTransportType(transport);
  return msg->cloneWithTransport(1);
}

// Pending messages.

void DtConnectionMgr::addPendingMsg(DtRtiMsg* msg) {
  if (msg) pendingMsgs_.append(msg);
}

DtRtiMsg* DtConnectionMgr::nextPendingMsg() { return static_cast<DtRtiMsg*>(pendingMsgs_.remove(pendingMsgs_.head())); }

char DtConnectionMgr::processPendingMsg() {
  if (saveInProgress_) return 0;
  const std::unique_ptr<DtRtiMsg> msg(nextPendingMsg());
  if (!msg) return 0;
  if (!(msgQueue_ && msgQueue_->takeMsg(*msg))) processMsg(*msg);
  return 1;
}

void DtConnectionMgr::emptyPendingMsgList() {
  while (DtRtiMsg* msg = nextPendingMsg()) delete msg;
}

int DtConnectionMgr::pendingMsgCount() const { return static_cast<int>(pendingMsgs_.count()); }

// Dispatch.

bool DtConnectionMgr::traced(const DtRtiMsg& msg) const {
  return DtGetNotifyLevel() >= 3 && (msg.federateHandle() == 0 || msg.federateHandle() != fedHandle_);
}

int DtConnectionMgr::processMsg(const DtRtiMsg& msg) {
  if (callbacks_.numCallbacks(msg.msgKind()) == 0) return 0;
  const bool trace = traced(msg);
  if (trace) {
    ++receivedCount_;
    inProgress_.insertAfter(asData(receivedCount_), nullptr);
    DtNotifyVerbose("[=================================================\n");
    DtNotifyVerbose("Received message %lu of size %d\n", static_cast<unsigned long>(receivedCount_), msg.size());
    msg.print();
    DtNotifyVerbose("------------------------------\n");
  }
  callbacks_.processMsg(msg);
  if (trace) {
    // The stack may have been emptied by a disconnection inside a callback.
    const std::uint32_t number = inProgress_.head() ? valueOf(inProgress_.head()) : 0;
    if (inProgress_.head()) inProgress_.remove(inProgress_.head());
    DtNotifyVerbose("------------------------------\n");
    DtNotifyVerbose("Completed processing %lu\n", static_cast<unsigned long>(number));
    DtNotifyVerbose("=================================================]\n");
  }
  return 0;
}

int DtConnectionMgr::momProcessMsg(const DtRtiMsg& msg) {
  if (momCallbacks_.numCallbacks(msg.msgKind()) != 0) momCallbacks_.processMsg(msg);
  return 0;
}

// Waiting.

int DtConnectionMgr::readFileDescriptor(unsigned long transport) {
  DtRtiConnection* conn = transport == DtBestEffort ? connections_->udp.get() : connections_->reliable.load();
  return conn ? conn->socket()->readDescriptor() : -1;
}

int DtConnectionMgr::readFileEvent(unsigned long transport) { return readFileDescriptor(transport); }

void DtConnectionMgr::setupSelectParams(DtSelectParam* params) {
  for (DtRtiConnection* conn : {connections_->udp.get(), connections_->reliable.load()}) {
    if (!conn) continue;
    const int fd = conn->socket()->readDescriptor();
    if (fd < 0 || (!params->readSet.contains(fd) && !params->readSet.add(fd))) continue;
    if (fd > params->highest) params->highest = fd;
  }
}

char DtConnectionMgr::wait(double seconds) {
  DtSelectParam params;
  setupSelectParams(&params);
  return DtPollSets(&params.readSet, nullptr, nullptr, seconds) > 0 ? 1 : 0;
}

void DtConnectionMgr::yield() {}

// Callbacks, factory, groups.

void DtConnectionMgr::addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom) {
  registry(mom).addMsgCallback(kind, fn, data);
}

void DtConnectionMgr::removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom) {
  registry(mom).removeMsgCallback(kind, fn, data);
}

void DtConnectionMgr::addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) {
  registry(mom).addMsgCallback(kind, new DtRtiMsgCallbackInfo(record));
}

void DtConnectionMgr::removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) {
  registry(mom).removeMsgCallback(kind, record);
}

DtRtiMsg* DtConnectionMgr::create(DtRtiMsgKind kind) {
  return msgFactory_ ? msgFactory_->create(kind, nullptr) : nullptr;
}

void DtConnectionMgr::setMsgFactory(DtRtiMsgFactory* factory) {
  msgFactory_ = factory;
  if (connections_->udp) connections_->udp->setMsgFactory(factory);
  if (connections_->tcp) connections_->tcp->setMsgFactory(factory);
}

bool DtConnectionMgr::listenToMulticastGroup(unsigned long address) {
  return connections_->udp && connections_->udp->socket()->listenToMulticastGroup(static_cast<std::uint32_t>(address));
}

bool DtConnectionMgr::dropMulticastGroup(unsigned long address) {
  return connections_->udp && connections_->udp->socket()->dropMulticastGroup(static_cast<std::uint32_t>(address));
}

DtRtiConnection* DtConnectionMgr::internalConn() const { return connections_->internal.load(); }
DtRtiConnection* DtConnectionMgr::reliableConn() const { return connections_->reliable.load(); }
DtRtiConnection* DtConnectionMgr::udpConn() const { return connections_->udp.get(); }
DtTransportType DtConnectionMgr::internalTransportType() const { return connections_->internalTransport.load(); }

char DtConnectionMgr::hasTransport(DtTransportType transport) const {
  if (transport == DtBestEffort) return connections_->udp ? 1 : 0;
  if (transport == DtReliable) return connections_->reliable.load() ? 1 : 0;
  return 0;
}

bool DtConnectionMgr::rtiexecLost() const {
  return connections_->reliableBroken.load() || connections_->reliableLost.load();
}

void DtConnectionMgr::dropReliableConn() {
  connections_->reliableBroken.store(true);
  connections_->reliable.store(nullptr);
  connections_->internal.store(connections_->udp.get());
}

// The federation.

void DtConnectionMgr::connectFederation(RTI::FederateAmbassador* fedAmb, const DtString& execName,
                                        unsigned long fedHandle, int fedExHandle) {
  discardEarlierTraffic();
  wrapperChain_->init(fedAmb);
  fedExName_ = execName;
  fedHandle_ = static_cast<std::uint32_t>(fedHandle);
  fedExHandle_ = fedExHandle;
  for (DtRtiConnection* conn : {connections_->udp.get(), connections_->reliable.load()}) {
    if (!conn) continue;
    conn->setFedExName(fedExName_);
    conn->setFedExHandle(fedExHandle_);
    conn->setFederateHandle(fedHandle_);
  }
  ignoreOwnTraffic(true);
}

void DtConnectionMgr::discardEarlierTraffic() {
  // The socket has been open since the ambassador was made: what waits on it
  // was sent before this federate joined (by an earlier execution of the
  // same name, too) and is not for it. The reliable connection is left
  // alone: it carries the rtiexec's answers to the join itself.
  DtRtiConnection* udp = connections_->udp.get();
  if (!udp) return;
  constexpr int mostDiscarded = 1 << 20;  // a peer that never stops sending cannot hold the join up
  const int discarded = udp->discardWaiting(mostDiscarded);
  if (discarded > 0) DtNotifyVerbose("RTI: %d datagrams sent before the join were discarded\n", discarded);
}

void DtConnectionMgr::ignoreOwnTraffic(bool on) {
  // A federate's managers drop the updates and interactions that come back
  // to it from the group; the system drops them before it queues them, so
  // that a busy sender does not read its own traffic. A handle of more than
  // 16 bits is not on the wire as such: nothing is filtered then.
  static const std::vector<std::uint8_t> traffic = {
      DtInteractionRoMsgKind,  DtUpdateRoMsgKind,  DtDdmInteractionRoMsgKind,  DtDdmUpdateRoMsgKind,
      DtInteractionTsoMsgKind, DtUpdateTsoMsgKind, DtDdmInteractionTsoMsgKind, DtDdmUpdateTsoMsgKind};
  static const std::vector<std::uint8_t> updates = {DtUpdateRoMsgKind, DtDdmUpdateRoMsgKind, DtUpdateTsoMsgKind,
                                                    DtDdmUpdateTsoMsgKind};
  DtRtiConnection* udp = connections_->udp.get();
  DtSocket* socket = udp ? udp->socket() : nullptr;
  if (!socket) return;
  const bool filtering = on && fedHandle_ != 0 && fedHandle_ <= 0xFFFF;
  const std::vector<std::uint8_t>& dropped = ownInteractionsKept_ ? updates : traffic;
  socket->dropDatagramsFrom(static_cast<std::uint16_t>(fedHandle_), filtering ? dropped : std::vector<std::uint8_t>{});
}

void DtConnectionMgr::setOwnInteractionsKept(bool kept) {
  if (ownInteractionsKept_ == kept) return;
  ownInteractionsKept_ = kept;
  if (fedHandle_ != 0) ignoreOwnTraffic(true);
}

void DtConnectionMgr::disconnectFederation() {
  wrapperChain_->reset();
  emptyPendingMsgList();
  inProgress_.clear();
  fedExName_ = "";
  fedExHandle_ = 0;
  fedHandle_ = 0;
  for (DtRtiConnection* conn : {connections_->udp.get(), connections_->reliable.load()}) {
    if (!conn) continue;
    conn->setFedExName(fedExName_);
    conn->setFedExHandle(0);
    conn->setFederateHandle(0);
  }
  ownInteractionsKept_ = false;
  ignoreOwnTraffic(false);
  receivedCount_ = 0;
  saveInProgress_ = 0;
  msgQueue_ = nullptr;
  retractList_ = nullptr;
}

RTI::FederateAmbassador* DtConnectionMgr::fedAmb() const { return wrapperChain_->first(); }

std::unique_ptr<DtFedAmbWrapper> DtConnectionMgr::addFedAmbWrapper(const DtString& name,
                                                                   std::unique_ptr<DtFedAmbWrapper> wrapper) {
  return wrapperChain_->addWrapper(name, std::move(wrapper));
}

std::unique_ptr<DtFedAmbWrapper> DtConnectionMgr::removeFedAmbWrapper(const DtString& name) {
  return wrapperChain_->removeWrapper(name);
}

unsigned long DtConnectionMgr::fedHandle() const { return fedHandle_; }
int DtConnectionMgr::fedExHandle() const { return fedExHandle_; }
DtString DtConnectionMgr::fedExName() const { return fedExName_; }

void DtConnectionMgr::setFederateHandle(unsigned long handle) {
  fedHandle_ = static_cast<std::uint32_t>(handle);
  if (connections_->udp) connections_->udp->setFederateHandle(handle);
  if (DtRtiConnection* reliable = connections_->reliable.load()) reliable->setFederateHandle(handle);
}

DtRtiMsgQueue* DtConnectionMgr::msgQueue() const { return msgQueue_; }
void DtConnectionMgr::setMsgQueue(DtRtiMsgQueue* queue) { msgQueue_ = queue; }
DtRetractInfoList* DtConnectionMgr::retractList() const { return retractList_; }
void DtConnectionMgr::setRetractList(DtRetractInfoList* list) { retractList_ = list; }
char DtConnectionMgr::saveInProgress() const { return saveInProgress_; }
void DtConnectionMgr::setSaveInProgress(char inProgress) { saveInProgress_ = inProgress; }
