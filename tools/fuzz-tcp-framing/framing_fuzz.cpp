// libFuzzer target: any bytes as a TCP byte stream, cut by both readers of
// the reliable transport: the rtiexec forwarder's (DtForwarderLink, which
// also refuses malformed frames) and the federates' (DtTcpSocket, with a
// size field of 1, 2 or 4 bytes). The stream goes through a socket pair in
// pieces whose sizes the input picks, each reader reading after every
// piece. What a reader hands up must be whole packets, in order, that
// together are the start of the stream; the forwarder must stop exactly at
// a frame that cannot be a message. Every whole frame also passes the
// forwarder's gate, for a connection bound to nothing and for one bound to
// federates the input names, with the frame's own execution and federate
// among them; a refusal always says why.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "msg/DtNetMsgHeader.h"
#include "net/DtForwarderLink.h"
#include "net/DtFrameGate.h"
#include "net/DtTcpSocket.h"
#include "util/DtBigEndian.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"
#include "util/DtString.h"

namespace {

class Sink : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

void check(bool condition) {
  if (!condition) __builtin_trap();
}

struct Pair {
  int writer = -1;
  int reader = -1;
  Pair() {
    int fds[2];
    check(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0);
    writer = fds[0];
    reader = fds[1];
  }
  void closeWriter() {
    if (writer >= 0) close(writer);
    writer = -1;
  }
};

// The piece sizes: from the input's first bytes, 1 to 64 bytes each.
std::vector<std::size_t> pieces(const std::uint8_t* seed, std::size_t seedSize, std::size_t total) {
  std::vector<std::size_t> sizes;
  for (std::size_t at = 0, i = 0; at < total; ++i) {
    const std::size_t piece = std::min<std::size_t>(total - at, seedSize ? seed[i % seedSize] % 64 + 1 : total);
    sizes.push_back(piece);
    at += piece;
  }
  return sizes;
}

void writeAll(int fd, const char* data, std::size_t size) {
  for (std::size_t sent = 0; sent < size;) {
    const ssize_t n = write(fd, data + sent, size - sent);
    check(n > 0);
    sent += static_cast<std::size_t>(n);
  }
}

// Bindings made from the frame itself and from the input's seed bytes.
std::vector<DtLinkBinding> bindingsFor(const DtNetMsgHeader& header, const std::uint8_t* seed, std::size_t seedSize) {
  std::vector<DtLinkBinding> bindings;
  DtLinkBinding own;
  own.execHandle = header.fedExHandle();
  const DtString name = header.fedExName();
  std::memcpy(own.execName, name.string(),
              std::min<std::size_t>(static_cast<std::size_t>(name.length()), sizeof own.execName));
  own.federate = header.federate();
  bindings.push_back(own);
  for (std::size_t i = 0; i + 1 < seedSize; i += 2) {
    DtLinkBinding other = own;
    other.federate = static_cast<std::uint16_t>(seed[i] << 8 | seed[i + 1]);
    if (seed[i] & 1) other.execHandle = seed[i + 1];
    bindings.push_back(other);
  }
  return bindings;
}

void passTheGate(const char* frame, const std::uint8_t* seed, std::size_t seedSize) {
  const DtNetMsgHeader& header = *DtNetMsgHeader::at(frame);
  const char* unbound = DtFrameGate::refusal(header, {});
  check(unbound == nullptr || *unbound != 0);
  static_cast<void>(DtFrameGate::hears(header, {}));
  const std::vector<DtLinkBinding> bindings = bindingsFor(header, seed, seedSize);
  const char* bound = DtFrameGate::refusal(header, bindings);
  check(bound == nullptr || *bound != 0);
  for (const DtLinkBinding& binding : bindings) static_cast<void>(DtFrameGate::namesExecution(header, binding));
  static_cast<void>(DtFrameGate::hears(header, bindings));
}

void forwarderReads(const std::string& stream, const std::vector<std::size_t>& sizes, const std::uint8_t* seed,
                    std::size_t seedSize) {
  Pair pair;
  DtForwarderLink link(pair.reader, 1, 0, 0);
  std::string handedUp;
  auto read = [&] {
    link.readFrames(1 << 20, [&](const char* data, std::size_t length, std::size_t frames) {
      std::size_t at = 0, count = 0;
      while (at < length) {
        std::size_t size = 0;
        check(DtForwarderLink::checkFrameHead(data + at, length - at, &size) == DtForwarderLink::Head::Whole);
        passTheGate(data + at, seed, seedSize);
        at += size;
        ++count;
      }
      check(at == length && count == frames);
      handedUp.append(data, length);
    });
  };
  std::size_t at = 0;
  for (const std::size_t piece : sizes) {
    writeAll(pair.writer, stream.data() + at, piece);
    at += piece;
    read();
    if (link.failed()) break;
  }
  pair.closeWriter();
  while (!link.failed()) read();
  check(stream.compare(0, handedUp.size(), handedUp) == 0);
  // It stops at a malformed frame, or at the end of the stream.
  std::size_t size = 0;
  const auto head =
      DtForwarderLink::checkFrameHead(stream.data() + handedUp.size(), stream.size() - handedUp.size(), &size);
  check(head != DtForwarderLink::Head::Whole);
  if (head == DtForwarderLink::Head::Malformed) check(link.failure().find("malformed") != std::string::npos);
}

void socketReads(const std::string& stream, const std::vector<std::size_t>& sizes, int width) {
  Pair pair;
  DtTcpSocket socket(pair.reader, 0);
  socket.setSizeWidth(width);
  std::string handedUp;
  auto read = [&] {
    for (;;) {
      char* data = nullptr;
      int status = 0;
      const int length = socket.DtRecv(&data, &status);
      if (status != 1) return;
      check(length >= width && data[length] == 0);
      std::uint32_t size = 0;
      for (int i = 0; i < width; ++i) size = (size << 8) | static_cast<unsigned char>(data[i]);
      check(size == static_cast<std::uint32_t>(length));
      handedUp.append(data, static_cast<std::size_t>(length));
    }
  };
  std::size_t at = 0;
  for (const std::size_t piece : sizes) {
    writeAll(pair.writer, stream.data() + at, piece);
    at += piece;
    read();
    if (!socket.isOk()) break;
  }
  pair.closeWriter();
  for (int i = 0; i < 4 && socket.isOk(); ++i) read();
  check(stream.compare(0, handedUp.size(), handedUp) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    DtSetNotifyHandler(new Sink);
    DtSetNotifyLevel(2);
    DtOpenLogOutput(nullptr, 0, 0);
    DtTcpSocket::setBufferSize(64);  // small, so that the buffer grows and moves
    return true;
  }();
  (void)quiet;
  if (size < 2 || size > 64 * 1024) return 0;
  const int widths[] = {1, 2, 4};
  const int width = widths[data[0] % 3];
  const std::size_t seedSize = data[1] % 8;
  if (size < 2 + seedSize) return 0;
  const std::string stream(reinterpret_cast<const char*>(data) + 2 + seedSize, size - 2 - seedSize);
  const std::vector<std::size_t> sizes = pieces(data + 2, seedSize, stream.size());
  forwarderReads(stream, sizes, data + 2, seedSize);
  socketReads(stream, sizes, width);
  return 0;
}
