#include "port/DtPortSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

sockaddr_in toSockaddr(const DtSockAddr& address) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(static_cast<std::uint16_t>(address.port));
  result.sin_addr.s_addr = htonl(address.address);
  return result;
}

DtSockAddr fromSockaddr(const sockaddr_in& address) {
  return {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

struct OptionPlace {
  int level;
  int name;
};

OptionPlace placeOf(DtSockOption option) {
  switch (option) {
    case DtSockOption::ReuseAddress: return {SOL_SOCKET, SO_REUSEADDR};
    case DtSockOption::Broadcast: return {SOL_SOCKET, SO_BROADCAST};
    case DtSockOption::ReceiveBuffer: return {SOL_SOCKET, SO_RCVBUF};
    case DtSockOption::SendBuffer: return {SOL_SOCKET, SO_SNDBUF};
    case DtSockOption::NoDelay: return {IPPROTO_TCP, TCP_NODELAY};
    case DtSockOption::MulticastTtl: return {IPPROTO_IP, IP_MULTICAST_TTL};
    case DtSockOption::MulticastLoop: return {IPPROTO_IP, IP_MULTICAST_LOOP};
    case DtSockOption::MulticastAll: return {IPPROTO_IP, IP_MULTICAST_ALL};
    case DtSockOption::DropCounter: return {SOL_SOCKET, SO_RXQ_OVFL};
  }
  return {SOL_SOCKET, -1};
}

// Runs a system call again while a signal interrupts it.
template <class Call>
auto retried(Call call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

int membership(int fd, int option, std::uint32_t group, std::uint32_t interfaceAddress) {
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(interfaceAddress);
  return setsockopt(fd, IPPROTO_IP, option, &request, sizeof request);
}

}  // namespace

int DtPortUdpSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0); }
int DtPortTcpSocket() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }
int DtPortCloseSocket(int fd) { return close(fd); }
int DtPortShutdown(int fd) { return shutdown(fd, SHUT_RDWR); }

int DtPortSetOption(int fd, DtSockOption option, int value) {
  const OptionPlace place = placeOf(option);
  return setsockopt(fd, place.level, place.name, &value, sizeof value);
}

int DtPortGetOption(int fd, DtSockOption option, int* value) {
  const OptionPlace place = placeOf(option);
  socklen_t length = sizeof *value;
  return getsockopt(fd, place.level, place.name, value, &length);
}

int DtPortSetNonBlocking(int fd, bool on) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return -1;
  return fcntl(fd, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK);
}

int DtPortSetMulticastInterface(int fd, std::uint32_t interfaceAddress) {
  in_addr address{htonl(interfaceAddress)};
  return setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &address, sizeof address);
}

int DtPortJoinGroup(int fd, std::uint32_t group, std::uint32_t interfaceAddress) {
  return membership(fd, IP_ADD_MEMBERSHIP, group, interfaceAddress);
}

int DtPortLeaveGroup(int fd, std::uint32_t group, std::uint32_t interfaceAddress) {
  return membership(fd, IP_DROP_MEMBERSHIP, group, interfaceAddress);
}

int DtPortBind(int fd, const DtSockAddr& local) {
  const sockaddr_in address = toSockaddr(local);
  return bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int DtPortLocalAddress(int fd, DtSockAddr* local) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  *local = fromSockaddr(address);
  return 0;
}

int DtPortConnect(int fd, const DtSockAddr& peer) {
  const sockaddr_in address = toSockaddr(peer);
  // An interrupted connect goes on in the background; it is not restarted.
  return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int DtPortListen(int fd, int backlog) { return listen(fd, backlog); }

int DtPortAccept(int fd, DtSockAddr* peer) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  const int accepted = retried(
      [&] { return accept4(fd, reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC); });
  if (accepted >= 0 && peer) *peer = fromSockaddr(address);
  return accepted;
}

long DtPortSendTo(int fd, const void* data, std::size_t length, const DtSockAddr& to) {
  const sockaddr_in address = toSockaddr(to);
  return retried([&] {
    return sendto(fd, data, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  });
}

long DtPortReceiveFrom(int fd, void* buffer, std::size_t capacity, DtSockAddr* from, bool* truncated) {
  return DtPortReceiveFrom(fd, buffer, capacity, from, truncated, nullptr);
}

long DtPortReceiveFrom(int fd, void* buffer, std::size_t capacity, DtSockAddr* from, bool* truncated,
                       std::uint32_t* dropped) {
  sockaddr_in address{};
  iovec vector{buffer, capacity};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(std::uint32_t))];
  msghdr message{};
  message.msg_name = &address;
  message.msg_namelen = sizeof address;
  message.msg_iov = &vector;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  // MSG_TRUNC: the result is the datagram's real length, so that one longer
  // than the buffer is recognised.
  const long result = retried([&] { return recvmsg(fd, &message, MSG_TRUNC); });
  if (result >= 0 && from) *from = fromSockaddr(address);
  if (truncated) *truncated = result > static_cast<long>(capacity);
  if (result >= 0 && dropped) {
    for (cmsghdr* item = CMSG_FIRSTHDR(&message); item; item = CMSG_NXTHDR(&message, item)) {
      if (item->cmsg_level == SOL_SOCKET && item->cmsg_type == SO_RXQ_OVFL) {
        std::memcpy(dropped, CMSG_DATA(item), sizeof *dropped);
      }
    }
  }
  return result;
}

long DtPortSend(int fd, const void* data, std::size_t length) {
  return retried([&] { return send(fd, data, length, MSG_NOSIGNAL); });
}

long DtPortReceive(int fd, void* buffer, std::size_t capacity) {
  return retried([&] { return recv(fd, buffer, capacity, 0); });
}

long DtPortReceiveBufferLimit() {
  std::FILE* file = std::fopen("/proc/sys/net/core/rmem_max", "r");
  if (!file) return -1;
  long limit = -1;
  if (std::fscanf(file, "%ld", &limit) != 1) limit = -1;
  std::fclose(file);
  return limit;
}

bool DtPortWouldBlock(int errnoValue) { return errnoValue == EAGAIN || errnoValue == EWOULDBLOCK; }

bool DtPortTransientSendError(int errnoValue) {
  return DtPortWouldBlock(errnoValue) || errnoValue == ENOBUFS || errnoValue == ENOMEM || errnoValue == EINTR;
}

namespace {

// The first IPv4 interface entry that is up and passes `wanted`, else null.
template <class Wanted>
const ifaddrs* firstIpv4Interface(const ifaddrs* list, Wanted wanted) {
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP)) continue;
    if (wanted(*entry)) return entry;
  }
  return nullptr;
}

std::uint32_t addressIn(const sockaddr* address) {
  sockaddr_in ipv4{};
  std::copy_n(reinterpret_cast<const char*>(address), sizeof ipv4, reinterpret_cast<char*>(&ipv4));
  return ntohl(ipv4.sin_addr.s_addr);
}

}  // namespace

std::uint32_t DtPortHostAddress() {
  ifaddrs* list = nullptr;
  std::uint32_t result = INADDR_LOOPBACK;
  if (getifaddrs(&list) == 0) {
    if (const ifaddrs* entry = firstIpv4Interface(list, [](const ifaddrs& e) { return !(e.ifa_flags & IFF_LOOPBACK); }))
      result = addressIn(entry->ifa_addr);
    freeifaddrs(list);
  }
  return result;
}

std::uint32_t DtPortBroadcastInterfaceNetmask() {
  ifaddrs* list = nullptr;
  std::uint32_t result = 0;
  if (getifaddrs(&list) == 0) {
    if (const ifaddrs* entry =
            firstIpv4Interface(list, [](const ifaddrs& e) { return (e.ifa_flags & IFF_BROADCAST) && e.ifa_netmask; }))
      result = addressIn(entry->ifa_netmask);
    freeifaddrs(list);
  }
  return result;
}
