#pragma once
// DtRtiExecNetThread: the network thread of the rtiexec. It owns the TCP
// forwarder through which the federates and the rtiexec reach each other
// reliably (DtTcpForwarder: every packet goes to every connection that
// listens, the sender's included), numbers the accepted connections from 1
// (numbers are not reused), and tells the peers when a connection comes (a
// connect message with its number, to that connection only) or goes (a
// disconnect message with the closed connection's number, to the rtiexec,
// or to every remaining connection while it has none).
//
// The thread sleeps until a connection has something for it: idle, it uses
// no processor time, however many connections are open. At most
// maxConnections are open at once; further ones are refused with a message.
//
// Driven (no thread of its own), the forwarder works on the thread that
// calls service(), which waits on descriptor() among its own: the rtiexec
// drives it so, so that a request and its answer pass from federate to
// rtiexec and back without waking another thread on the way. Driven, the
// rtiexec may also be the forwarder's owner in this process
// (setInProcessOwner, sendFromOwner): its packets then pass in memory.
//
// The constructing thread waits until the thread listens; a port that
// cannot be listened on makes the constructor throw RTI::RTIinternalError.
// The destructor wakes the thread and joins it; the forwarder closes every
// connection. Only the network thread (or the driving one) touches the
// forwarder; setOwner may be called from any thread.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "net/DtForwarderLink.h"
#include "net/DtFrameGate.h"
#include "port/DtWakeup.h"

class DtTcpForwarder;

class DtRtiExecNetThread {
public:
  // Listens on the TCP port (the RID's RTI_udpPort; 0: a port of the
  // system's choice, see port()), with TCP_NODELAY as noDelay says.
  enum class Mode { OwnThread, Driven };
  DtRtiExecNetThread(int port, int noDelay, int maxConnections = 1024, Mode mode = Mode::OwnThread);
  DtRtiExecNetThread(const DtRtiExecNetThread&) = delete;
  DtRtiExecNetThread& operator=(const DtRtiExecNetThread&) = delete;
  virtual ~DtRtiExecNetThread();

  // The port the forwarder listens on.
  int port() const { return port_; }
  // The rtiexec's own connection, by the address and port of its end: it
  // hears every request from the start (see DtTcpForwarder).
  void setOwner(std::uint32_t address, int port);

  // Driven: one pass of the forwarder, without waiting, on the calling
  // thread; descriptor() is readable while a pass has work.
  void service();
  // Driven: the first half of such a pass (DtTcpForwarder::takeInput): what
  // it queued for the federates goes out with flush(), the owner's answers
  // with it.
  void takeInput();
  // Driven only (false otherwise): the driving loop's descriptor, whose input
  // ends waitForInput too (DtTcpForwarder::watchOutside).
  bool watchOutside(int fd);
  // Driven: waits at most `seconds` for the forwarder's work or the loop's
  // descriptors; the next pass takes what it found without looking again.
  void waitForInput(double seconds);
  // Driven: false when the last wait or pass of the forwarder looked at the
  // watched outside descriptor and found nothing there (true otherwise).
  bool outsideMayBeReady(int fd) const;
  int descriptor() const;
  // Driven only (false otherwise): the owner in this process, whose
  // packets come to `deliver` (see DtTcpForwarder::setInProcessOwner).
  bool setInProcessOwner(DtForwarderLink::Sink deliver);
  // Its packets, relayed at once (to the connection numbered `connection`
  // alone, when not 0) and sent with the next service() or flush().
  void sendFromOwner(const char* data, std::size_t length, std::uint32_t connection = 0);
  // Driven: sends what waits, without looking for input.
  void flush();

  // Driven: the federation's gate on the forwarder (see DtTcpForwarder).
  // A federate handle given on a connection (false: no such connection).
  bool bindFederate(std::uint32_t connection, const DtLinkBinding& binding);
  // Federate 0: every federate of the execution.
  void unbindFederate(std::uint32_t connection, std::uint16_t execHandle, std::uint16_t federate);
  // The connection's peer address (false: no such connection).
  bool peerAddressOf(std::uint32_t connection, std::uint32_t* address) const;
  // Tells the connection's peer why (a disconnect message naming its own
  // connection, with the reason) and closes it, after the grace time.
  void closeConnection(std::uint32_t connection, const std::string& reason, double graceSeconds = 0.0);
  // RTI_tcpJoinTimeout (see DtTcpForwarder::setJoinTimeout).
  void setJoinTimeout(double seconds);
  // RTI_tcpMaxQueuedBytes, for the connections accepted from now on (see
  // DtTcpForwarder::setQueueCap).
  void setQueueCap(std::size_t bytes);

private:
  // Makes the forwarder and hooks it up; the reason it cannot, else empty.
  std::string openForwarder();
  // The thread: accepts, reads and forwards until asked to stop.
  void run();
  void takeOwner();
  void addConnection(DtForwarderLink& link);
  void removeConnection(DtForwarderLink& link);

  int port_;
  std::atomic<bool> stopRequested_{false};
  int noDelay_;
  int maxConnections_;
  std::unique_ptr<DtTcpForwarder> forwarder_;
  std::mutex ownerLock_;
  bool ownerChanged_ = false;  // under ownerLock_, with the two below
  std::uint32_t ownerAddress_ = 0;
  int ownerPort_ = -1;
  DtWakeup wakeup_{"rtiexec network thread"};
  std::thread thread_;
};
