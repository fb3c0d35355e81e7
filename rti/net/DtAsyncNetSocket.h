#pragma once
// DtAsyncNetSocket: a DtNetSocket that moves the network work onto two
// threads of its own. The send thread drains a queue of outgoing datagrams;
// the receive thread reads every waiting datagram into a queue as soon as
// the socket has data. The owner's sendTo and recvFrom only touch the
// queues (each under its own lock, never both, never across a network
// call); unbundling and the packet filters apply to what recvFrom hands up.
//
// The socket is non-blocking. The destructor stops both threads and joins them; the send thread first
// sends everything still queued. The library's own connections do not use
// this class (DtCreateUdpSocket makes one only when asked).
//
// sendTo, recvFrom and the flag setters are for the owning thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "net/DtNetSocket.h"
#include "port/DtWakeup.h"

// One datagram of either queue: its bytes and, for an outgoing one, its
// destination (0: the default); for a received one, its sender.
struct DtQueuedPacket {
  std::vector<char> data;
  DtSockAddr address;
};

class DtAsyncNetSocket : public DtNetSocket {
public:
  DtAsyncNetSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr);
  ~DtAsyncNetSocket() override;

  // Queues a copy and returns the length at once (unless asyncSend is off:
  // then the plain send).
  int sendTo(const char* data, int length, std::uint32_t address) override;
  // The oldest received datagram (unless asyncReceive is off and nothing is
  // queued: then the plain read). The bytes stay valid until the next read.
  int recvFrom(char** dataOut) override;

  virtual bool asyncSend() const;
  virtual void setAsyncSend(bool on);
  virtual bool asyncReceive() const;
  virtual void setAsyncReceive(bool on);

  // How long each thread waits for its wake-up at most, in seconds.
  static constexpr double threadPeriod = 0.01;

protected:
  virtual void sendThreadLoop();
  virtual void receiveThreadLoop();
  virtual void sendQueued();
  virtual void readAll();

private:
  std::atomic<bool> asyncSend_{true};
  std::atomic<bool> asyncReceive_{true};
  std::deque<DtQueuedPacket> sendQueue_;
  std::mutex sendLock_;
  std::deque<DtQueuedPacket> receiveQueue_;
  std::mutex receiveLock_;
  std::atomic<bool> stopping_{false};
  std::vector<char> readBuffer_;
  DtQueuedPacket current_;  // the packet recvFrom handed up last
  DtWakeup sendEvent_{"Send Packet Waiting"};
  DtWakeup receiveEvent_{"Receive Packet Waiting"};
  std::thread sendThread_;
  std::thread receiveThread_;
};
