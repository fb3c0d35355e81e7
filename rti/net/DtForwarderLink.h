#pragma once
// DtForwarderLink: one TCP connection that the forwarder accepted. It reads
// what has arrived in large pieces and cuts it into frames by the size field
// at the start of each (a big-endian 16-bit total length, as every RTI
// message header begins), and it collects what is to be sent to its peer in
// one output buffer that goes out with as few writes as the network takes.
//
// A frame is malformed when its size is smaller than a message header or
// its kind byte names no message kind; the link then fails, as it does
// when the peer closes, the connection breaks, or more output waits than
// the cap allows (a peer that stopped reading). A failed link reads and
// sends nothing more; the forwarder closes it.
//
// A link holds no buffer until its peer sends or it is sent something, so
// that thousands of idle connections cost little. A link to a peer in the
// forwarder's own process (the rtiexec that drives it) has no descriptor:
// what is queued for it goes to its sink at once. Used by one thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DtForwarderLink {
public:
  // The most bytes that may wait for a peer before its link fails, unless
  // set otherwise.
  static constexpr std::size_t defaultQueueCap = 32u << 20;
  // What checkFrameHead finds at the start of a frame.
  enum class Head { Incomplete, Whole, Malformed };

  // Whole packets for a peer in this process, valid during the call, and
  // the number of the connection they came from (0: the forwarder's own).
  using Sink = std::function<void(const char* data, std::size_t length, std::uint32_t origin)>;

  // Takes the connected, non-blocking descriptor, which it closes.
  DtForwarderLink(int fd, std::uint32_t id, std::uint32_t peerAddr, int peerPort);
  // A link to a peer in this process: no descriptor, nothing to read.
  DtForwarderLink(std::uint32_t id, Sink sink);
  ~DtForwarderLink();
  DtForwarderLink(const DtForwarderLink&) = delete;
  DtForwarderLink& operator=(const DtForwarderLink&) = delete;

  int fd() const { return fd_; }
  std::uint32_t id() const { return id_; }
  std::uint32_t peerAddr() const { return peerAddr_; }
  int peerPort() const { return peerPort_; }

  // The first frame of `length` bytes: Whole with its size in `frameSize`,
  // Incomplete when more bytes are needed, Malformed when it cannot be a
  // message.
  static Head checkFrameHead(const char* data, std::size_t length, std::size_t* frameSize);

  // Reads what has arrived, at most about `budget` bytes, and hands the
  // whole frames to onFrames as contiguous runs (data, length, frame count);
  // the bytes are valid during the call only. False when the link failed.
  template <class OnFrames>
  bool readFrames(std::size_t budget, OnFrames&& onFrames);
  // The same, once the link failed on its way out (a peer that closed while
  // traffic still came to it): what the peer sent before the loss is
  // handed up before the link closes. Nothing once its input ended.
  template <class OnFrames>
  void readLeftovers(std::size_t budget, OnFrames&& onFrames);

  // Appends bytes to the output; false (and the link fails) past the cap.
  // A link to a peer in this process hands them to its sink (none: they
  // are dropped).
  bool queue(const char* data, std::size_t length, std::uint32_t origin = 0);
  bool inProcess() const { return fd_ < 0; }
  // The last words to the peer: what waits for it is cut after the frame
  // that is going out (the peer gets no half frame), these bytes follow,
  // and the link closes once they are sent. False when they cannot go out
  // at once (a peer that stopped reading): the caller then closes it hard.
  bool sayFarewell(const char* data, std::size_t length);
  bool farewellSent() const { return farewell_ && !hasOutput(); }
  // The descriptor closes with a reset (see DtPortResetSocket).
  void closeWithReset() { reset_ = true; }
  bool sayingFarewell() const { return farewell_; }
  // Whether the peer holds a frame unfinished (part of it has come).
  bool holdsPartFrame() const { return inEnd_ > inStart_; }
  // Gives back the input buffer while nothing waits in it.
  void releaseInput();
  void setSink(Sink sink) { sink_ = std::move(sink); }
  void setQueueCap(std::size_t bytes) { queueCap_ = bytes; }
  // Writes what waits; false when the link failed.
  bool flush();
  bool hasOutput() const { return outStart_ < out_.size(); }
  std::size_t queuedBytes() const { return out_.size() - outStart_; }

  bool failed() const { return !failure_.empty(); }
  // Why it failed: "closed by the peer", the system's error text, ...
  const std::string& failure() const { return failure_; }
  void fail(const std::string& reason);
  // Frames handed up since the link was made.
  std::uint64_t framesRead() const { return framesRead_; }

private:
  // Reads and hands up whole frames until the socket is empty, the budget
  // is spent or the input ends (or, unless afterFailure, the link fails).
  template <class OnFrames>
  void readInput(std::size_t budget, OnFrames& onFrames, bool afterFailure);
  // One read into the input buffer: the bytes read, 0 when none waited,
  // -1 when the input ended (the link then failed).
  long readSome();
  // The whole frames at the start of the unread input: their bytes and
  // count; Malformed fails the link.
  std::size_t wholeFrames(std::size_t* count);
  // The start of the frame of out_ that holds byte `at` (or ends just
  // before it).
  std::size_t frameStartAtOrBefore(std::size_t at);

  int fd_;
  std::uint32_t id_;
  std::uint32_t peerAddr_;
  int peerPort_;
  std::vector<char> in_;
  std::size_t inStart_ = 0;  // first byte not handed up
  std::size_t inEnd_ = 0;    // end of the bytes read
  bool filledLast_ = false;  // the last read filled the buffer: the peer is busy
  bool inputEnded_ = false;  // the peer closed, the read failed, or a frame was malformed
  std::vector<char> out_;
  std::size_t outStart_ = 0;  // first byte not sent
  std::size_t outFrame_ = 0;  // a frame starts here in out_ (at or before outStart_)
  bool farewell_ = false;
  bool reset_ = false;
  std::size_t queueCap_ = defaultQueueCap;
  std::string failure_;
  std::uint64_t framesRead_ = 0;
  Sink sink_;
};

template <class OnFrames>
bool DtForwarderLink::readFrames(std::size_t budget, OnFrames&& onFrames) {
  readInput(budget, onFrames, false);
  return !failed();
}

template <class OnFrames>
void DtForwarderLink::readLeftovers(std::size_t budget, OnFrames&& onFrames) {
  if (!inProcess()) readInput(budget, onFrames, true);
}

template <class OnFrames>
void DtForwarderLink::readInput(std::size_t budget, OnFrames& onFrames, bool afterFailure) {
  std::size_t taken = 0;
  while (!inputEnded_ && (afterFailure || !failed()) && taken < budget) {
    const long got = readSome();
    if (got <= 0) break;
    taken += static_cast<std::size_t>(got);
    std::size_t count = 0;
    const std::size_t bytes = wholeFrames(&count);
    if (bytes > 0) {
      onFrames(in_.data() + inStart_, bytes, count);
      inStart_ += bytes;
      framesRead_ += count;
    }
    // A read that did not fill the buffer found the socket empty.
    if (!filledLast_) break;
  }
}
