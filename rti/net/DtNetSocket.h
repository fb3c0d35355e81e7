#pragma once
// DtNetSocket: the UDP socket of the RTI. One datagram socket that reads on
// a port (bound to all interfaces, or to its destination address), sends to
// a default destination (unicast, broadcast or multicast) or to an address
// given per packet, joins and leaves multicast groups, and hands received
// datagrams up through the packet filters of DtSocket. Every datagram is
// read once, into the socket's receive buffer (which holds the largest UDP
// datagram), and handed up from there. The datagrams the system drops for
// want of room in the socket's buffer are counted, and reported at level 1
// at most once a second. (The system counts the datagrams its filter takes
// out with them: the socket's own ones that come back to it, which it
// counts as it sends them and leaves out.)
//
// It can split a datagram that carries several units back to back
// ("unbundling": each unit starts like a DIS header, byte 0 protocol, byte
// 1 exercise and a big-endian 16-bit unit length at bytes 8-9); a
// connection turns this off, as RTI messages travel one per datagram.
//
// A socket whose requested modes cannot all be opened (a port that cannot
// be bound, ...) throws DtSocketError from its constructor. Used by one
// thread at a time.

#include <atomic>
#include <cstdint>
#include <vector>

#include "net/DtSocket.h"
#include "port/DtPortSocket.h"
#include "util/DtNoticeLimiter.h"

class DtNetSocket : public DtSocket {
public:
  // Modes, combined.
  enum Mode : unsigned char {
    Read = 0x01,
    Write = 0x02,
    ReadWrite = Read | Write,
    BindToDest = 0x08,  // bind to the destination address instead of all interfaces
    Quiet = 0x10,       // no "ok" line
  };

  // Without destination: a writing socket sends to this host's directed
  // broadcast address. An interface address of 0 stands for this host's
  // address. Port 0 binds a port of the system's choice, which then is the
  // socket's port.
  DtNetSocket(int port, unsigned modes, std::uint32_t interfaceAddr);
  DtNetSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr);
  // Sends what waits in the bundle, then closes.
  ~DtNetSocket() override;

  int sendTo(const char* data, int length, std::uint32_t address) override;
  int recvCopy(char* buffer, int capacity) override;
  // A later unit of a split datagram is copied to the start of the return
  // buffer; the first (or only) one is handed up where it was read.
  int DtRecv(char** dataOut, int* statusOut) override;
  void setUnbundling(bool on) override;
  std::uint32_t senderAddr() const override;
  void setNonBlocking() override;
  bool listenToMulticastGroup(std::uint32_t group) override;
  bool dropMulticastGroup(std::uint32_t group) override;
  bool setMulticastTtl(int ttl) override;
  void setInterfaceAddr(std::uint32_t address) override;
  int readDescriptor() const override;
  int writeDescriptor() const override;
  bool isOk() const override;
  std::uint32_t droppedDatagrams() const override { return kernelDrops_.load(); }

  virtual bool unbundling() const;
  // The rest of a bundle read before.
  bool packetWaiting() const override { return bundleCursor_ != nullptr; }
  // Datagrams from this host's interface address with this source port are
  // dropped on receipt (-1: none).
  virtual void setIgnoredSenderPort(int port);
  // The port sendTo sends to instead of the socket's own (-1: its own).
  virtual void setDestPort(int port);
  virtual bool hasPendingUnits() const;
  // One unit (or datagram) through the filters; status as DtRecv.
  virtual int readPacket(char** dataOut, int* statusOut);
  // One datagram into the receive buffer; 0 and no data when none was read
  // or it was dropped (from the ignored sender port, longer than the
  // buffer, empty).
  virtual int recvFrom(char** dataOut);
  virtual int readUnit(char** dataOut);
  virtual bool addMembership(std::uint32_t group, bool afterBind);

  int port() const { return port_; }
  std::uint32_t destAddr() const { return destAddr_; }
  std::uint32_t interfaceAddr() const { return interfaceAddr_; }
  unsigned modes() const { return modes_; }

protected:
  virtual bool nextDatagram();
  virtual int bundleUnitLength();
  char* receiveBuffer() { return receiveBuffer_.data(); }
  // Marks the datagram just read as dropped, for the status of readPacket.
  void markDropped() { lastReadDropped_ = true; }
  // The sender of the datagram just read, kept for senderAddr().
  void setSender(const DtSockAddr& sender) { senderSockAddr_ = sender; }
  bool isIgnoredSender(const DtSockAddr& sender) const;
  // Takes the system's count of dropped datagrams that a read gave, and
  // reports the new ones (at most once a second). Any thread.
  void noteKernelDrops(std::uint32_t total);
  // A datagram just sent: one that comes back to this socket and that the
  // system's filter takes out is counted (the system counts it as dropped).
  void noteSent(const char* data, int length, const DtSockAddr& to);

private:
  void init(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr);
  void openModes(std::uint32_t destArgument);
  void reportOk(std::uint32_t destArgument) const;
  void endDatagram();

  int port_ = 0;
  int ignoredSenderPort_ = -1;
  int destPort_ = -1;
  std::vector<char> receiveBuffer_;
  std::vector<char> returnBuffer_;
  char* bundleCursor_ = nullptr;
  std::uint32_t destAddr_ = 0;
  std::uint32_t interfaceAddr_ = 0;
  bool unbundling_ = true;
  int bundleRemaining_ = 0;
  bool boundToAddr_ = false;
  bool firstInBundle_ = true;
  int expectedExercise_ = 0;
  int expectedProtocol_ = 0;
  bool ok_ = false;
  DtSockAddr destSockAddr_;
  DtSockAddr senderSockAddr_;
  unsigned modes_ = 0;
  bool lastReadDropped_ = false;
  std::vector<std::uint32_t> groups_;          // the multicast groups joined
  std::atomic<std::uint32_t> ownFiltered_{0};  // own datagrams the filter took out
  std::atomic<std::uint32_t> kernelDrops_{0};
  std::atomic<std::uint32_t> reportedDrops_{0};
  DtNoticeLimiter dropNotices_{1.0};
};
