#include "net/DtRtiExecNetThread.h"

#include <future>
#include <string>

#include "RTI.hh"
#include "msg/DtFederationMsgs.h"
#include "net/DtTcpForwarder.h"
#include "util/DtNotify.h"

DtRtiExecNetThread::DtRtiExecNetThread(int port, int noDelay, int maxConnections, Mode mode)
    : port_(port), noDelay_(noDelay), maxConnections_(maxConnections) {
  std::string reason;
  if (mode == Mode::Driven) {
    reason = openForwarder();
  } else {
    // Shared with the thread, which may still be inside set_value when the
    // constructor has its answer.
    auto started = std::make_shared<std::promise<std::string>>();
    std::future<std::string> failure = started->get_future();
    thread_ = std::thread([this, started] {
      const std::string why = openForwarder();
      started->set_value(why);
      if (why.empty()) run();
    });
    reason = failure.get();
    if (!reason.empty()) thread_.join();
  }
  if (!reason.empty()) {
    DtNotifyError("Unable to create TCP Forwarder.\n");
    throw RTI::RTIinternalError(
        ("Unable to create TCP Forwarder on port " + std::to_string(port) + ": " + reason).c_str());
  }
}

std::string DtRtiExecNetThread::openForwarder() {
  forwarder_ = std::make_unique<DtTcpForwarder>(port_, maxConnections_);
  if (!forwarder_->isOk()) {
    const bool inUse = forwarder_->addressInUse();
    forwarder_.reset();
    return inUse ? "the port is in use" : "the port cannot be listened on";
  }
  port_ = forwarder_->port();
  DtNotifyInfo("TCP forwarder created.\n");
  forwarder_->setAcceptCallback([this](DtForwarderLink& link) { addConnection(link); });
  forwarder_->setCloseCallback([this](DtForwarderLink& link) { removeConnection(link); });
  forwarder_->setNoDelay(noDelay_ != 0);
  forwarder_->watchWakeup(wakeup_.fd());
  return "";
}

DtRtiExecNetThread::~DtRtiExecNetThread() {
  stopRequested_ = true;
  wakeup_.signal();
  if (thread_.joinable()) {
    thread_.join();
  } else if (forwarder_) {
    forwarder_->setAcceptCallback(nullptr);
    forwarder_->setCloseCallback(nullptr);
    forwarder_.reset();
  }
}

int DtRtiExecNetThread::descriptor() const { return forwarder_ ? forwarder_->pollDescriptor() : -1; }

void DtRtiExecNetThread::service() {
  if (!forwarder_ || thread_.joinable()) return;
  if (forwarder_->serviceConnections(0.0)) wakeup_.clear();
  takeOwner();
}

bool DtRtiExecNetThread::watchOutside(int fd) {
  return forwarder_ && !thread_.joinable() && forwarder_->watchOutside(fd);
}

void DtRtiExecNetThread::waitForInput(double seconds) {
  if (forwarder_ && !thread_.joinable()) forwarder_->waitForInput(seconds);
}

bool DtRtiExecNetThread::outsideMayBeReady(int fd) const {
  return !forwarder_ || thread_.joinable() || forwarder_->outsideMayBeReady(fd);
}

void DtRtiExecNetThread::takeInput() {
  if (!forwarder_ || thread_.joinable()) return;
  if (forwarder_->takeInput(0.0)) wakeup_.clear();
  takeOwner();
}

bool DtRtiExecNetThread::setInProcessOwner(DtForwarderLink::Sink deliver) {
  if (!forwarder_ || thread_.joinable()) return false;
  forwarder_->setInProcessOwner(std::move(deliver));
  return true;
}

void DtRtiExecNetThread::sendFromOwner(const char* data, std::size_t length, std::uint32_t connection) {
  if (forwarder_ && !thread_.joinable()) forwarder_->relayFromOwner(data, length, connection);
}

void DtRtiExecNetThread::flush() {
  if (forwarder_ && !thread_.joinable()) forwarder_->flushQueued();
}

bool DtRtiExecNetThread::bindFederate(std::uint32_t connection, const DtLinkBinding& binding) {
  return forwarder_ && !thread_.joinable() && forwarder_->bindFederate(connection, binding);
}

void DtRtiExecNetThread::unbindFederate(std::uint32_t connection, std::uint16_t execHandle, std::uint16_t federate) {
  if (forwarder_ && !thread_.joinable()) forwarder_->unbindFederate(connection, execHandle, federate);
}

bool DtRtiExecNetThread::peerAddressOf(std::uint32_t connection, std::uint32_t* address) const {
  return forwarder_ && !thread_.joinable() && forwarder_->peerAddressOf(connection, address);
}

void DtRtiExecNetThread::closeConnection(std::uint32_t connection, const std::string& reason, double graceSeconds) {
  if (!forwarder_ || thread_.joinable()) return;
  const std::vector<char> farewell = DtDisconnectMsg::farewell(connection, reason);
  forwarder_->closeWithFarewell(connection, reason, farewell.data(), farewell.size(), graceSeconds);
}

void DtRtiExecNetThread::setJoinTimeout(double seconds) {
  if (forwarder_ && !thread_.joinable()) forwarder_->setJoinTimeout(seconds);
}

void DtRtiExecNetThread::setQueueCap(std::size_t bytes) {
  if (forwarder_ && !thread_.joinable()) forwarder_->setQueueCap(bytes);
}

void DtRtiExecNetThread::takeOwner() {
  const std::lock_guard<std::mutex> lock(ownerLock_);
  if (!ownerChanged_) return;
  forwarder_->setOwnerAddress(ownerAddress_, ownerPort_);
  ownerChanged_ = false;
}

void DtRtiExecNetThread::setOwner(std::uint32_t address, int port) {
  {
    const std::lock_guard<std::mutex> lock(ownerLock_);
    ownerAddress_ = address;
    ownerPort_ = port;
    ownerChanged_ = true;
  }
  wakeup_.signal();
}

void DtRtiExecNetThread::run() {
  while (!stopRequested_) {
    // Until something happens: nothing is done on a timer.
    if (forwarder_->serviceConnections(-1.0)) wakeup_.clear();
    takeOwner();
  }
  forwarder_->setAcceptCallback(nullptr);
  forwarder_->setCloseCallback(nullptr);
  forwarder_.reset();
}

void DtRtiExecNetThread::addConnection(DtForwarderLink& link) {
  DtConnectMsg msg;
  msg.setFederateHandle(0);
  msg.setFedEx(0);
  msg.setConnectionHandle(link.id());
  forwarder_->sendTo(link, msg.data(), msg.size());
}

void DtRtiExecNetThread::removeConnection(DtForwarderLink& link) {
  DtDisconnectMsg msg;
  msg.setFederateHandle(0);
  msg.setFedEx(0);
  msg.setConnectionHandle(link.id());
  forwarder_->tellOwner(msg.data(), msg.size());
}
