#pragma once
// DtExecLinks: what the rtiexec's executions need of its transport to know
// who speaks. A message comes from one of the forwarder's connections (its
// number; the federates' reliable traffic) or in a datagram (its sender's
// address). An execution binds each federate handle it gives to the
// connection its join came on, so that the connection speaks for that
// federate and no other, and unbinds it when the federate leaves; when the
// rtiexec itself resigns a federate, it closes the federate's connection
// with the reason, which is the federate's last message from it.
//
// Used on the rtiexec's thread, while a message is being handled (originOf)
// or at any other time (the rest).

#include <cstdint>
#include <string>

class DtRtiMsg;
class DtString;

// Where a received message came from.
struct DtMsgOrigin {
  bool reliable = false;         // on a connection (else in a datagram)
  std::uint32_t connection = 0;  // the connection's number (0: none)
  std::uint32_t address = 0;     // the datagram's sender, or the connection's peer
};

class DtExecLinks {
public:
  virtual ~DtExecLinks() = default;
  // Whether connections are known (a forwarder in this process): without
  // them, a join's own source ID stands for its connection.
  virtual bool knowsConnections() const = 0;
  // The origin of the message being handled.
  virtual DtMsgOrigin originOf(const DtRtiMsg& msg) const = 0;
  // The connection's peer address; false when there is no such connection.
  virtual bool peerAddressOf(std::uint32_t connection, std::uint32_t* address) const = 0;
  virtual void bind(std::uint32_t connection, int execHandle, const DtString& execName, std::uint32_t federate) = 0;
  // Federate 0: every federate of the execution.
  virtual void unbind(std::uint32_t connection, int execHandle, std::uint32_t federate) = 0;
  // Tells the connection's peer why, and closes the connection; after the
  // grace time, during which it goes on as before.
  virtual void close(std::uint32_t connection, const std::string& reason, double graceSeconds = 0.0) = 0;
  // The destination address of a message for the connection alone, on the
  // internal transport (0 when that is not the connections').
  virtual unsigned long addressOf(std::uint32_t connection) const = 0;
};
