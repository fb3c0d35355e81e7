#pragma once
// DtRtiExecLinks: the rtiexec's DtExecLinks over its connection manager and
// the forwarder it drives. A message read from the reliable connection came
// from the forwarder's connection that the in-process socket names; one
// read from the datagram socket, from that datagram's sender. Without a
// forwarder in this process (none, or one reached over TCP by a plug-in's
// connection manager) a connection is not known (0), and binding, closing
// and answering one connection alone do nothing.

#include "exec/DtExecLinks.h"

class DtConnectionMgr;
class DtRtiExecNetThread;

class DtRtiExecLinks : public DtExecLinks {
public:
  // Both borrowed; `net` may be null.
  DtRtiExecLinks(DtConnectionMgr& mgr, DtRtiExecNetThread* net) : mgr_(mgr), net_(net) {}

  bool knowsConnections() const override { return net_ != nullptr; }
  DtMsgOrigin originOf(const DtRtiMsg& msg) const override;
  bool peerAddressOf(std::uint32_t connection, std::uint32_t* address) const override;
  void bind(std::uint32_t connection, int execHandle, const DtString& execName, std::uint32_t federate) override;
  void unbind(std::uint32_t connection, int execHandle, std::uint32_t federate) override;
  void close(std::uint32_t connection, const std::string& reason, double graceSeconds = 0.0) override;
  unsigned long addressOf(std::uint32_t connection) const override;

private:
  DtConnectionMgr& mgr_;
  DtRtiExecNetThread* net_;
};
