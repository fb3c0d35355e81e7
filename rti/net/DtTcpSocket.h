#pragma once
// DtTcpSocket: one TCP connection of the reliable transport: a federate's
// client connection to the rtiexec or a forwarder, or a connection the
// rtiexec side accepted (DtSocketMgr). The sender writes each packet
// unchanged; the reader cuts the byte stream into packets by the size field
// that every packet carries in its own first bytes (by default a big-endian
// 16-bit size at offset 0: the total-length field of an RTI message header).
// The size counts the whole packet, the size field included.
//
// Sends the network cannot take at once wait in a queue, in order, and go
// out on the next send or flush. The queue is capped (setMaxQueuedPackets):
// a peer that stops reading while packets pile up past the cap has its
// connection closed with a message, so that a slow peer never holds up the
// others or grows the queue without bound. A size field that cannot be
// right (smaller than the size field itself, or beyond maxPacketSize())
// closes the connection as well. A closed or broken connection answers
// isOk() false and hands up nothing.
//
// Writes never raise SIGPIPE. Used by one thread at a time.

#include <cstdint>
#include <deque>
#include <vector>

#include "net/DtSocket.h"

// One queued send: the bytes of a packet, or of its unsent rest.
struct DtTcpPacket {
  DtTcpPacket(const char* data, int length) : bytes(data, data + length) {}
  std::vector<char> bytes;
  std::size_t sent = 0;  // bytes of it that already went out
};

class DtTcpSocket : public DtSocket {
public:
  // The longest a socket closing waits for what it still has to send.
  static constexpr double theLingerSeconds = 2.0;
  // The client: connects to address:port (blocking, then non-blocking,
  // unless nonBlockingBeforeConnect). A failure leaves isOk() false.
  DtTcpSocket(std::uint32_t address, int port, bool nonBlockingBeforeConnect);
  // The server side of an accepted descriptor (which it owns from now on).
  DtTcpSocket(int descriptor, std::uint32_t peerAddr);
  ~DtTcpSocket() override;

  // The address is not used: a TCP socket has one peer. Result: the bytes
  // sent now, 0 when the packet was queued, -1 when the connection failed
  // (or is closed).
  int sendTo(const char* data, int length, std::uint32_t address) override;
  int recvCopy(char* buffer, int capacity) override;
  // One whole packet when its last bytes arrived in this call, else none
  // (status 0); status -1 when the connection failed or closed now.
  int DtRecv(char** dataOut, int* statusOut) override;
  int DtFlush() override;
  bool packetWaiting() const override;
  bool emptiedByLastRead() const override { return emptied_; }
  void setNonBlocking() override;
  bool isOk() const override;
  bool takeReset() override;
  // What a size field of the sending width can state (maxPacketSize).
  int largestPacket() const override;

  virtual void setNoDelay(bool on);

  // Where the size field lies. A change counts from the next packet (and
  // for the current one while none of its bytes has arrived): a packet
  // begun is read to its end by the framing it began with.
  void setSizeOffset(int offset);
  // 1, 2 or 4 bytes; any other width is refused with a message and 2 used.
  void setSizeWidth(int width);
  int sizeOffset() const { return sizeOffset_; }
  int sizeWidth() const { return sizeWidth_; }
  std::uint32_t peerAddr() const { return peerAddr_; }
  int queuedPackets() const { return static_cast<int>(sendQueue_.size()); }
  // Closes the connection now: the peer sees the end of the stream.
  void shutdown();

  // The receive buffer of sockets made later (grown when a packet needs
  // more); 20000 bytes unless changed (the RTI sets it from RTI_tcpBufferSize).
  static void setBufferSize(int bytes);
  static int bufferSize();
  // Packets that may wait in a socket's send queue before its connection is
  // closed; 20000 unless changed (the RTI sets it from RTI_maxIOQueue).
  static void setMaxQueuedPackets(int packets);
  static int maxQueuedPackets();
  // The largest packet the reader accepts: what a size field of the width
  // can hold, and at most 64 MiB for a 4-byte field.
  std::uint32_t maxPacketSize() const { return maxPacketSizeFor(sizeWidth_); }

private:
  static std::uint32_t maxPacketSizeFor(int width);
  // The size of the packet at the start of what is buffered: 0 while its
  // size field has not all arrived; -1 (the connection is closed) when it
  // cannot be right.
  long packetSize();
  // One read behind what is buffered; the bytes read, 0 when none were
  // there, -1 when the connection failed or closed.
  long readMore(std::size_t wanted);
  // The byte after the packet handed up last was set to 0; it is put back.
  void restoreHeldByte();
  void fail();
  // A send failed: it is no longer ok, but what has arrived can still be
  // read (the peer's last words before it closed, for one).
  void failWriting();
  bool queue(const char* data, int length, bool atHead);
  const char* peerText() const;

  std::vector<char> buffer_;  // what was read and not handed up, from begin_ to end_
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool holding_ = false;  // the byte at begin_ is held in heldByte_
  bool emptied_ = false;  // the last read did not fill the room it had
  char heldByte_ = 0;
  std::uint32_t peerAddr_ = 0;
  bool ok_ = false;
  bool readable_ = true;  // reads go on (false once reading failed or the peer closed)
  int sizeOffset_ = 0;
  int sizeWidth_ = 2;
  // The framing of the packet begun (its first byte arrived), fixed then.
  bool framingFixed_ = false;
  int packetOffset_ = 0;
  int packetWidth_ = 2;
  std::deque<DtTcpPacket> sendQueue_;
};
