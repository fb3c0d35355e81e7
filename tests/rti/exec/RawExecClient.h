#pragma once
// A client of the rtiexec's forwarder port that writes raw frames, as a
// stranger (or a federate of its own making) on the network could: it
// reads its connection number first, sends whatever bytes it is given, and
// reads what comes back frame by frame.

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgKind.h"
#include "net/DtTcpSocket.h"
#include "port/DtPortSocket.h"
#include "util/DtBigEndian.h"

namespace exectest {

// A frame: the 8-byte header (size, federate, kind, execution handle) and
// the body.
inline std::vector<char> rawFrame(int kind, std::uint16_t federate, std::uint16_t execution,
                                  std::vector<char> body = {}) {
  std::vector<char> bytes(8);
  DtPutBigEndian(static_cast<std::uint16_t>(8 + body.size()), bytes.data());
  DtPutBigEndian(federate, bytes.data() + 2);
  bytes[4] = static_cast<char>(kind);
  bytes[5] = 0;
  DtPutBigEndian(execution, bytes.data() + 6);
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

// A body of `size` bytes with a 32-bit number at its start.
inline std::vector<char> numberBody(std::uint32_t value, std::size_t size = 4) {
  std::vector<char> body(size, 0);
  DtPutBigEndian(value, body.data());
  return body;
}

// The 84-byte body of a join request (and of a join confirmation).
inline std::vector<char> joinBody(std::uint32_t sourceID, const std::string& federate, const std::string& execution) {
  std::vector<char> body(84, 0);
  DtPutBigEndian(sourceID, body.data());
  std::memcpy(body.data() + 4, federate.data(), std::min<std::size_t>(federate.size(), 16));
  std::memcpy(body.data() + 20, execution.data(), std::min<std::size_t>(execution.size(), 63));
  return body;
}

class RawExecClient {
public:
  explicit RawExecClient(int port) : socket_(0x7F000001u, port, false) {
    const std::vector<char> connect = next(10);
    if (connect.size() >= 12 && connect[4] == DtConnectMsgKind)
      connection_ = DtGetBigEndian<std::uint32_t>(&connect[8]);
  }

  std::uint32_t connection() const { return connection_; }
  bool send(const std::vector<char>& bytes) {
    return DtPortSend(socket_.descriptor(), bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
  }
  // The next frame within `seconds`; empty when none came (closed() tells
  // whether the connection ended).
  std::vector<char> next(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      char* data = nullptr;
      int status = 0;
      const int length = socket_.DtRecv(&data, &status);
      if (length > 0) return std::vector<char>(data, data + length);
      if (status < 0 || !socket_.isOk()) {
        closed_ = true;
        return {};
      }
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return {};
      pollfd watched{socket_.descriptor(), POLLIN, 0};
      poll(&watched, 1, static_cast<int>(left * 1000) + 1);
    }
  }
  // Whether the rtiexec closes the connection within `seconds`; the frames
  // that came before the end are kept in `heard`.
  bool closedWithin(double seconds, std::vector<std::vector<char>>* heard = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!closed_) {
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      std::vector<char> frame = next(left);
      if (!frame.empty() && heard) heard->push_back(std::move(frame));
    }
    return true;
  }
  bool closed() const { return closed_; }

private:
  DtTcpSocket socket_;
  std::uint32_t connection_ = 0;
  bool closed_ = false;
};

}  // namespace exectest
