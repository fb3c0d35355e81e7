#pragma once
// DtInProcessSocket: the reliable socket of an rtiexec that drives its TCP
// forwarder in its own process. It has no descriptor: what it sends goes to
// a function (the forwarder, which relays it to the federates), and the
// forwarder hands it the packets for the rtiexec (deliver), which it keeps
// in order until they are read, one at a time. The address of a send names
// one of the forwarder's connections (0: every one that listens). Used by
// one thread.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "net/DtSocket.h"

class DtInProcessSocket : public DtSocket {
public:
  // The packet, for the connection numbered `connection` alone (0: for
  // every one).
  using Send = std::function<void(const char* data, std::size_t length, std::uint32_t connection)>;

  explicit DtInProcessSocket(Send send);

  // Hands the packet to the send function, the address as its connection.
  int sendTo(const char* data, int length, std::uint32_t address) override;
  int recvCopy(char* buffer, int capacity) override;
  // The packet stays where it is until the next read; a zero follows it.
  int DtRecv(char** dataOut, int* statusOut) override;
  bool packetWaiting() const override;
  // Nothing waits outside the packets it holds.
  bool emptiedByLastRead() const override { return true; }
  int setReceiveBufferSize(int bytes) override;
  bool isOk() const override { return true; }

  // Whole packets for the rtiexec, one after the other, each beginning with
  // its 16-bit size, from the forwarder's connection numbered `origin`; a
  // run that ends inside a packet loses that packet.
  void deliver(const char* data, std::size_t length, std::uint32_t origin = 0);
  // The number of the connection the packet last read came from (0: the
  // forwarder's own).
  std::uint32_t senderAddr() const override;
  std::size_t packetsWaiting() const { return packets_.size() - (frontRead_ ? 1 : 0); }

private:
  // The packet handed up by the last read goes.
  void dropRead();

  Send send_;
  struct Packet {
    std::vector<char> bytes;
    std::uint32_t origin;
  };
  std::deque<Packet> packets_;
  bool frontRead_ = false;  // the first packet was handed up
};
