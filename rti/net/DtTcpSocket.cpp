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
  DtNotifyInfo("Using TcpSocket with %i byte buffer (Server)\n", bufferSize());
}

DtTcpSocket::~DtTcpSocket() = default;

void DtTcpSocket::setSizeWidth(int width) {
  if (width != 1 && width != 2 && width != 4) {
    DtNotifyError("Invalid value for size, using default value\n");
    width = 2;
  }
  sizeWidth_ = width;
}

void DtTcpSocket::setSizeOffset(int offset) { sizeOffset_ = offset < 0 ? 0 : offset; }

int DtTcpSocket::largestPacket() const {
  const std::uint32_t largest = maxPacketSize();
  return largest > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(largest);
}

std::uint32_t DtTcpSocket::maxPacketSizeFor(int width) {
  switch (width) {
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
  if (DtPortSetOption(descriptor(), DtSockOption::NoDelay, on ? 1 : 0) != 0)
    DtNotifyPerror("DtTcpSocket::setNoDelay\n");
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
      if (packet.bytes.size() != static_cast<std::size_t>(sizeOffset_) + static_cast<std::size_t>(sizeWidth_)) {
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

long DtTcpSocket::readMore(std::size_t wanted) {
  // What is left moves to the front; the buffer holds the packet being read
  // whole, and one more byte for the zero stored after it.
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() < wanted + 1) buffer_.resize(wanted + 1);
  const std::size_t room = buffer_.size() - 1 - end_;
  const long received = DtPortReceive(descriptor(), buffer_.data() + end_, room);
  emptied_ = received >= 0 ? static_cast<std::size_t>(received) < room : DtPortWouldBlock(errno);
  if (received > 0) {
    end_ += static_cast<std::size_t>(received);
    return received;
  }
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

long DtTcpSocket::packetSize() {
  const std::size_t buffered = end_ - begin_;
  if (buffered == 0) return 0;
  if (!framingFixed_) {
    framingFixed_ = true;
    packetOffset_ = sizeOffset_;
    packetWidth_ = sizeWidth_;
  }
  const std::size_t head = static_cast<std::size_t>(packetOffset_) + static_cast<std::size_t>(packetWidth_);
  if (buffered < head) return 0;
  const char* field = buffer_.data() + begin_ + packetOffset_;
  std::uint32_t size;
  switch (packetWidth_) {
    case 1: size = static_cast<unsigned char>(*field); break;
    case 2: size = DtGetBigEndian<std::uint16_t>(field); break;
    default: size = DtGetBigEndian<std::uint32_t>(field); break;
  }
  if (size < head || size > maxPacketSizeFor(packetWidth_)) {
    DtNotifyError("TcpSocket: a packet size of %u bytes from %s cannot be right: closing the connection\n", size,
                  peerText());
    shutdown();
    return -1;
  }
  return static_cast<long>(size);
}

bool DtTcpSocket::packetWaiting() const {
  const std::size_t buffered = end_ - begin_;
  const int offset = framingFixed_ ? packetOffset_ : sizeOffset_;
  const int width = framingFixed_ ? packetWidth_ : sizeWidth_;
  if (!ok_ || buffered < static_cast<std::size_t>(offset) + static_cast<std::size_t>(width)) return false;
  // The byte held for the last packet's zero may be the first of the next.
  const auto byteAt = [&](std::size_t i) { return holding_ && i == begin_ ? heldByte_ : buffer_[i]; };
  std::uint32_t size = 0;
  for (int i = 0; i < width; ++i) size = (size << 8) | static_cast<unsigned char>(byteAt(begin_ + offset + i));
  // A size that cannot be right is for the read to report.
  return buffered >= size || size < static_cast<std::uint32_t>(offset + width);
}

void DtTcpSocket::restoreHeldByte() {
  if (holding_) buffer_[begin_] = heldByte_;
  holding_ = false;
}

int DtTcpSocket::DtRecv(char** dataOut, int* statusOut) {
  *dataOut = nullptr;
  restoreHeldByte();
  int status = 0;
  int total = 0;
  long size = ok_ ? packetSize() : -1;
  if (size >= 0 && (size == 0 || end_ - begin_ < static_cast<std::size_t>(size))) {
    // One read of what has arrived, as much as there is room for.
    const std::size_t wanted = std::max<std::size_t>(size > 0 ? static_cast<std::size_t>(size) : 0, buffer_.size() - 1);
    const long received = readMore(wanted);
    if (received < 0) {
      size = -1;
    } else {
      size = packetSize();
      if (received > 0 && size == 0) DtNotifyInfo("Waiting for size.  Read in %li bytes\n", received);
    }
  }
  if (size < 0) {
    status = -1;
  } else if (size > 0 && end_ - begin_ >= static_cast<std::size_t>(size)) {
    total = static_cast<int>(size);
    DtNotifyDebug("DtRecv: Have the whole packet (%d bytes)\n", total);
    *dataOut = buffer_.data() + begin_;
    begin_ += static_cast<std::size_t>(size);
    framingFixed_ = false;
    // A zero byte after the packet, over the next one's first byte until the
    // next read.
    if (begin_ < end_) {
      heldByte_ = buffer_[begin_];
      holding_ = true;
    }
    buffer_[begin_] = 0;
    status = 1;
    ++packetsReceived_;
  } else if (size > 0) {
    DtNotifyDebug("DtRecv: Received %zu out of %ld bytes\n", end_ - begin_, size);
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
