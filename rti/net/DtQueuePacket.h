#pragma once
// DtQueuePacket: one message on its way through the asynchronous
// connection manager's send or receive list: the message (owned), its
// transport type and its destination (0: the connection's default).

#include <cstdint>
#include <memory>

#include "util/DtFomTypes.h"

class DtRtiMsg;

class DtQueuePacket {
public:
  // Takes the message and sets its transport type to `transport`.
  DtQueuePacket(DtRtiMsg* msg, DtTransportType transport, unsigned long address);
  DtQueuePacket(const DtQueuePacket&) = delete;
  DtQueuePacket& operator=(const DtQueuePacket&) = delete;
  ~DtQueuePacket();

  DtRtiMsg* msg() const { return msg_.get(); }
  // Hands the message over to the caller.
  DtRtiMsg* releaseMsg() { return msg_.release(); }
  DtTransportType transport() const { return transport_; }
  std::uint32_t address() const { return address_; }
  // How often sending it failed with an error that may pass.
  int retries = 0;

private:
  std::unique_ptr<DtRtiMsg> msg_;
  DtTransportType transport_;
  std::uint32_t address_;
};
