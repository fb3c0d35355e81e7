#include "net/DtAsyncConnectionMgr.h"

#include <algorithm>
#include <system_error>

#include "config/DtRIDParameters.h"
#include "msg/DtRtiMsg.h"
#include "net/DtNetAddress.h"
#include "net/DtRtiConnection.h"
#include "net/DtSocket.h"
#include "port/DtFdSet.h"
#include "port/DtPoll.h"
#include "port/DtPortSocket.h"
#include "port/DtProcess.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"
#include "util/DtSelect.h"

namespace {

// Passes a packet is retried while its send fails with an error that may
// pass (no buffer space, ...) before it is dropped.
constexpr int maxSendRetries = 100;
// How long the worker may go on sending after a disconnection asked it to
// stop; what is still queued then is dropped with a message.
constexpr double stopDrainSeconds = 5.0;

}  // namespace

std::unique_ptr<DtConnectionMgr> DtAsyncConnectionMgr::create(DtRIDParameters* rid) {
  const Creator creator = creatorFunction();
  std::unique_ptr<DtConnectionMgr> mgr(creator ? creator(rid) : new DtAsyncConnectionMgr(rid));
  if (mgr) mgr->init(rid);
  return mgr;
}

DtAsyncConnectionMgr::DtAsyncConnectionMgr(DtRIDParameters* rid) : DtConnectionMgr(rid) {}

DtAsyncConnectionMgr::~DtAsyncConnectionMgr() { stopWorker(); }

void DtAsyncConnectionMgr::init(DtRIDParameters* rid) {
  DtConnectionMgr::init(rid);
  if (rid->asynchronousIO() != 1) return;
  ioPeriod_ = rid->IOPeriod();
  maxIOQueue_ = rid->maxIOQueue();
  maxIOCount_ = rid->maxIOCount();
  ioLockQueue_ = rid->IOLockQueue();
  if (ioLockQueue_ < 1) {
    DtNotifyError("LockQueue value should be greater than 0\n");
    ioLockQueue_ = 1;
  }
  try {
    packetWaiting_ = std::make_unique<DtWakeup>("Packet Waiting");
    sendEvent_ = std::make_unique<DtWakeup>("Send Event");
  } catch (const std::system_error& error) {
    DtNotifyError("problem creating event\n");
    throw RTI::RTIinternalError(error.what());
  }
  asynchronous_ = 1;
}

char DtAsyncConnectionMgr::isAsynchronous() const { return asynchronous_; }

// Sending: any thread.

int DtAsyncConnectionMgr::send(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) {
  if (!asynchronous_ || !connected_) return DtConnectionMgr::send(msg, transport, address);
  requireSendable(msg, transport);
  queueMsg(msg.clone(1), transport, address);
  return 0;
}

int DtAsyncConnectionMgr::sendAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) {
  if (!asynchronous_ || !connected_) return DtConnectionMgr::sendAndDelete(msg, transport, address);
  if (msg) {
    std::unique_ptr<DtRtiMsg> owned(msg);
    requireSendable(*msg, transport);
    static_cast<void>(owned.release());
  }
  queueMsg(msg, transport, address);
  return 0;
}

void DtAsyncConnectionMgr::queueMsg(DtRtiMsg* msg, DtTransportType transport, unsigned long address) {
  auto packet = std::make_unique<DtQueuePacket>(msg, transport, address);
  int before;
  {
    const std::lock_guard<std::mutex> lock(sendLock_);
    sendList_.push_back(std::move(packet));
    before = sendCount_++;
  }
  // A worker that sees packets left after its batch goes on by itself; it
  // needs waking only when the list was empty.
  if (before == 0) signalSendEvent();
  if (sendCount_ <= maxIOQueue_) return;
  DtNotifyError("Send Queue reaching maximum\n");
  for (int waits = 0; sendCount_ > maxIOQueue_ && waits <= 200; ++waits) DtSleep(ioPeriod_);
}

// Receiving: the ticking thread.

void DtAsyncConnectionMgr::refillBatch() {
  if (!batch_.empty()) return;
  // Cleared first: a packet the worker adds from now on signals again.
  clearReceiveEvent();
  {
    const std::lock_guard<std::mutex> lock(receiveLock_);
    const std::size_t moved = std::min(receiveList_.size(), static_cast<std::size_t>(ioLockQueue_));
    std::move(receiveList_.begin(), receiveList_.begin() + static_cast<long>(moved), std::back_inserter(batch_));
    receiveList_.erase(receiveList_.begin(), receiveList_.begin() + static_cast<long>(moved));
    receiveCount_ -= static_cast<int>(moved);
  }
  // Readable while anything waits, so that a federate polling it ticks again.
  if (!batch_.empty() || receiveCount_ > 0) signalReceiveEvent();
}

char DtAsyncConnectionMgr::processConnections() {
  if (!asynchronous_ || !connected_) return DtConnectionMgr::processConnections();
  refillBatch();
  if (batch_.empty()) return 0;
  const std::unique_ptr<DtQueuePacket> packet = std::move(batch_.front());
  batch_.pop_front();
  if (packet->msg()) deliver(*packet->msg());
  return 1;
}

DtRtiMsg* DtAsyncConnectionMgr::getMessage() {
  if (!asynchronous_ || !connected_) return DtConnectionMgr::getMessage();
  refillBatch();
  if (batch_.empty()) return nullptr;
  const std::unique_ptr<DtQueuePacket> packet = std::move(batch_.front());
  batch_.pop_front();
  return packet->releaseMsg();
}

char DtAsyncConnectionMgr::wait(double seconds) {
  if (!asynchronous_) return DtConnectionMgr::wait(seconds);
  if (!batch_.empty() || receiveCount_ > 0) return 1;
  return packetWaiting_->wait(std::min(seconds, static_cast<double>(ioPeriod_))) ? 1 : 0;
}

void DtAsyncConnectionMgr::yield() {
  if (asynchronous_) signalSendEvent();
  std::this_thread::yield();
}

int DtAsyncConnectionMgr::readFileDescriptor(unsigned long transport) {
  return asynchronous_ ? -1 : DtConnectionMgr::readFileDescriptor(transport);
}

int DtAsyncConnectionMgr::readFileEvent(unsigned long transport) {
  return asynchronous_ ? waitEvent() : DtConnectionMgr::readFileEvent(transport);
}

int DtAsyncConnectionMgr::waitEvent() const { return packetWaiting_ ? packetWaiting_->fd() : -1; }

void DtAsyncConnectionMgr::signalReceiveEvent() {
  if (packetWaiting_) packetWaiting_->signal();
}
void DtAsyncConnectionMgr::clearReceiveEvent() {
  if (packetWaiting_) packetWaiting_->clear();
}
void DtAsyncConnectionMgr::signalSendEvent() {
  if (sendEvent_) sendEvent_->signal();
}
void DtAsyncConnectionMgr::clearSendEvent() {
  if (sendEvent_) sendEvent_->clear();
}

// Joining and leaving.

void DtAsyncConnectionMgr::connectFederation(RTI::FederateAmbassador* fedAmb, const DtString& execName,
                                             unsigned long fedHandle, int fedExHandle) {
  DtConnectionMgr::connectFederation(fedAmb, execName, fedHandle, fedExHandle);
  if (asynchronous_ && !thread_.joinable()) {
    stopRequested_ = false;
    thread_ = std::thread([this] { workerThread(); });
  }
  connected_ = 1;
}

void DtAsyncConnectionMgr::stopWorker() {
  if (!thread_.joinable()) return;
  stopRequested_ = true;
  signalSendEvent();
  thread_.join();
}

void DtAsyncConnectionMgr::disconnectFederation() {
  if (asynchronous_) {
    stopWorker();
    asynchronous_ = 0;
    // What was received for the execution just left is not delivered.
    batch_.clear();
    receiveList_.clear();
    receiveCount_ = 0;
  }
  connected_ = 0;
  DtConnectionMgr::disconnectFederation();
}

// The worker.

void DtAsyncConnectionMgr::workerThread() {
  DtNameThisThread("rti-io");
  Batch sending, received;
  DtRtiConnection* udp = udpConn();
  DtRtiConnection* tcp = reliableConn();
  int busyPasses = 0;
  double stopDeadline = 0;
  for (;;) {
    bool idle = true;
    bool tcpBusy = false;
    if (sending.empty()) {
      const std::lock_guard<std::mutex> lock(sendLock_);
      const std::size_t moved = std::min(sendList_.size(), static_cast<std::size_t>(ioLockQueue_));
      std::move(sendList_.begin(), sendList_.begin() + static_cast<long>(moved), std::back_inserter(sending));
      sendList_.erase(sendList_.begin(), sendList_.begin() + static_cast<long>(moved));
      sendCount_ -= static_cast<int>(moved);
    }
    sendBatch(sending, udp, tcp, tcpBusy);
    if (sending.empty() && sendCount_ > 0) idle = false;

    if (!readInto(received, udp, DtBestEffort)) idle = false;
    if (tcp) {
      if (!readInto(received, tcp, DtReliable)) idle = false;
      tcpBusy = tcp->socket()->DtFlush() == 0;
      checkTcp(tcp, tcpBusy);
    }
    if (!received.empty()) {
      {
        const std::lock_guard<std::mutex> lock(receiveLock_);
        receiveCount_ += static_cast<int>(received.size());
        std::move(received.begin(), received.end(), std::back_inserter(receiveList_));
      }
      received.clear();
      signalReceiveEvent();
    }

    if (stopRequested_) {
      if (sending.empty() && sendCount_ == 0) break;
      if (stopDeadline == 0) stopDeadline = DtRealTime() + stopDrainSeconds;
      if (DtRealTime() > stopDeadline) {
        dropUnsent(sending);
        break;
      }
    }
    if (idle) {
      busyPasses = 0;
      waitForWork(udp, tcp, tcpBusy);
    }
    clearSendEvent();
    if (++busyPasses > maxIOCount_) {
      std::this_thread::yield();
      busyPasses = 0;
    }
  }
}

bool DtAsyncConnectionMgr::sendBatch(Batch& batch, DtRtiConnection* udp, DtRtiConnection*& tcp, bool& tcpBusy) {
  while (!batch.empty()) {
    DtQueuePacket& packet = *batch.front();
    bool giveUp = false;
    if (!packet.msg()) {
      DtNotifyError("WorkerThread: This should not happen\n");
    } else if (packet.transport() == DtReliable && tcp) {
      if (tcp->socket()->DtFlush() == 0) {
        tcpBusy = true;  // earlier data still waits: this packet stays first
        return false;
      }
      tcp->send(*packet.msg(), packet.address());
    } else if (packet.transport() == DtBestEffort || packet.transport() == DtReliable) {
      if (!sendOne(packet, udp, giveUp) && !giveUp) return false;  // tried again next pass
    }
    // Sent, dropped, or of a transport that does not exist: done with it.
    batch.pop_front();
    checkTcp(tcp, tcpBusy);
  }
  return true;
}

bool DtAsyncConnectionMgr::sendOne(DtQueuePacket& packet, DtRtiConnection* conn, bool& giveUp) {
  if (conn->send(*packet.msg(), packet.address()) >= 0) return true;
  const int error = conn->socket()->lastSendError();
  if (DtPortTransientSendError(error) && ++packet.retries <= maxSendRetries) return false;
  giveUp = true;
  ++droppedSends_;
  DtNotifyError("RTI: a %s message to %s could not be sent (%s): dropped\n",
                DtRtiMsg::kindToString(packet.msg()->msgKind()),
                packet.address() ? DtAddrToString(packet.address()) : "the federation", DtSockErrorStringFor(error));
  return false;
}

bool DtAsyncConnectionMgr::readInto(Batch& received, DtRtiConnection* conn, DtTransportType transport) {
  // Bad packets count too, so that a stream of them cannot keep the worker
  // in one pass.
  for (int reads = 0; reads <= 2 * ioLockQueue_; ++reads) {
    if (static_cast<int>(received.size()) > ioLockQueue_) return false;
    int status = 0;
    const std::unique_ptr<DtRtiMsg> msg(conn->netRead(&status));
    if (msg) {
      // The datagrams already here go up before a bound of the rtiexec.
      if (transport == DtReliable && DtRtiMsgKinds::followsDatagrams(msg->msgKind()) && udpConn()) {
        readInto(received, udpConn(), DtBestEffort);
      }
      received.push_back(std::make_unique<DtQueuePacket>(msg->clone(1), transport, 0));
    } else if (status == DtRtiConnection::NoData) {
      return true;
    } else if (status == DtRtiConnection::SocketError) {
      return false;
    }
  }
  return false;
}

void DtAsyncConnectionMgr::checkTcp(DtRtiConnection*& tcp, bool& tcpBusy) {
  if (!tcp || tcp->socket()->isOk()) return;
  DtNotifyError(
      "RTI: TCP connection has been broken.\nPerhaps rtiexec is no longer running.\n"
      "Falling back to UDP transport.\n");
  dropReliableConn();
  tcp = nullptr;
  tcpBusy = false;
}

void DtAsyncConnectionMgr::waitForWork(DtRtiConnection* udp, DtRtiConnection* tcp, bool tcpBusy) {
  DtFdSet readable, writable;
  readable.add(udp->socket()->readDescriptor());
  if (tcp) readable.add(tcp->socket()->readDescriptor());
  if (tcp && tcpBusy) writable.add(tcp->socket()->writeDescriptor());
  // While TCP output waits, a new send cannot go out before it anyway.
  DtPollSets(&readable, tcpBusy ? &writable : nullptr, nullptr, ioPeriod_, tcpBusy ? -1 : sendEvent_->fd());
}

void DtAsyncConnectionMgr::dropUnsent(Batch& batch) {
  std::size_t dropped = batch.size();
  batch.clear();
  {
    const std::lock_guard<std::mutex> lock(sendLock_);
    dropped += sendList_.size();
    sendList_.clear();
    sendCount_ = 0;
  }
  droppedSends_ += dropped;
  DtNotifyError("RTI: %zu queued messages could not be sent before disconnecting: dropped\n", dropped);
}
