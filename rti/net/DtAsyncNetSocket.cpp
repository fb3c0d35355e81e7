#include "net/DtAsyncNetSocket.h"

#include <cerrno>

#include "port/DtFdSet.h"
#include "port/DtPoll.h"
#include "util/DtNotify.h"

DtAsyncNetSocket::DtAsyncNetSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr)
    : DtNetSocket(port, destAddr, modes, interfaceAddr), readBuffer_(static_cast<std::size_t>(theLargestDatagram)) {
  // The receive thread reads until the socket has nothing more; it must
  // never block there, or it could not be stopped.
  setNonBlocking();
  sendThread_ = std::thread([this] { sendThreadLoop(); });
  receiveThread_ = std::thread([this] { receiveThreadLoop(); });
  DtNotifyInfo("Started Asynchronous IO Thread\n");
}

DtAsyncNetSocket::~DtAsyncNetSocket() {
  stopping_ = true;
  sendEvent_.signal();
  receiveEvent_.signal();
  sendThread_.join();
  receiveThread_.join();
}

int DtAsyncNetSocket::sendTo(const char* data, int length, std::uint32_t address) {
  if (!asyncSend_) return DtNetSocket::sendTo(data, length, address);
  {
    const std::lock_guard<std::mutex> lock(sendLock_);
    sendQueue_.push_back({std::vector<char>(data, data + length), {address, 0}});
  }
  sendEvent_.signal();
  return length;
}

int DtAsyncNetSocket::recvFrom(char** dataOut) {
  *dataOut = nullptr;
  bool empty;
  {
    const std::lock_guard<std::mutex> lock(receiveLock_);
    empty = receiveQueue_.empty();
    if (!empty) {
      current_ = std::move(receiveQueue_.front());
      receiveQueue_.pop_front();
    }
  }
  if (empty) return asyncReceive_ ? 0 : DtNetSocket::recvFrom(dataOut);
  if (!(modes() & Read)) {
    DtNotifyError("NetSocket not initialized for receiving\n");
    return 0;
  }
  setSender(current_.address);
  ++packetsReceived_;
  *dataOut = current_.data.data();
  return static_cast<int>(current_.data.size());
}

bool DtAsyncNetSocket::asyncSend() const { return asyncSend_; }
void DtAsyncNetSocket::setAsyncSend(bool on) { asyncSend_ = on; }
bool DtAsyncNetSocket::asyncReceive() const { return asyncReceive_; }
void DtAsyncNetSocket::setAsyncReceive(bool on) { asyncReceive_ = on; }

void DtAsyncNetSocket::sendThreadLoop() {
  for (;;) {
    sendQueued();
    if (stopping_) {
      // Packets queued before the stop are sent before the thread ends.
      const std::lock_guard<std::mutex> lock(sendLock_);
      if (sendQueue_.empty()) return;
    }
    sendEvent_.wait(threadPeriod);
  }
}

void DtAsyncNetSocket::sendQueued() {
  for (;;) {
    DtQueuedPacket packet;
    {
      const std::lock_guard<std::mutex> lock(sendLock_);
      if (sendQueue_.empty()) return;
      packet = std::move(sendQueue_.front());
      sendQueue_.pop_front();
    }
    DtNetSocket::sendTo(packet.data.data(), static_cast<int>(packet.data.size()), packet.address.address);
  }
}

void DtAsyncNetSocket::receiveThreadLoop() {
  const int fd = readDescriptor();
  while (!stopping_) {
    if (asyncReceive_ && fd >= 0) readAll();
    DtFdSet readable;
    if (fd >= 0) readable.add(fd);
    bool woken = false;
    DtPollSets(&readable, nullptr, nullptr, threadPeriod, receiveEvent_.fd(), &woken);
    if (woken) receiveEvent_.clear();
  }
}

void DtAsyncNetSocket::readAll() {
  for (;;) {
    DtSockAddr sender;
    bool truncated = false;
    std::uint32_t drops = 0;
    const long length =
        DtPortReceiveFrom(readDescriptor(), readBuffer_.data(), readBuffer_.size(), &sender, &truncated, &drops);
    if (length < 0) {
      if (!DtPortWouldBlock(errno)) DtNotifySockPerror("Network read error");
      return;
    }
    noteKernelDrops(drops);
    if (length == 0) {
      DtNotifyError("0 Bytes Read From the Network\n");
      continue;
    }
    if (isIgnoredSender(sender)) continue;
    if (truncated) {
      DtNotifyError("NetSocket: dropped a datagram of %ld bytes: larger than the %zu-byte receive buffer\n", length,
                    readBuffer_.size());
      continue;
    }
    const std::lock_guard<std::mutex> lock(receiveLock_);
    receiveQueue_.push_back({std::vector<char>(readBuffer_.data(), readBuffer_.data() + length), sender});
  }
}
