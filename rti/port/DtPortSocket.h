#pragma once
// Thin wrappers over the BSD socket calls that the network layer needs, so
// that no other folder includes the system's socket headers. Addresses are
// IPv4 addresses as 32-bit numbers in host byte order, ports host-order
// integers. Every descriptor is opened close-on-exec. A call that fails
// returns -1 and leaves the reason in errno; an interrupted call (EINTR) is
// retried. Writes on a stream never raise SIGPIPE (the broken connection
// shows as EPIPE instead).

#include <cstddef>
#include <cstdint>

// An IPv4 socket address: address and port in host order.
struct DtSockAddr {
  std::uint32_t address = 0;
  int port = 0;
};

// The integer socket options the network layer sets.
enum class DtSockOption {
  ReuseAddress,   // SO_REUSEADDR
  Broadcast,      // SO_BROADCAST
  ReceiveBuffer,  // SO_RCVBUF (the system reports twice the size it keeps)
  SendBuffer,     // SO_SNDBUF
  NoDelay,        // TCP_NODELAY
  MulticastTtl,   // IP_MULTICAST_TTL
  MulticastLoop,  // IP_MULTICAST_LOOP
  MulticastAll,   // IP_MULTICAST_ALL (0: only the groups this socket joined)
  DropCounter,    // SO_RXQ_OVFL (1: each datagram read tells the drops so far)
};

int DtPortUdpSocket();
int DtPortTcpSocket();
int DtPortCloseSocket(int fd);
// Ends both directions of a connected socket, waking a thread blocked on it.
int DtPortShutdown(int fd);

int DtPortSetOption(int fd, DtSockOption option, int value);
int DtPortGetOption(int fd, DtSockOption option, int* value);
int DtPortSetNonBlocking(int fd, bool on);

// Multicast: the interface that sends, and membership of a group on an
// interface (0: the system's choice).
int DtPortSetMulticastInterface(int fd, std::uint32_t interfaceAddress);
int DtPortJoinGroup(int fd, std::uint32_t group, std::uint32_t interfaceAddress);
int DtPortLeaveGroup(int fd, std::uint32_t group, std::uint32_t interfaceAddress);

int DtPortBind(int fd, const DtSockAddr& local);
// The address and port the socket is bound to.
int DtPortLocalAddress(int fd, DtSockAddr* local);
int DtPortConnect(int fd, const DtSockAddr& peer);
int DtPortListen(int fd, int backlog);
// A new connection, non-blocking and close-on-exec, and its peer.
int DtPortAccept(int fd, DtSockAddr* peer);

// One datagram. The receive form tells with `truncated` whether the
// datagram was longer than the buffer (its result is then the full length).
long DtPortSendTo(int fd, const void* data, std::size_t length, const DtSockAddr& to);
long DtPortReceiveFrom(int fd, void* buffer, std::size_t capacity, DtSockAddr* from, bool* truncated);
// The same; on a socket with DtSockOption::DropCounter set, `dropped` (may
// be null) gets the number of datagrams the system has dropped on it so far
// for want of room (it is left as it is when the datagram does not tell).
long DtPortReceiveFrom(int fd, void* buffer, std::size_t capacity, DtSockAddr* from, bool* truncated,
                       std::uint32_t* dropped);
// Stream transfer; 0 from the receive form means the peer closed.
long DtPortSend(int fd, const void* data, std::size_t length);
long DtPortReceive(int fd, void* buffer, std::size_t capacity);

// True for the errno values of a call that would have blocked.
bool DtPortWouldBlock(int errnoValue);
// True for the errno values of a send that may succeed when tried again
// (no buffer space, would block, interrupted).
bool DtPortTransientSendError(int errnoValue);

// net.core.rmem_max: the most SO_RCVBUF may ask for (the system keeps twice
// as much); -1 when it cannot be read.
long DtPortReceiveBufferLimit();

// This host's address: the first IPv4 address of an interface that is up
// and not the loopback, else 127.0.0.1.
std::uint32_t DtPortHostAddress();
// The netmask of the first IPv4 interface that can broadcast; 0 when none
// can (or the interfaces cannot be listed).
std::uint32_t DtPortBroadcastInterfaceNetmask();
