#include "net/DtNetSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "net/DtNetAddress.h"
#include "net/DtSockStartup.h"
#include "net/DtSocketError.h"
#include "util/DtBigEndian.h"
#include "util/DtNotify.h"

namespace {

// The smallest unit of a bundled datagram: a DIS-style header.
constexpr int minUnitSize = 12;

std::string failure(const std::string& what) { return what + ": " + DtSockErrorString(); }

}  // namespace

DtNetSocket::DtNetSocket(int port, unsigned modes, std::uint32_t interfaceAddr)
    : DtNetSocket(port, 0, modes, interfaceAddr) {}

DtNetSocket::DtNetSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr)
    : receiveBuffer_(static_cast<std::size_t>(theLargestDatagram)),
      returnBuffer_(static_cast<std::size_t>(theLargestDatagram)) {
  init(port, destAddr, modes, interfaceAddr);
}

DtNetSocket::~DtNetSocket() {
  if (writeDescriptor() >= 0) flushBundle();
}

void DtNetSocket::init(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr) {
  DtSockStartup();
  port_ = port;
  modes_ = modes;
  interfaceAddr_ = interfaceAddr ? interfaceAddr : DtLocalHostAddr();
  if (modes_ & (Read | Write)) openModes(destAddr);
  ok_ = true;
  if (!(modes_ & Quiet)) reportOk(destAddr);
}

// Opens every mode asked for; throws DtSocketError naming the first that
// cannot be opened (the descriptor is closed by the base).
void DtNetSocket::openModes(std::uint32_t destArgument) {
  const int fd = DtPortUdpSocket();
  if (fd < 0) {
    DtNotifySockPerror("open socket");
    throw DtSocketError(port_, failure("cannot open a UDP socket"));
  }
  adoptDescriptor(fd);
  if (DtPortSetOption(fd, DtSockOption::ReuseAddress, 1) != 0) DtNotifySockPerror("Couldn't set SO_REUSEADDR option");
  // Multicast datagrams only of the groups this socket joined, not of every
  // group that another socket of this host joined on the same port.
  DtPortSetOption(fd, DtSockOption::MulticastAll, 0);
  // Each datagram read then tells how many the system had to drop.
  DtPortSetOption(fd, DtSockOption::DropCounter, 1);

  if (modes_ & Write) {
    destAddr_ = destArgument ? destArgument : DtBroadcastAddr();
    if (destAddr_ == 0) throw DtSocketError(port_, "no destination address to send to");
    DtMakeSockAddr(&destSockAddr_, destAddr_, port_);
    if (DtPortSetOption(fd, DtSockOption::Broadcast, 1) != 0) {
      DtNotifySockPerror("Couldn't set SO_BROADCAST option");
      throw DtSocketError(port_, failure("cannot allow broadcasts"));
    }
  }
  if (modes_ & Read) {
    boundToAddr_ = destArgument && (modes_ & BindToDest);
    DtSockAddr local;
    DtMakeSockAddr(&local, boundToAddr_ ? destArgument : 0, port_);
    if (DtPortBind(fd, local) != 0) {
      const int error = errno;
      const std::string where = boundToAddr_ ? DtAddrToString(destArgument) : "INADDR_ANY";
      DtNotifySockPerror("NetSocket: bind %s %d", where.c_str(), port_);
      throw DtSocketError(
          port_, "cannot bind UDP port " + std::to_string(port_) + " on " + where + ": " + DtSockErrorStringFor(error));
    }
    if (port_ == 0 && DtPortLocalAddress(fd, &local) == 0) {
      port_ = local.port;
      destSockAddr_.port = port_;
    }
    if (DtIsMulticastAddr(destArgument)) addMembership(destArgument, true);
  }
}

void DtNetSocket::reportOk(std::uint32_t destArgument) const {
  std::string line = (modes_ & Write)
                         ? "NetSocket ok for port " + std::to_string(port_) + " to " + DtAddrToString(destAddr_)
                         : "NetSocket ok to read port " + std::to_string(port_);
  if (boundToAddr_) line += std::string(" (bound to ") + DtAddrToString(destArgument) + ")";
  DtNotifyInfo("%s\n", line.c_str());
}

int DtNetSocket::sendTo(const char* data, int length, std::uint32_t address) {
  if (!(modes_ & Write)) {
    DtNotifyError("NetSocket not initialized for sending\n");
    return -1;
  }
  if (length == 0) return 0;
  DtSockAddr to;
  DtMakeSockAddr(&to, address ? address : destAddr_, destPort_ >= 0 ? destPort_ : port_);
  const long sent = DtPortSendTo(descriptor(), data, static_cast<std::size_t>(length), to);
  if (sent < 0) {
    lastSendError_ = errno;
    DtNotifySockPerror("NetSocket::sendTo");
    return -1;
  }
  lastSendError_ = 0;
  noteSent(data, length, to);
  return static_cast<int>(sent);
}

bool DtNetSocket::isIgnoredSender(const DtSockAddr& sender) const {
  return ignoredSenderPort_ >= 0 && sender.address == interfaceAddr_ && sender.port == ignoredSenderPort_;
}

int DtNetSocket::recvFrom(char** dataOut) {
  *dataOut = nullptr;
  if (!(modes_ & Read)) {
    DtNotifyError("NetSocket not initialized for receiving\n");
    return 0;
  }
  DtSockAddr sender;
  bool truncated = false;
  std::uint32_t drops = 0;  // the system tells a count only once there is one
  const long length =
      DtPortReceiveFrom(descriptor(), receiveBuffer_.data(), receiveBuffer_.size(), &sender, &truncated, &drops);
  if (length < 0) {
    if (blocking_ || !DtPortWouldBlock(errno)) DtNotifySockPerror("Network read error");
    return 0;
  }
  noteKernelDrops(drops);
  senderSockAddr_ = sender;
  if (isIgnoredSender(sender)) {
    markDropped();
    return 0;
  }
  if (truncated) {
    DtNotifyError("NetSocket: dropped a datagram of %ld bytes from %s: larger than the %zu-byte receive buffer\n",
                  length, DtAddrToString(sender.address), receiveBuffer_.size());
    markDropped();
    return 0;
  }
  if (length == 0) {
    DtNotifyError("0 bytes read from net\n");
    markDropped();
    return 0;
  }
  ++packetsReceived_;
  *dataOut = receiveBuffer_.data();
  return static_cast<int>(length);
}

void DtNetSocket::noteSent(const char* data, int length, const DtSockAddr& to) {
  if (to.port != port_ || !filteredOnReceipt(data, length)) return;
  // Multicast comes back to the sockets of this host that joined the group,
  // a broadcast to those bound to its port.
  const bool joined = std::find(groups_.begin(), groups_.end(), to.address) != groups_.end();
  const bool broadcast = !DtIsMulticastAddr(to.address) && to.address == destAddr_ && !boundToAddr_;
  if (joined || broadcast || to.address == 0xFFFFFFFFu) ++ownFiltered_;
}

void DtNetSocket::noteKernelDrops(std::uint32_t counted) {
  // The system's count holds the own datagrams its filter took out (up to
  // when the datagram read was queued; those sent since make this a little
  // low until a later read).
  const auto dropped = static_cast<std::int64_t>(counted) - static_cast<std::int64_t>(ownFiltered_.load());
  std::uint32_t known = kernelDrops_.load();
  if (dropped <= static_cast<std::int64_t>(known)) return;
  const auto total = static_cast<std::uint32_t>(dropped);
  if (!kernelDrops_.compare_exchange_strong(known, total)) return;  // another thread took a later count
  std::uint32_t reported = reportedDrops_.load();
  if (!dropNotices_.admit("drops", nullptr)) return;
  if (!reportedDrops_.compare_exchange_strong(reported, total)) return;  // another thread told them
  DtNotifyError(
      "NetSocket: the system dropped %u datagrams on port %d for want of room in the receive buffer "
      "(%u since the socket opened)\n",
      total - reported, port_, total);
}

void DtNetSocket::endDatagram() {
  bundleCursor_ = nullptr;
  bundleRemaining_ = 0;
}

bool DtNetSocket::nextDatagram() {
  for (;;) {
    if (!bundleCursor_) {
      char* datagram = nullptr;
      const int length = recvFrom(&datagram);
      if (length <= 0) return false;
      bundleCursor_ = datagram;
      bundleRemaining_ = length;
      firstInBundle_ = true;
    } else {
      firstInBundle_ = false;
    }
    if (bundleRemaining_ >= minUnitSize) return true;
    DtNotifyError("%sproblem: packet size less than %d bytes\n", firstInBundle_ ? "" : "unbundling ", minUnitSize);
    std::fflush(stdout);
    endDatagram();
    markDropped();
  }
}

int DtNetSocket::bundleUnitLength() {
  const int protocol = static_cast<unsigned char>(bundleCursor_[0]);
  const int exercise = static_cast<unsigned char>(bundleCursor_[1]);
  const int length = DtGetBigEndian<std::uint16_t>(bundleCursor_ + 8);
  if (firstInBundle_) {
    expectedProtocol_ = protocol;
    expectedExercise_ = exercise;
    return length;
  }
  if (protocol == expectedProtocol_ && exercise == expectedExercise_) return length;
  DtNotifyError("Unbundling warning: PDU header not similar to first in bundle\n");
  DtNotifyError("    (Protocol,exercise) = (%d,%d) when expecting (%d,%d)\n", protocol, exercise, expectedProtocol_,
                expectedExercise_);
  return 0;
}

int DtNetSocket::readUnit(char** dataOut) {
  *dataOut = nullptr;
  if (!nextDatagram()) return 0;
  char* unit = bundleCursor_;
  int length = bundleUnitLength();
  if (length == 0 || length >= bundleRemaining_) {
    // The unit is the whole rest of the datagram.
    length = bundleRemaining_;
    endDatagram();
  } else {
    bundleCursor_ += length;
    bundleRemaining_ -= length;
  }
  *dataOut = unit;
  return length;
}

int DtNetSocket::readPacket(char** dataOut, int* statusOut) {
  lastReadDropped_ = false;
  char* unit = nullptr;
  const int length = unbundling_ ? readUnit(&unit) : recvFrom(&unit);
  int status = 1;
  if (!unit) {
    status = lastReadDropped_ ? -2 : 0;
  } else if (!acceptPacket(unit, length, senderAddr())) {
    status = -2;
    unit = nullptr;
  }
  if (statusOut) *statusOut = status;
  *dataOut = unit;
  return unit ? length : 0;
}

int DtNetSocket::DtRecv(char** dataOut, int* statusOut) {
  const int length = readPacket(dataOut, statusOut);
  if (*dataOut && *dataOut != receiveBuffer_.data()) {
    std::memmove(returnBuffer_.data(), *dataOut, static_cast<std::size_t>(length));
    *dataOut = returnBuffer_.data();
  }
  return length;
}

int DtNetSocket::recvCopy(char* buffer, int capacity) {
  char* data = nullptr;
  const int length = readPacket(&data, nullptr);
  if (data) std::memcpy(buffer, data, static_cast<std::size_t>(length < capacity ? length : capacity));
  return length;
}

void DtNetSocket::setUnbundling(bool on) { unbundling_ = on; }
bool DtNetSocket::unbundling() const { return unbundling_; }
std::uint32_t DtNetSocket::senderAddr() const { return senderSockAddr_.address; }

void DtNetSocket::setNonBlocking() {
  if (descriptor() >= 0 && DtPortSetNonBlocking(descriptor(), true) == 0) blocking_ = 0;
}

bool DtNetSocket::listenToMulticastGroup(std::uint32_t group) { return addMembership(group, false); }

bool DtNetSocket::addMembership(std::uint32_t group, bool afterBind) {
  if (!DtIsMulticastAddr(group)) {
    DtNotifyError("%s is not a multicast address: Can't subscribe\n", DtAddrToString(group));
    return false;
  }
  if (DtPortSetMulticastInterface(descriptor(), interfaceAddr_) != 0) {
    DtNotifySockPerror("NetSocket: setsockopt IP_MULTICAST_IF failed");
    return false;
  }
  if (interfaceAddr_ && DtPortJoinGroup(descriptor(), group, interfaceAddr_) != 0) {
    DtNotifySockPerror("NetSocket: setsockopt IP_ADD_MEMBERSHIP failed");
    return false;
  }
  if (!boundToAddr_ || afterBind) {
    if (std::find(groups_.begin(), groups_.end(), group) == groups_.end()) groups_.push_back(group);
    DtNotifyVerbose("Listening to multicast group: %s\n", DtAddrToString(group));
    return true;
  }
  DtNotifyError("listenToMulticastGroup ineffective while bound to destAddr\n");
  return false;
}

bool DtNetSocket::dropMulticastGroup(std::uint32_t group) {
  if (!DtIsMulticastAddr(group)) {
    DtNotifyError("%s is not a multicast address: Can't drop\n", DtAddrToString(group));
    return false;
  }
  if (DtPortLeaveGroup(descriptor(), group, interfaceAddr_) != 0) {
    DtNotifySockPerror("NetSocket: setsockopt IP_DROP_MEMBERSHIP failed");
    return false;
  }
  std::erase(groups_, group);
  DtNotifyVerbose("No longer listening to multicast group: %s\n", DtAddrToString(group));
  return true;
}

bool DtNetSocket::setMulticastTtl(int ttl) {
  if (DtPortSetOption(descriptor(), DtSockOption::MulticastTtl, ttl) != 0) {
    DtNotifySockPerror("NetSocket: setsockopt IP_MULTICAST_TTL failed");
    return false;
  }
  return true;
}

void DtNetSocket::setInterfaceAddr(std::uint32_t address) { interfaceAddr_ = address; }
void DtNetSocket::setIgnoredSenderPort(int port) { ignoredSenderPort_ = port; }
void DtNetSocket::setDestPort(int port) { destPort_ = port; }
bool DtNetSocket::hasPendingUnits() const { return bundleCursor_ != nullptr; }
int DtNetSocket::readDescriptor() const { return (modes_ & Read) ? descriptor() : -1; }
int DtNetSocket::writeDescriptor() const { return (modes_ & Write) ? descriptor() : -1; }
bool DtNetSocket::isOk() const { return ok_; }
