#include "net/DtRtiExecNetThread.h"

#include <future>
#include <string>

#include "RTI.hh"
#include "net/DtFederationMsgs.h"
#include "net/DtTcpForwarder.h"
#include "net/DtTcpSocket.h"
#include "port/DtPoll.h"
#include "util/DtNotify.h"

namespace {

// The longest the thread waits for traffic in one pass, and how long one
// pass reads and forwards (in slices per connection).
constexpr double selectSeconds = 1.0;
constexpr double serviceSeconds = 0.2;
constexpr double sliceSeconds = 0.05;

}  // namespace

DtRtiExecNetThread::DtRtiExecNetThread(int port, int noDelay) : port_(port), noDelay_(noDelay) {
  // Shared with the thread, which may still be inside set_value when the
  // constructor has its answer.
  auto started = std::make_shared<std::promise<std::string>>();
  std::future<std::string> failure = started->get_future();
  thread_ = std::thread([this, started] {
    forwarder_ = std::make_unique<DtTcpForwarder>(port_);
    DtSocketMgr* manager = forwarder_->socketMgr();
    if (!manager->isOk()) {
      const bool inUse = manager->addressInUse();
      forwarder_.reset();
      started->set_value(inUse ? "the port is in use" : "the port cannot be listened on");
      return;
    }
    port_ = manager->port();
    DtNotifyInfo("TCP forwarder created.\n");
    manager->addAcceptCallback(&DtRtiExecNetThread::accepted, this);
    manager->addCloseCallback(&DtRtiExecNetThread::closed, this);
    manager->setNoDelay(noDelay_ != 0);
    started->set_value("");
    run();
  });
  const std::string reason = failure.get();
  if (!reason.empty()) {
    thread_.join();
    DtNotifyError("Unable to create TCP Forwarder.\n");
    throw RTI::RTIinternalError(("Unable to create TCP Forwarder on port " + std::to_string(port) + ": " + reason).c_str());
  }
}

DtRtiExecNetThread::~DtRtiExecNetThread() {
  stopRequested_ = true;
  wakeup_.signal();
  if (thread_.joinable()) thread_.join();
}

void DtRtiExecNetThread::run() {
  DtSocketMgr* manager = forwarder_->socketMgr();
  while (!stopRequested_) {
    // Wait until a connection can be read or written (output still
    // waiting), a new one knocks, or the destructor wakes the thread.
    DtFdSet readable = readSet_, writable;
    readable.add(manager->listenDescriptor());
    for (DtListItem* item = manager->connections().head(); item; item = item->next()) {
      auto* connection = static_cast<DtTcpSocket*>(item->data());
      if (connection->DtFlush() == 0) writable.add(connection->writeDescriptor());
    }
    bool woken = false;
    DtPollSets(&readable, &writable, nullptr, selectSeconds, wakeup_.fd(), &woken);
    if (woken) wakeup_.clear();
    if (stopRequested_) break;
    manager->acceptConnections();
    forwarder_->serviceConnections(serviceSeconds, sliceSeconds);
  }
  manager->removeAcceptCallback(&DtRtiExecNetThread::accepted, this);
  manager->removeCloseCallback(&DtRtiExecNetThread::closed, this);
  forwarder_.reset();
}

void DtRtiExecNetThread::accepted(DtTcpSocket* socket, void* self) {
  static_cast<DtRtiExecNetThread*>(self)->addConnection(socket);
}

void DtRtiExecNetThread::closed(DtTcpSocket* socket, void* self) {
  static_cast<DtRtiExecNetThread*>(self)->removeConnection(socket);
}

void DtRtiExecNetThread::addConnection(DtTcpSocket* socket) {
  const std::uint32_t id = nextConnectionId_++;
  const int fd = socket->readDescriptor();
  if (readSet_.add(fd) && fd > highestDescriptor_) highestDescriptor_ = fd;
  socketById_[id] = socket;
  idBySocket_[socket] = id;
  DtConnectMsg msg;
  msg.setFederateHandle(0);
  msg.setFedEx(0);
  msg.setConnectionHandle(id);
  socket->sendTo(msg.data(), msg.size(), 0);
}

void DtRtiExecNetThread::removeConnection(DtTcpSocket* socket) {
  readSet_.remove(socket->readDescriptor());
  const auto found = idBySocket_.find(socket);
  if (found == idBySocket_.end()) return;
  const std::uint32_t id = found->second;
  idBySocket_.erase(found);
  socketById_.erase(id);
  DtDisconnectMsg msg;
  msg.setFederateHandle(0);
  msg.setFedEx(0);
  msg.setConnectionHandle(id);
  forwarder_->forward(msg.data(), msg.size());
}
