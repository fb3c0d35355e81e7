#include "exec/DtRtiExecLinks.h"

#include <algorithm>
#include <cstring>

#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"
#include "net/DtRtiConnection.h"
#include "net/DtRtiExecNetThread.h"
#include "net/DtSocket.h"
#include "util/DtString.h"

DtMsgOrigin DtRtiExecLinks::originOf(const DtRtiMsg& msg) const {
  DtMsgOrigin origin;
  const DtRtiConnection* reliable = mgr_.reliableConn();
  if (msg.transportType() == DtReliable && reliable) {
    origin.reliable = true;
    origin.connection = net_ ? reliable->socket()->senderAddr() : 0;
    peerAddressOf(origin.connection, &origin.address);
  } else if (const DtRtiConnection* udp = mgr_.udpConn()) {
    origin.address = udp->socket()->senderAddr();
  }
  return origin;
}

bool DtRtiExecLinks::peerAddressOf(std::uint32_t connection, std::uint32_t* address) const {
  return net_ && connection != 0 && net_->peerAddressOf(connection, address);
}

void DtRtiExecLinks::bind(std::uint32_t connection, int execHandle, const DtString& execName, std::uint32_t federate) {
  if (!net_ || connection == 0) return;
  DtLinkBinding binding;
  binding.execHandle = static_cast<std::uint16_t>(execHandle);
  const char* name = execName.string();
  std::memcpy(binding.execName, name, strnlen(name, sizeof binding.execName));
  binding.federate = static_cast<std::uint16_t>(federate);
  net_->bindFederate(connection, binding);
}

void DtRtiExecLinks::unbind(std::uint32_t connection, int execHandle, std::uint32_t federate) {
  if (net_ && connection != 0) {
    net_->unbindFederate(connection, static_cast<std::uint16_t>(execHandle), static_cast<std::uint16_t>(federate));
  }
}

void DtRtiExecLinks::close(std::uint32_t connection, const std::string& reason, double graceSeconds) {
  if (net_ && connection != 0) net_->closeConnection(connection, reason, graceSeconds);
}

unsigned long DtRtiExecLinks::addressOf(std::uint32_t connection) const {
  return net_ && mgr_.internalTransportType() == DtReliable ? connection : 0;
}
