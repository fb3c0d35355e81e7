#include "net/DtTcpSocket.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "net/DtNetAddress.h"
#include "net/DtSockStartup.h"
#include "port/DtPortSocket.h"
#include "util/DtBigEndian.h"
#include "util/DtNotify.h"

namespace {

std::atomic<int> theBufferSize{20000};
std::atomic<int> theMaxQueuedPackets{20000};

// A 4-byte size field could announce 4 GiB; no packet of this system comes
// near this.
constexpr std::uint32_t maxWidePacket = 64u << 20;

}  // namespace

void DtTcpSocket::setBufferSize(int bytes) { theBufferSize.store(bytes, std::memory_order_relaxed); }
int DtTcpSocket::bufferSize() { return theBufferSize.load(std::memory_order_relaxed); }
void DtTcpSocket::setMaxQueuedPackets(int packets) { theMaxQueuedPackets.store(packets, std::memory_order_relaxed); }
int DtTcpSocket::maxQueuedPackets() { return theMaxQueuedPackets.load(std::memory_order_relaxed); }

DtTcpSocket::DtTcpSocket(std::uint32_t address, int port, bool nonBlockingBeforeConnect)
    : buffer_(static_cast<std::size_t>(std::max(bufferSize(), 1))), peerAddr_(address) {
  DtSockStartup();
  startFraming();
  const int fd = DtPortTcpSocket();
  if (fd < 0) {
    DtNotifyPerror("Failed to open socket: ");
    return;
  }
  adoptDescriptor(fd);
  if (nonBlockingBeforeConnect) setNonBlocking();
  DtNotifyInfo("DtTcpSocket connecting to %s\n", DtAddrToString(address));
  DtSockAddr peer;
  DtMakeSockAddr(&peer, address, port);
  if (DtPortConnect(fd, peer) != 0 && errno != EINPROGRESS && errno != EINTR && !DtPortWouldBlock(errno)) {
    DtNotifyPerror("DtTcpSocket connect failed: ");
    return;
  }
  if (!nonBlockingBeforeConnect) setNonBlocking();
  setNoDelay(true);
  ok_ = true;
  DtNotifyInfo("Using TcpSocket with %i byte buffer (Client)\n", bufferSize());
}

DtTcpSocket::DtTcpSocket(int descriptor, std::uint32_t peerAddr)
    : buffer_(static_cast<std::size_t>(std::max(bufferSize(), 1))), peerAddr_(peerAddr) {
  DtSockStartup();
  adoptDescriptor(descriptor);
  setNonBlocking();
  setNoDelay(true);
  ok_ = true;
  startFraming();
  DtNotifyInfo("Using TcpSocket with %i byte buffer (Server)\n", bufferSize());
}

DtTcpSocket::~DtTcpSocket() = default;

void DtTcpSocket::startFraming() {
  waitingForSize_ = true;
  wanted_ = sizeOffset_ + sizeWidth_;
  have_ = 0;
  if (buffer_.size() <= static_cast<std::size_t>(wanted_)) buffer_.resize(static_cast<std::size_t>(wanted_) + 1);
}

void DtTcpSocket::setSizeWidth(int width) {
  if (width != 1 && width != 2 && width != 4) {
    DtNotifyError("Invalid value for size, using default value\n");
    width = 2;
  }
  sizeWidth_ = width;
  applyFramingChange();
}

void DtTcpSocket::setSizeOffset(int offset) {
  sizeOffset_ = offset < 0 ? 0 : offset;
  applyFramingChange();
}

// A packet whose first byte has not arrived yet is read the new way; one
// already begun is finished the old way.
void DtTcpSocket::applyFramingChange() {
  if (waitingForSize_ && have_ == 0) startFraming();
}

std::uint32_t DtTcpSocket::maxPacketSize() const {
  switch (sizeWidth_) {
    case 1: return 0xFFu;
    case 2: return 0xFFFFu;
    default: return maxWidePacket;
  }
}

const char* DtTcpSocket::peerText() const { return DtAddrToString(peerAddr_); }

void DtTcpSocket::fail() { ok_ = false; }

void DtTcpSocket::shutdown() {
  if (descriptor() >= 0) DtPortShutdown(descriptor());
  sendQueue_.clear();
  ok_ = false;
}

void DtTcpSocket::setNoDelay(bool on) {
  if (DtPortSetOption(descriptor(), DtSockOption::NoDelay, on ? 1 : 0) != 0) DtNotifyPerror("DtTcpSocket::setNoDelay\n");
}

void DtTcpSocket::setNonBlocking() {
  if (descriptor() >= 0 && DtPortSetNonBlocking(descriptor(), true) == 0) blocking_ = 0;
}

bool DtTcpSocket::isOk() const { return ok_; }

bool DtTcpSocket::queue(const char* data, int length, bool atHead) {
  if (static_cast<int>(sendQueue_.size()) >= maxQueuedPackets()) {
    DtNotifyError("TcpSocket: more than %d packets wait to be sent to %s: closing the connection\n", maxQueuedPackets(),
                  peerText());
    shutdown();
    return false;
  }
  if (atHead) {
    sendQueue_.emplace_front(data, length);
  } else {
    sendQueue_.emplace_back(data, length);
  }
  return true;
}

int DtTcpSocket::sendTo(const char* data, int length, std::uint32_t) {
  if (!ok_) return -1;
  if (length == 0) return 0;
  DtFlush();
  if (!sendQueue_.empty()) {
    if (!queue(data, length, false)) return -1;
    DtNotifyDebug("SendTo: storing %d bytes (whole packet): total packets in buffer = %d\n", length, queuedPackets());
    return 0;
  }
  const long sent = DtPortSend(descriptor(), data, static_cast<std::size_t>(length));
  if (sent == length) {
    DtNotifyDebug("SendTo: sent %d bytes (whole packet): total packets in buffer = %d\n", length, queuedPackets());
    return length;
  }
  if (sent >= 0) {
    if (!queue(data + sent, length - static_cast<int>(sent), true)) return -1;
    DtNotifyDebug("SendTo: sent %ld bytes (part of packet): total packets in buffer = %d\n", sent, queuedPackets());
    return static_cast<int>(sent);
  }
  if (DtPortWouldBlock(errno)) {
    lastSendError_ = 0;
    if (!queue(data, length, false)) return -1;
    DtNotifyDebug("SendTo EWOULDBLOCK: storing %d bytes (whole packet): total packets in buffer = %d\n", length,
                  queuedPackets());
    return 0;
  }
  lastSendError_ = errno;
  if (length != sizeOffset_ + sizeWidth_) {
    DtNotifyPerror("TcpSocket sendTo error: ");
    DtNotifyError("\n");
    fail();
  }
  return -1;
}

int DtTcpSocket::DtFlush() {
  if (sendQueue_.empty()) return 1;
  if (!ok_) return 0;
  DtNotifyDebug("DtFlush: packets waiting to be sent: %d\n", queuedPackets());
  int count = 0;
  while (!sendQueue_.empty()) {
    DtTcpPacket& packet = sendQueue_.front();
    const std::size_t rest = packet.bytes.size() - packet.sent;
    const long sent = DtPortSend(descriptor(), packet.bytes.data() + packet.sent, rest);
    if (sent == static_cast<long>(rest)) {
      ++count;
      DtNotifyDebug("DtFlush: sent %ld bytes (whole packet)\n", sent);
      sendQueue_.pop_front();
      continue;
    }
    if (sent >= 0) {
      packet.sent += static_cast<std::size_t>(sent);
      ++count;
      DtNotifyDebug("DtFlush: sent %ld bytes (part of a packet)\n", sent);
    } else if (!DtPortWouldBlock(errno)) {
      // A broken connection: the packets stay queued, nothing more goes out.
      if (packet.bytes.size() != static_cast<std::size_t>(sizeOffset_ + sizeWidth_)) {
        DtNotifyPerror("TcpSocket sendTo error: ");
        DtNotifyError("\n");
      }
      fail();
    }
    break;
  }
  DtNotifyDebug("DtFlush: packets sent: %d\n", count);
  return sendQueue_.empty() ? 1 : 0;
}

long DtTcpSocket::readWanted() {
  const long received = DtPortReceive(descriptor(), buffer_.data() + have_, static_cast<std::size_t>(wanted_));
  if (received > 0) return received;
  if (received == 0 || (received < 0 && errno == ECONNRESET)) {
    fail();  // the peer closed the connection (a reset is a close with data unread)
    return -1;
  }
  if (DtPortWouldBlock(errno)) return 0;
  DtNotifyPerror("Network read error: ");
  DtNotifyError("\n");
  fail();
  return -1;
}

bool DtTcpSocket::takeSize() {
  const char* field = buffer_.data() + sizeOffset_;
  std::uint32_t size;
  switch (sizeWidth_) {
    case 1: size = static_cast<unsigned char>(*field); break;
    case 2: size = DtGetBigEndian<std::uint16_t>(field); break;
    default: size = DtGetBigEndian<std::uint32_t>(field); break;
  }
  DtNotifyDebug("DtRecv: Waiting for a packet with size %u\n", size);
  const std::uint32_t head = static_cast<std::uint32_t>(sizeOffset_ + sizeWidth_);
  if (size < head || size > maxPacketSize()) {
    DtNotifyError("TcpSocket: a packet size of %u bytes from %s cannot be right: closing the connection\n", size,
                  peerText());
    shutdown();
    return false;
  }
  // Room for the packet and the zero byte stored after it.
  if (buffer_.size() <= size) buffer_.resize(static_cast<std::size_t>(size) + 1);
  wanted_ = static_cast<int>(size - head);
  waitingForSize_ = false;
  return true;
}

int DtTcpSocket::DtRecv(char** dataOut, int* statusOut) {
  *dataOut = nullptr;
  int status = 0;
  int total = 0;
  if (!ok_) {
    status = -1;
  } else if (waitingForSize_) {
    const long received = readWanted();
    if (received < 0) {
      status = -1;
    } else if (received > 0) {
      have_ += static_cast<int>(received);
      wanted_ -= static_cast<int>(received);
      if (wanted_ > 0) {
        DtNotifyInfo("Waiting for size.  Read in %li bytes\n", received);
      } else if (!takeSize()) {
        status = -1;
      }
    }
  }
  if (ok_ && status == 0 && !waitingForSize_) {
    const long received = wanted_ > 0 ? readWanted() : 0;
    if (received < 0) {
      status = -1;
    } else {
      have_ += static_cast<int>(received);
      wanted_ -= static_cast<int>(received);
      if (wanted_ > 0) {
        if (received > 0) DtNotifyDebug("DtRecv: Received %d out of %d bytes\n", have_, have_ + wanted_);
      } else {
        total = have_;
        DtNotifyDebug("DtRecv: Have the whole packet (%d bytes)\n", total);
        buffer_[static_cast<std::size_t>(total)] = 0;
        *dataOut = buffer_.data();
        status = 1;
        ++packetsReceived_;
        startFraming();
      }
    }
  }
  if (statusOut) *statusOut = status;
  return total;
}

int DtTcpSocket::recvCopy(char* buffer, int capacity) {
  char* data = nullptr;
  const int length = DtRecv(&data, nullptr);
  if (data) std::memcpy(buffer, data, static_cast<std::size_t>(std::min(length, capacity)));
  return length;
}
