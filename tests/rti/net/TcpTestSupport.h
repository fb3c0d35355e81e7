#pragma once
// A listening manager on a port of the system's choice and clients that
// connect to it, for the TCP socket and forwarder tests.

#include <memory>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "net/DtSocketMgr.h"
#include "net/DtTcpSocket.h"
#include "port/DtPortSocket.h"
#include "util/DtBigEndian.h"

namespace nettest {

// An RTI-style packet: a big-endian 16-bit total length, then `fill`.
inline std::vector<char> framed(int length, char fill) {
  std::vector<char> bytes(static_cast<std::size_t>(length), fill);
  DtPutBigEndian(static_cast<std::uint16_t>(length), bytes.data());
  return bytes;
}

// Waits until the descriptor is readable (at most `seconds`).
inline void waitReadable(int fd, double seconds = 2.0) {
  DtFdSet readable;
  readable.add(fd);
  DtPollSets(&readable, nullptr, nullptr, seconds);
}

// Every client's connection on the server side, in the order accepted.
inline std::vector<DtTcpSocket*> accepted(DtSocketMgr& manager) {
  std::vector<DtTcpSocket*> result;
  for (DtListItem* item = manager.connections().head(); item; item = item->next())
    result.push_back(static_cast<DtTcpSocket*>(item->data()));
  return result;
}

inline std::unique_ptr<DtTcpSocket> connectTo(DtSocketMgr& manager) {
  auto client = std::make_unique<DtTcpSocket>(loopback, manager.port(), false);
  return client;
}

// Sends raw bytes on a descriptor, as a peer that frames nothing would.
inline void sendRaw(int fd, const std::vector<char>& bytes) { DtPortSend(fd, bytes.data(), bytes.size()); }

}  // namespace nettest
