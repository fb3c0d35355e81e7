#include "net/DtQueuePacket.h"

#include "msg/DtRtiMsg.h"

DtQueuePacket::DtQueuePacket(DtRtiMsg* msg, DtTransportType transport, unsigned long address)
    : msg_(msg), transport_(transport), address_(static_cast<std::uint32_t>(address)) {
  if (msg_) msg_->setTransportType(transport);
}

DtQueuePacket::~DtQueuePacket() = default;
