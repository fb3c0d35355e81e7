#pragma once
// DtTcpForwarder: relays packets between the TCP connections of the rtiexec
// and its federates. It listens on a port, accepts connections (up to a
// limit; further ones are refused with a message), and sends what it reads
// from one connection to every connection that listens, the sender's
// included (but see below), in the order the connections were accepted.
//
// A connection listens once its peer has sent something: a federate always
// asks (create, join, ...) before it waits for an answer, so a connection
// that never speaks costs nothing, however many there are. The rtiexec's own
// connection (setOwnerLink) listens from the start; it is spared the
// federates' object and interaction traffic, which the rtiexec does not
// read. Until the owner is named every connection listens. The rtiexec
// that drives the forwarder in its own process is its owner without a
// connection (setInProcessOwner): packets pass to and from it in memory.
//
// The federates' object and interaction traffic is not sent back to its
// sender, which drops its own (as it drops it from the group at its UDP
// socket): a federate that sends faster than it ticks would otherwise read
// its own traffic or fall behind and be closed. Nor are the rtiexec's own
// messages. A federate's requests to the rtiexec (create, join, join
// confirm, destroy, alive, its synchronization point registrations and
// achievements, and its time management requests: enable regulation or
// constraint, time advance and next-event requests, disable, the answer to
// the constrained sync) go to the rtiexec alone, as long as there is one:
// they would only wake the other federates, and the sender before the
// answer. In lock step that keeps a step's traffic linear in the federates.
//
// With an owner in its process (the rtiexec that drives it) the forwarder
// is also the federation's gate on the TCP side (DtFrameGate): the rtiexec
// binds each federate handle it gives to the connection whose join it
// accepted, and a connection speaks only for its own federates, hears only
// its executions' frames (and what the rtiexec sends it alone), and never
// sends what only the rtiexec makes. A frame refused is counted, reported
// (at most once a second) and closes its connection, after the frames that
// came before it went on. A connection that speaks for no federate and
// stays silent, or leaves one frame unfinished, longer than the join
// timeout is closed (a joined federate that stops midway in a frame may
// just not be ticking); when the connections are at their limit, the
// longest silent of those that joined nothing makes room for a new one.
//
// It watches every connection at once (DtPoller), reads each in large
// pieces, and sends each connection what a pass collected for it with as
// few writes as the network takes. A connection that closes, breaks, sends
// a malformed packet, or stops reading while too much waits for it, is
// closed (the close callback runs first) while the others go on.
//
// Used by one thread (the rtiexec's network thread).

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "net/DtForwarderLink.h"
#include "net/DtFrameGate.h"
#include "port/DtPoller.h"

class DtNetMsgHeader;

class DtTcpForwarder {
public:
  using LinkCallback = std::function<void(DtForwarderLink& link)>;
  // RTI_tcpMaxConnections's default.
  static constexpr int defaultMaxConnections = 1024;

  // Listens on the port (0: a port of the system's choice, see port()).
  // A port that is taken leaves addressInUse() true; any failure leaves
  // isOk() false and nothing listening.
  explicit DtTcpForwarder(int port, int maxConnections = defaultMaxConnections);
  DtTcpForwarder(const DtTcpForwarder&) = delete;
  DtTcpForwarder& operator=(const DtTcpForwarder&) = delete;
  // Closes every connection (the close callback runs for each).
  virtual ~DtTcpForwarder();

  bool isOk() const { return listenFd_ >= 0 && ok_; }
  bool addressInUse() const { return addressInUse_; }
  int port() const { return port_; }
  int listenDescriptor() const { return listenFd_; }
  // Readable while a connection (or the listener, or the wake-up) has
  // something for a pass: a loop that drives the forwarder waits on it.
  int pollDescriptor() const;
  int maxConnections() const { return maxConnections_; }
  // TCP_NODELAY on the connections accepted from now on.
  void setNoDelay(bool on) { noDelay_ = on; }
  // The most bytes that may wait for one peer (DtForwarderLink's cap) on the
  // connections accepted from now on.
  void setQueueCap(std::size_t bytes) { queueCap_ = bytes; }

  // How long a connection that speaks for no federate may stay silent, or
  // hold a frame unfinished (RTI_tcpJoinTimeout); 0 or less: for ever.
  void setJoinTimeout(double seconds) { joinTimeout_ = seconds; }
  // The clock of the timeouts, in seconds (DtRealTime unless set).
  void setClock(std::function<double()> clock) { clock_ = std::move(clock); }

  // The federates a connection speaks for (see above). False when there is
  // no such connection.
  bool bindFederate(std::uint32_t id, const DtLinkBinding& binding);
  // Federate 0 unbinds every federate of the execution.
  void unbindFederate(std::uint32_t id, std::uint16_t execHandle, std::uint16_t federate);
  // The connection's peer address; false when there is no such connection.
  bool peerAddressOf(std::uint32_t id, std::uint32_t* address) const;
  // The last words to a connection, then it closes (at the end of the
  // pass): with a reset when they could not go out at once. With a grace
  // time, the connection goes on as it is (and speaks for its federates)
  // that long first, or until it sends a resignation, so that its
  // federate can still do what its resignation asks of it.
  void closeWithFarewell(std::uint32_t id, const std::string& reason, const char* data, std::size_t length,
                         double graceSeconds = 0.0);
  // Frames refused from federates' connections so far.
  std::uint64_t refusedFrames() const { return refusedFrames_; }
  // Connections closed for silence or an unfinished frame, or to make room.
  std::uint64_t expiredCount() const { return expired_; }
  // Queues the packet for the owner alone (every listening connection when
  // there is no owner).
  void tellOwner(const char* data, int length);

  // Called when a connection was accepted (before anything is relayed to
  // it) and before a connection is closed.
  void setAcceptCallback(LinkCallback fn) { onAccept_ = std::move(fn); }
  void setCloseCallback(LinkCallback fn) { onClose_ = std::move(fn); }
  // A descriptor (a wake-up) whose input ends a pass early.
  void watchWakeup(int fd);
  // A descriptor of the loop that drives the forwarder (its datagram socket,
  // its stop wake-up): its input ends a wait as well, and the loop reads it
  // itself. False when it cannot be watched.
  bool watchOutside(int fd);
  // Waits at most `seconds` (negative: until something happens) for what a
  // pass or the driving loop has to do; the next pass takes what it found
  // without looking again.
  void waitForInput(double seconds);
  // Whether the last wait (or pass) may have found input on that outside
  // descriptor: false only when it looked at every ready descriptor and
  // that one was not among them.
  bool outsideMayBeReady(int fd) const;
  // The rtiexec's own connection, by its address and port as the rtiexec
  // sees them (the peer of one of the accepted connections).
  void setOwnerAddress(std::uint32_t address, int port);
  // The owner in this process: what would be sent to its connection goes to
  // `deliver`, whole packets at a time, during the pass that relays them
  // (the accept callback runs for it first); its own packets come in
  // through relayFromOwner. Any owner named before is no longer one. A null
  // sink drops what comes for it from then on (and names no owner when
  // there is none). The owner's link, or null.
  DtForwarderLink* setInProcessOwner(DtForwarderLink::Sink deliver);
  // Whole packets from the owner in this process, relayed as if read from
  // its connection, or queued for the connection numbered `connection`
  // alone when it names one that listens (the rtiexec decides that only one
  // federate needs them); they go out with the next pass.
  void relayFromOwner(const char* data, std::size_t length, std::uint32_t connection = 0);

  // Queues the packet for every listening connection.
  virtual void forward(const char* data, int length);
  // Queues the packet for one connection.
  virtual void sendTo(DtForwarderLink& link, const char* data, int length);
  // One pass: waits at most `seconds` (negative: until something happens)
  // for connections, packets, room to write or the wake-up; accepts, reads
  // and relays, writes what waits, and closes the connections that failed.
  // True when the wake-up descriptor was readable.
  virtual bool serviceConnections(double seconds);
  // The first half of a pass, for the loop that answers in the same pass
  // what it reads (the rtiexec driving its forwarder): as serviceConnections,
  // but what it queued for the federates waits for flushQueued, so that the
  // loop's answers go out with it in one write per connection. An owner
  // reached over TCP is sent its share at once.
  bool takeInput(double seconds);
  // Writes what waits for the connections, without looking for input
  // (nothing to do, no system call, when nothing was queued).
  void flushQueued();
  // Closes the connection at the end of the pass, with the reason.
  void closeLink(std::uint32_t id, const std::string& reason);

  std::size_t connectionCount() const { return entries_.size(); }
  // In the order accepted.
  std::vector<DtForwarderLink*> links() const;
  DtForwarderLink* link(std::uint32_t id) const;
  // Connections refused for the limit so far.
  std::uint64_t refusedCount() const { return refused_; }

private:
  struct Entry;
  void acceptAll();
  void relay(Entry& from, const char* data, std::size_t length, std::size_t frames);
  void queueFor(Entry& to, const char* data, std::size_t length, std::uint32_t origin = 0);
  void flushDirty();
  void sendQueued(Entry& entry);
  void closeFailed();
  void closeEntry(std::unique_ptr<Entry> entry);
  void sayFarewell(Entry& entry, const std::string& reason, const char* data, std::size_t length);
  static bool containsKind(const char* data, std::size_t length, int kind);
  // Notes a resignation the connection sent for a federate of its own.
  static void noteResignation(Entry& from, const DtNetMsgHeader& header);
  // Whether every federate it was bound to has resigned (or none was).
  static bool speaksForNobody(const Entry& entry);
  void matchOwner(Entry& entry);
  bool listens(const Entry& entry) const;
  // Whether the owner in this process gates the federates' frames.
  bool gated() const { return inProcessOwner_ != nullptr; }
  bool goesTo(const Entry& to, const Entry& from, const DtNetMsgHeader& header) const;
  void refuse(Entry& from, const char* why, const DtNetMsgHeader& header);
  // Closes the connections that, unjoined, stayed silent or held a frame
  // unfinished too long; gives their memory back.
  void expireIdle();
  // Makes room for a new connection: false when every one has joined.
  bool evictStranger();
  double now() const;

  std::unique_ptr<DtPoller> poller_;
  int listenFd_ = -1;
  int port_;
  int maxConnections_;
  bool ok_ = false;
  bool addressInUse_ = false;
  bool noDelay_ = true;
  std::size_t queueCap_ = DtForwarderLink::defaultQueueCap;
  int wakeFd_ = -1;
  std::uint32_t nextId_ = 1;
  std::vector<std::unique_ptr<Entry>> entries_;  // in the order accepted
  std::unordered_map<std::uint32_t, Entry*> byId_;
  std::vector<Entry*> dirty_;            // entries with output queued in this pass
  std::vector<DtPoller::Event> events_;  // of the pass, kept for its memory
  bool eventsWaiting_ = false;           // waitForInput filled events_
  bool eventsIncomplete_ = true;         // the last wait failed or filled its room
  std::uint32_t ownerAddress_ = 0;
  int ownerPort_ = -1;
  Entry* owner_ = nullptr;
  Entry* inProcessOwner_ = nullptr;
  std::uint64_t refused_ = 0;
  std::uint64_t refusedFrames_ = 0;
  std::uint64_t expired_ = 0;
  double joinTimeout_ = 60.0;
  double lastSweep_ = 0.0;
  std::size_t closedSinceTrim_ = 0;
  std::function<double()> clock_;
  LinkCallback onAccept_;
  LinkCallback onClose_;
};
