#include "net/DtRtiExecNetThread.h"

#include <future>
#include <string>

#include "RTI.hh"
#include "net/DtFederationMsgs.h"
#include "net/DtTcpForwarder.h"
#include "util/DtNotify.h"

DtRtiExecNetThread::DtRtiExecNetThread(int port, int noDelay, int maxConnections)
    : port_(port), noDelay_(noDelay), maxConnections_(maxConnections) {
  // Shared with the thread, which may still be inside set_value when the
  // constructor has its answer.
  auto started = std::make_shared<std::promise<std::string>>();
  std::future<std::string> failure = started->get_future();
  thread_ = std::thread([this, started] {
    forwarder_ = std::make_unique<DtTcpForwarder>(port_, maxConnections_);
    if (!forwarder_->isOk()) {
      const bool inUse = forwarder_->addressInUse();
      forwarder_.reset();
      started->set_value(inUse ? "the port is in use" : "the port cannot be listened on");
      return;
    }
    port_ = forwarder_->port();
    DtNotifyInfo("TCP forwarder created.\n");
    forwarder_->setAcceptCallback([this](DtForwarderLink& link) { addConnection(link); });
    forwarder_->setCloseCallback([this](DtForwarderLink& link) { removeConnection(link); });
    forwarder_->setNoDelay(noDelay_ != 0);
    forwarder_->watchWakeup(wakeup_.fd());
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
    const std::lock_guard<std::mutex> lock(ownerLock_);
    if (ownerChanged_) {
      forwarder_->setOwnerAddress(ownerAddress_, ownerPort_);
      ownerChanged_ = false;
    }
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
  forwarder_->forward(msg.data(), msg.size());
}
