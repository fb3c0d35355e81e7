#include "net/DtGsRtiConnection.h"

#include "msg/DtRtiMsg.h"
#include "net/DtGroupSocket.h"

DtGsRtiConnection::DtGsRtiConnection(DtGroupSocket* socket, unsigned long defaultAddr)
    : DtRtiConnection(socket), defaultAddr_(static_cast<std::uint32_t>(defaultAddr)), groupSocket_(socket) {}

DtGsRtiConnection::DtGsRtiConnection(int port) : DtRtiConnection(port) {}

DtGsRtiConnection::DtGsRtiConnection(int port, unsigned long addr) : DtRtiConnection(port, addr) {}

int DtGsRtiConnection::send(const DtRtiMsg& msg, unsigned long address) {
  if (!groupSocket_) return DtRtiConnection::send(msg, address);
  if (address == 0) return groupSocket_->send(msg.data(), msg.size(), 0);
  groupSocket_->sendToAll(msg.data(), msg.size(), defaultAddr_);
  return groupSocket_->DtSocket::send(msg.data(), msg.size(), static_cast<std::uint32_t>(address));
}
