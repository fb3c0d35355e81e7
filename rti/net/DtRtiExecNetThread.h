#pragma once
// DtRtiExecNetThread: the network thread of the rtiexec. It owns the TCP
// forwarder through which the federates and the rtiexec reach each other
// reliably (every packet read from one connection goes to every open
// connection, the sender's included), numbers the accepted connections from
// 1 (numbers are not reused), and tells the peers when a connection comes
// (a connect message with its number, to that connection only) or goes (a
// disconnect message with the closed connection's number, to every
// remaining one).
//
// The constructing thread waits until the thread listens; a port that
// cannot be listened on makes the constructor throw RTI::RTIinternalError.
// The destructor wakes the thread and joins it; the forwarder closes every
// connection. Only the network thread touches the forwarder, its
// connections and the tables.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <unordered_map>

#include "port/DtFdSet.h"
#include "port/DtWakeup.h"

class DtTcpForwarder;
class DtTcpSocket;

class DtRtiExecNetThread {
public:
  // Listens on the TCP port (the RID's RTI_udpPort; 0: a port of the
  // system's choice, see port()), with TCP_NODELAY as noDelay says.
  DtRtiExecNetThread(int port, int noDelay);
  DtRtiExecNetThread(const DtRtiExecNetThread&) = delete;
  DtRtiExecNetThread& operator=(const DtRtiExecNetThread&) = delete;
  virtual ~DtRtiExecNetThread();

  // The port the forwarder listens on.
  int port() const { return port_; }

private:
  // The thread: accepts, reads and forwards until asked to stop.
  void run();
  // On the network thread, when the forwarder accepts or closes a connection.
  void addConnection(DtTcpSocket* socket);
  void removeConnection(DtTcpSocket* socket);
  static void accepted(DtTcpSocket* socket, void* self);
  static void closed(DtTcpSocket* socket, void* self);

  int port_;
  std::atomic<bool> stopRequested_{false};
  int noDelay_;
  int highestDescriptor_ = -1;
  DtFdSet readSet_;
  std::unique_ptr<DtTcpForwarder> forwarder_;
  std::unordered_map<DtTcpSocket*, std::uint32_t> idBySocket_;
  std::unordered_map<std::uint32_t, DtTcpSocket*> socketById_;
  std::uint32_t nextConnectionId_ = 1;
  DtWakeup wakeup_{"rtiexec network thread"};
  std::thread thread_;
};
