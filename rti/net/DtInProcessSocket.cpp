#include "net/DtInProcessSocket.h"

#include <algorithm>
#include <cstring>

#include "msg/DtNetMsgHeader.h"
#include "util/DtBigEndian.h"

DtInProcessSocket::DtInProcessSocket(Send send) : send_(std::move(send)) {}

int DtInProcessSocket::sendTo(const char* data, int length, std::uint32_t address) {
  if (length <= 0) return 0;
  if (send_) send_(data, static_cast<std::size_t>(length), address);
  return length;
}

void DtInProcessSocket::dropRead() {
  if (!frontRead_) return;
  packets_.pop_front();
  frontRead_ = false;
}

int DtInProcessSocket::recvCopy(char* buffer, int capacity) {
  dropRead();
  if (packets_.empty()) return 0;
  const std::vector<char> packet = std::move(packets_.front());
  packets_.pop_front();
  const std::size_t length = packet.size() - 1;
  std::memcpy(buffer, packet.data(), std::min<std::size_t>(length, static_cast<std::size_t>(capacity)));
  return static_cast<int>(length);
}

int DtInProcessSocket::DtRecv(char** dataOut, int* statusOut) {
  dropRead();
  if (packets_.empty()) {
    if (statusOut) *statusOut = 0;
    return 0;
  }
  frontRead_ = true;
  *dataOut = packets_.front().data();
  if (statusOut) *statusOut = 1;
  return static_cast<int>(packets_.front().size() - 1);
}

bool DtInProcessSocket::packetWaiting() const { return packetsWaiting() > 0; }

int DtInProcessSocket::setReceiveBufferSize(int) { return 0; }

void DtInProcessSocket::deliver(const char* data, std::size_t length) {
  std::size_t at = 0;
  while (length - at >= static_cast<std::size_t>(DtNetMsgHeader::theSize)) {
    const std::size_t size = DtGetBigEndian<std::uint16_t>(data + at);
    if (size < static_cast<std::size_t>(DtNetMsgHeader::theSize) || size > length - at) return;
    // A zero follows the packet, as it does in the TCP socket's buffer.
    std::vector<char>& packet = packets_.emplace_back(data + at, data + at + size);
    packet.push_back('\0');
    at += size;
  }
}
