#include "net/DtForwarderLink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgKind.h"
#include "port/DtPortSocket.h"
#include "port/DtSockError.h"
#include "util/DtBigEndian.h"

namespace {

// The input buffer starts at this size, and grows while reads fill it.
constexpr std::size_t firstInput = 16u << 10;
constexpr std::size_t largestInput = 256u << 10;

struct KnownKinds {
  bool known[256] = {};
  constexpr KnownKinds() {
    for (const DtRtiMsgKinds::Entry& entry : DtRtiMsgKinds::table) {
      if (entry.number >= 0 && entry.number < 256) known[entry.number] = true;
    }
  }
};
constexpr KnownKinds knownKinds;

}  // namespace

DtForwarderLink::DtForwarderLink(int fd, std::uint32_t id, std::uint32_t peerAddr, int peerPort)
    : fd_(fd), id_(id), peerAddr_(peerAddr), peerPort_(peerPort) {}

DtForwarderLink::DtForwarderLink(std::uint32_t id, Sink sink)
    : fd_(-1), id_(id), peerAddr_(0), peerPort_(0), sink_(std::move(sink)) {}

DtForwarderLink::~DtForwarderLink() {
  if (fd_ >= 0) DtPortCloseSocket(fd_);
}

void DtForwarderLink::fail(const std::string& reason) {
  if (failure_.empty()) failure_ = reason.empty() ? "failed" : reason;
  out_.clear();
  outStart_ = 0;
}

DtForwarderLink::Head DtForwarderLink::checkFrameHead(const char* data, std::size_t length, std::size_t* frameSize) {
  if (length < 2) return Head::Incomplete;
  const std::size_t size = DtGetBigEndian<std::uint16_t>(data);
  if (size < static_cast<std::size_t>(DtNetMsgHeader::theSize)) return Head::Malformed;
  if (length > static_cast<std::size_t>(DtNetMsgHeader::kindOffset) &&
      !knownKinds.known[static_cast<unsigned char>(data[DtNetMsgHeader::kindOffset])]) {
    return Head::Malformed;
  }
  if (length < size) return Head::Incomplete;
  *frameSize = size;
  return Head::Whole;
}

std::size_t DtForwarderLink::wholeFrames(std::size_t* count) {
  std::size_t at = inStart_;
  *count = 0;
  for (;;) {
    std::size_t size = 0;
    const Head head = checkFrameHead(in_.data() + at, inEnd_ - at, &size);
    if (head == Head::Incomplete) break;
    if (head == Head::Malformed) {
      const char* bytes = in_.data() + at;
      const std::size_t left = inEnd_ - at;
      fail("a malformed packet (size " + std::to_string(DtGetBigEndian<std::uint16_t>(bytes)) +
           (left > 4 ? ", kind " + std::to_string(static_cast<unsigned char>(bytes[4])) : std::string()) + ")");
      break;
    }
    at += size;
    ++*count;
  }
  return at - inStart_;
}

long DtForwarderLink::readSome() {
  // The unread rest of a frame moves to the front; the buffer grows to hold
  // the whole frame, and beyond while the peer keeps it full.
  if (inStart_ > 0) {
    std::memmove(in_.data(), in_.data() + inStart_, inEnd_ - inStart_);
    inEnd_ -= inStart_;
    inStart_ = 0;
  }
  std::size_t wanted = std::max(in_.size(), firstInput);
  if (filledLast_) wanted = std::min(wanted * 2, largestInput);
  if (inEnd_ >= 2) wanted = std::max(wanted, static_cast<std::size_t>(DtGetBigEndian<std::uint16_t>(in_.data())));
  if (in_.size() < wanted) in_.resize(wanted);
  const std::size_t space = in_.size() - inEnd_;
  const long got = DtPortReceive(fd_, in_.data() + inEnd_, space);
  filledLast_ = got > 0 && static_cast<std::size_t>(got) == space;
  if (got > 0) {
    inEnd_ += static_cast<std::size_t>(got);
    return got;
  }
  if (got == 0) {
    fail("closed by the peer");
    return -1;
  }
  if (DtPortWouldBlock(errno)) return 0;
  fail(DtSockErrorStringFor(errno));
  return -1;
}

bool DtForwarderLink::queue(const char* data, std::size_t length) {
  if (failed()) return false;
  if (inProcess()) {
    if (sink_) sink_(data, length);
    return true;
  }
  if (queuedBytes() + length > queueCap_) {
    fail("more than " + std::to_string(queueCap_) + " bytes wait to be sent: the peer stopped reading");
    return false;
  }
  if (outStart_ > 0 && outStart_ >= out_.size() / 2) {
    // What went out already makes room, rather than the buffer growing.
    out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(outStart_));
    outStart_ = 0;
  }
  out_.insert(out_.end(), data, data + length);
  return true;
}

bool DtForwarderLink::flush() {
  while (!failed() && hasOutput() && !inProcess()) {
    const long sent = DtPortSend(fd_, out_.data() + outStart_, queuedBytes());
    if (sent > 0) {
      outStart_ += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && DtPortWouldBlock(errno)) break;
    fail(sent == 0 ? std::string("closed") : DtSockErrorStringFor(errno));
  }
  if (!failed() && !hasOutput()) {
    out_.clear();
    outStart_ = 0;
    // A burst's large buffer is not kept for an idle peer.
    if (out_.capacity() > largestInput) out_.shrink_to_fit();
  }
  return !failed();
}
