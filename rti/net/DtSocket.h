#pragma once
// DtSocket: the abstract socket of the network layer. Every transport that a
// connection reads and writes derives from it: the UDP socket (DtNetSocket
// and its variants), the TCP socket (DtTcpSocket) and the UDP socket with
// its own I/O threads (DtAsyncNetSocket). It fixes the interface the
// connections use, keeps four packet filters that decide which received
// datagrams are handed up, holds an optional send bundle, and owns the
// descriptor (closed by the destructor).
//
// Addresses are IPv4 addresses as 32-bit numbers in host byte order; ports
// are host-order integers. A socket is used by one thread at a time and
// takes no locks.

#include <atomic>
#include <cstdint>
#include <vector>

#include "net/DtPacketFilter.h"

class DtSocket {
public:
  DtSocket();
  DtSocket(const DtSocket&) = delete;
  DtSocket& operator=(const DtSocket&) = delete;
  virtual ~DtSocket();

  // Sends one packet, through the bundle while bundling is on. Bundles, and
  // packets sent past the bundle, go to the default destination (address
  // 0) whatever address is given. Result as sendTo.
  virtual int send(const char* data, int length, std::uint32_t address);
  // Sends one packet now (address 0: the default destination). Result: the
  // bytes sent, 0 for an empty packet (or one queued for later), negative
  // on failure.
  virtual int sendTo(const char* data, int length, std::uint32_t address) = 0;
  // Reads one packet into the caller's buffer, copying at most `capacity`
  // bytes; result: the packet's full length, 0 when nothing was read.
  virtual int recvCopy(char* buffer, int capacity) = 0;
  // Reads one packet and points dataOut at it: the bytes stay the socket's
  // and are valid (and writable in place) until the next read. Result: the
  // length, 0 when nothing was read. statusOut (may be null): 1 a packet was
  // read, 0 nothing, -1 the connection failed, -2 a datagram was read and
  // dropped (by the filters, or because it could not be right).
  virtual int DtRecv(char** dataOut, int* statusOut) = 0;
  // Sends what is queued; 1 when nothing is left waiting, else 0.
  virtual int DtFlush();
  // Whether a whole packet waits in the socket's own buffer, so that the
  // next read hands it up without asking the system.
  virtual bool packetWaiting() const { return false; }
  // Whether the last read from the system took everything that was waiting
  // there (it did not fill the room it had); false when not known.
  virtual bool emptiedByLastRead() const { return false; }
  // SO_RCVBUF on the read descriptor; 0 on success. When the system keeps
  // less than asked (Linux caps it at net.core.rmem_max), says so once per
  // process at level 1, with both figures and the cap, rather than losing
  // datagrams silently.
  virtual int setReceiveBufferSize(int bytes);
  // Datagrams the system dropped on this socket for want of room in its
  // receive buffer, as far as the reads so far tell; 0 where not counted.
  virtual std::uint32_t droppedDatagrams() const { return 0; }
  virtual void setUnbundling(bool on);
  // The sender of the last datagram read; 0 here.
  virtual std::uint32_t senderAddr() const;
  virtual int packetsReceived() const;
  virtual void setNonBlocking();
  virtual bool listenToMulticastGroup(std::uint32_t group);
  virtual bool dropMulticastGroup(std::uint32_t group);
  virtual bool setMulticastTtl(int ttl);
  virtual void setInterfaceAddr(std::uint32_t address);
  virtual DtPacketFilter& exerciseFilter();
  virtual DtPacketFilter& protocolFilter();
  virtual DtPacketFilter& kindFilter();
  virtual DtPacketFilter& senderFilter();
  // The descriptors to wait on for reading and writing (-1: none).
  virtual int readDescriptor() const;
  virtual int writeDescriptor() const;
  virtual bool isOk() const;
  // Whether the peer reset the connection (a stream socket whose peer
  // dropped it at once, with what was still on the way): it is no longer
  // ok then. False here.
  virtual bool takeReset() { return false; }
  // errno of the last send that failed (0 after one that worked).
  virtual int lastSendError() const;
  // The largest packet one send can carry: the payload of an IPv4 UDP
  // datagram here; a stream socket says what its framing can state.
  virtual int largestPacket() const { return theLargestDatagram; }
  // Has the system drop, before they are queued, the datagrams whose
  // 16-bit sender field (bytes 2 and 3) is `sender` and whose kind (byte 4)
  // is one of `kinds`; no kinds lets every datagram through again. True when
  // the system took the filter (a socket without one receives them all).
  virtual bool dropDatagramsFrom(std::uint16_t sender, const std::vector<std::uint8_t>& kinds);
  // Whether the system's filter (dropDatagramsFrom) takes this datagram out
  // when it reaches the socket.
  bool filteredOnReceipt(const char* data, int length) const;
  // The filter test: the protocol (byte 0), exercise (byte 1) and kind
  // (byte 2) filters, then the sender filter on the 32-bit sender address;
  // true when all pass. A datagram shorter than the three bytes read is
  // refused before they are read.
  virtual bool acceptPacket(const char* data, int length, std::uint32_t senderAddress) const;

  // Bundling: first sends what waits in the bundle; a non-zero size turns
  // bundling on with that bundle size (at most the bundle buffer), 0 turns
  // it off. Returns the bundle size in force (when turning off, the result
  // of the flush). Nothing in the library turns bundling on.
  int setBundling(int size);
  // Sends the bundle as one packet when a byte waits; that result, else 0.
  int flushBundle();
  int bundleSize() const { return bundleSize_; }
  int bundleUsed() const { return bundleUsed_; }

  // The payload of the largest IPv4 UDP datagram. The UDP sockets read any
  // datagram up to this size; nothing larger can be sent.
  static constexpr int theLargestDatagram = 65507;

  // The largest bundle: sizes the bundle buffer of later sockets and caps
  // the bundle size; 15000 bytes unless changed. Sockets made before a
  // change keep their buffers.
  static int maxUdpPacketSize();
  static void setMaxUdpPacketSize(int bytes);

  int descriptor() const { return descriptor_; }

  // The next receive buffer the system cuts is told of again (for tests).
  static void forgetReceiveBufferNotice();

protected:
  // Takes ownership of an open descriptor (closing one held before).
  void adoptDescriptor(int fd);
  void closeDescriptor();

  int blocking_ = 1;
  int packetsReceived_ = 0;
  int lastSendError_ = 0;

private:
  std::vector<char> bundleBuffer_;
  int bundleUsed_ = 0;
  bool bundling_ = false;
  int bundleSize_ = 0;
  int descriptor_ = -1;
  DtPacketFilter exerciseFilter_;
  DtPacketFilter protocolFilter_;
  DtPacketFilter kindFilter_;
  DtPacketFilter senderFilter_;

  // The system's filter in force: the sender and a kind map (both read
  // only by the thread that uses the socket).
  bool dropping_ = false;
  std::uint16_t droppedSender_ = 0;
  std::vector<bool> droppedKinds_;

  static std::atomic<int> maxUdpPacketSize_;
  static std::atomic<bool> receiveBufferNoticed_;
};
