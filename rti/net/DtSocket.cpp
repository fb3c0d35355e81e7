#include "net/DtSocket.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "port/DtPortDatagramFilter.h"
#include "port/DtPortSocket.h"
#include "util/DtBigEndian.h"
#include "util/DtNotify.h"

std::atomic<int> DtSocket::maxUdpPacketSize_{15000};
std::atomic<bool> DtSocket::receiveBufferNoticed_{false};

void DtSocket::forgetReceiveBufferNotice() { receiveBufferNoticed_ = false; }

DtSocket::DtSocket() : bundleBuffer_(static_cast<std::size_t>(maxUdpPacketSize())) {}

DtSocket::~DtSocket() { closeDescriptor(); }

int DtSocket::maxUdpPacketSize() { return maxUdpPacketSize_.load(std::memory_order_relaxed); }

void DtSocket::setMaxUdpPacketSize(int bytes) {
  DtNotifyError("Setting max UDP packet size to %d bytes\n", bytes);
  maxUdpPacketSize_.store(bytes, std::memory_order_relaxed);
}

void DtSocket::adoptDescriptor(int fd) {
  closeDescriptor();
  descriptor_ = fd;
}

void DtSocket::closeDescriptor() {
  if (descriptor_ >= 0) DtPortCloseSocket(descriptor_);
  descriptor_ = -1;
}

int DtSocket::send(const char* data, int length, std::uint32_t address) {
  if (!bundling_) return sendTo(data, length, address);
  if (bundleUsed_ + length > bundleSize_) flushBundle();
  if (length < bundleSize_) {
    std::memcpy(bundleBuffer_.data() + bundleUsed_, data, static_cast<std::size_t>(length));
    bundleUsed_ += length;
    return 0;
  }
  return sendTo(data, length, 0);
}

int DtSocket::flushBundle() {
  if (bundleUsed_ <= 0) return 0;
  const int result = sendTo(bundleBuffer_.data(), bundleUsed_, 0);
  bundleUsed_ = 0;
  return result;
}

int DtSocket::setBundling(int size) {
  const int flushed = flushBundle();
  if (size == 0) {
    bundling_ = false;
    bundleSize_ = 0;
    return flushed;
  }
  bundling_ = true;
  // The buffer was sized by the maximum in force when the socket was made.
  bundleSize_ = std::min({size, maxUdpPacketSize(), static_cast<int>(bundleBuffer_.size())});
  return bundleSize_;
}

int DtSocket::DtFlush() { return 1; }

int DtSocket::setReceiveBufferSize(int bytes) {
  const int fd = readDescriptor();
  const int result = DtPortSetOption(fd, DtSockOption::ReceiveBuffer, bytes);
  int granted = 0;
  if (result == 0 && DtPortGetOption(fd, DtSockOption::ReceiveBuffer, &granted) == 0 && granted / 2 < bytes) {
    // The system reports twice what it keeps for data.
    if (!receiveBufferNoticed_.exchange(true)) {
      DtNotifyError(
          "Socket receive buffer: asked for %d bytes, the system granted %d (net.core.rmem_max is %ld); "
          "bursts of traffic may be lost\n",
          bytes, granted / 2, DtPortReceiveBufferLimit());
    }
  }
  return result;
}

void DtSocket::setUnbundling(bool) {}
std::uint32_t DtSocket::senderAddr() const { return 0; }
int DtSocket::packetsReceived() const { return packetsReceived_; }
void DtSocket::setNonBlocking() {}
bool DtSocket::listenToMulticastGroup(std::uint32_t) { return false; }
bool DtSocket::dropMulticastGroup(std::uint32_t) { return false; }
bool DtSocket::setMulticastTtl(int) { return false; }
void DtSocket::setInterfaceAddr(std::uint32_t) {}
DtPacketFilter& DtSocket::exerciseFilter() { return exerciseFilter_; }
DtPacketFilter& DtSocket::protocolFilter() { return protocolFilter_; }
DtPacketFilter& DtSocket::kindFilter() { return kindFilter_; }
DtPacketFilter& DtSocket::senderFilter() { return senderFilter_; }
bool DtSocket::dropDatagramsFrom(std::uint16_t sender, const std::vector<std::uint8_t>& kinds) {
  const int fd = readDescriptor();
  if (fd < 0) return false;
  if (kinds.empty()) {
    dropping_ = false;
    return DtPortClearDatagramFilter(fd) == 0;
  }
  dropping_ = DtPortDropDatagramsFrom(fd, 2, sender, 4, kinds.data(), kinds.size()) == 0;
  droppedSender_ = sender;
  droppedKinds_.assign(256, false);
  for (const std::uint8_t kind : kinds) droppedKinds_[kind] = true;
  return dropping_;
}

bool DtSocket::filteredOnReceipt(const char* data, int length) const {
  return dropping_ && length >= 5 && DtGetBigEndian<std::uint16_t>(data + 2) == droppedSender_ &&
         droppedKinds_[static_cast<unsigned char>(data[4])];
}

int DtSocket::readDescriptor() const { return descriptor_; }
int DtSocket::writeDescriptor() const { return descriptor_; }
bool DtSocket::isOk() const { return true; }
int DtSocket::lastSendError() const { return lastSendError_; }

bool DtSocket::acceptPacket(const char* data, int length, std::uint32_t senderAddress) const {
  if (length < 3) return false;
  return protocolFilter_.match(data, 0, DtPacketFilter::Width::Byte) &&
         exerciseFilter_.match(data, 1, DtPacketFilter::Width::Byte) &&
         kindFilter_.match(data, 2, DtPacketFilter::Width::Byte) &&
         senderFilter_.match(&senderAddress, 0, DtPacketFilter::Width::Word);
}
