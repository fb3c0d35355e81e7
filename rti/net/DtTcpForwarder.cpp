#include "net/DtTcpForwarder.h"

#include <algorithm>
#include <cerrno>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgKind.h"
#include "net/DtFrameGate.h"
#include "net/DtListenSocket.h"
#include "net/DtNetAddress.h"
#include "port/DtPoller.h"
#include "port/DtPortSocket.h"
#include "port/DtProcess.h"
#include "util/DtBigEndian.h"
#include "util/DtClock.h"
#include "util/DtNoticeLimiter.h"
#include "util/DtNotify.h"

namespace {

constexpr std::uint64_t listenToken = 0;
constexpr std::uint64_t wakeToken = ~std::uint64_t{0};
// The driving loop's own descriptors: this bit and the descriptor.
constexpr std::uint64_t outsideToken = std::uint64_t{1} << 62;
// The most events one wait reports.
constexpr int maxEventsPerWait = 256;
// What one pass takes from one connection at most, so that a busy sender
// does not keep the others waiting.
constexpr std::size_t readBudget = 256u << 10;
// At most this much of a failed link's input is still read: more than a
// socket's receive buffer holds.
constexpr std::size_t leftoverBudget = 16u << 20;
// Connections accepted in one pass at most.
constexpr int acceptsPerPass = 256;
// Refusals reported one by one, then every so many.
constexpr std::uint64_t refusalsReported = 10;
constexpr std::uint64_t refusalReportEvery = 100;

}  // namespace

struct DtTcpForwarder::Entry {
  Entry(std::unique_ptr<DtForwarderLink> made, double at) : link(std::move(made)), lastHeard(at) {}
  std::unique_ptr<DtForwarderLink> link;
  std::vector<DtLinkBinding> bindings;  // the federates it speaks for
  std::vector<DtLinkBinding> resigned;  // those of them whose resignation it sent
  double lastHeard;                     // accepted, or its last whole frame came
  double partSince = 0.0;               // the frame that is coming began to (0: none)
  std::vector<char> farewell;           // last words to send at farewellAt
  std::string farewellReason;
  double farewellAt = 0.0;
  bool expired = false;  // closed for silence, an unfinished frame, or to make room
  bool everBound = false;
  bool spoke = false;          // the peer sent something: it listens
  bool dirty = false;          // output was queued in this pass
  bool watchingWrite = false;  // the poller watches it for room to write
  std::string closeReason;     // set: closed at the end of the pass
};

DtTcpForwarder::DtTcpForwarder(int port, int maxConnections)
    : poller_(std::make_unique<DtPoller>()), port_(port), maxConnections_(std::max(maxConnections, 1)) {
  const DtListenResult listening = DtListenSocket(port, "DtTcpForwarder:");
  listenFd_ = listening.fd;
  addressInUse_ = listening.addressInUse;
  if (listenFd_ < 0) return;
  port_ = listening.port;
  if (!poller_->add(listenFd_, listenToken)) {
    DtNotifyPerror("DtTcpForwarder: cannot watch the listening socket");
    return;
  }
  ok_ = true;
}

DtTcpForwarder::~DtTcpForwarder() {
  for (const auto& entry : entries_) entry->closeReason = "the forwarder ends";
  closeFailed();
  if (listenFd_ >= 0) DtPortCloseSocket(listenFd_);
}

int DtTcpForwarder::pollDescriptor() const { return poller_->fd(); }

void DtTcpForwarder::watchWakeup(int fd) {
  if (wakeFd_ >= 0) poller_->remove(wakeFd_);
  wakeFd_ = fd;
  if (fd >= 0) poller_->add(fd, wakeToken);
}

bool DtTcpForwarder::watchOutside(int fd) {
  return fd >= 0 && poller_->add(fd, outsideToken | static_cast<std::uint32_t>(fd));
}

void DtTcpForwarder::waitForInput(double seconds) {
  // With output still queued it only looks, so that the output goes out now.
  const int found = poller_->wait(dirty_.empty() ? seconds : 0.0, events_, maxEventsPerWait);
  eventsIncomplete_ = found < 0 || found >= maxEventsPerWait;
  eventsWaiting_ = true;
}

bool DtTcpForwarder::outsideMayBeReady(int fd) const {
  if (eventsIncomplete_) return true;  // the wait failed, or left ready descriptors unreported
  const std::uint64_t token = outsideToken | static_cast<std::uint32_t>(fd);
  return std::any_of(events_.begin(), events_.end(), [token](const DtPoller::Event& e) { return e.token == token; });
}

void DtTcpForwarder::setOwnerAddress(std::uint32_t address, int port) {
  if (inProcessOwner_) return;
  ownerAddress_ = address;
  ownerPort_ = port;
  for (const auto& entry : entries_) matchOwner(*entry);
}

void DtTcpForwarder::matchOwner(Entry& entry) {
  if (!owner_ && entry.link->peerAddr() == ownerAddress_ && entry.link->peerPort() == ownerPort_) owner_ = &entry;
}

DtForwarderLink* DtTcpForwarder::setInProcessOwner(DtForwarderLink::Sink deliver) {
  if (inProcessOwner_) {
    inProcessOwner_->link->setSink(std::move(deliver));
    return inProcessOwner_->link.get();
  }
  if (!deliver) return nullptr;
  const std::uint32_t id = nextId_++;
  auto entry = std::make_unique<Entry>(std::make_unique<DtForwarderLink>(id, std::move(deliver)), now());
  Entry* added = entry.get();
  entries_.push_back(std::move(entry));
  byId_[id] = added;
  owner_ = inProcessOwner_ = added;
  if (onAccept_) onAccept_(*added->link);
  return added->link.get();
}

void DtTcpForwarder::relayFromOwner(const char* data, std::size_t length, std::uint32_t connection) {
  if (!inProcessOwner_ || length == 0) return;
  if (connection != 0) {
    // For that connection alone: nobody else hears it, even when it is gone.
    const auto found = byId_.find(connection);
    if (found != byId_.end() && found->second != inProcessOwner_) queueFor(*found->second, data, length);
    return;
  }
  relay(*inProcessOwner_, data, length, 0);
}

bool DtTcpForwarder::listens(const Entry& entry) const {
  // Gated, a connection hears nothing until it joins; else once it spoke.
  if (gated()) return &entry == owner_ || !entry.bindings.empty();
  return entry.spoke || !owner_ || &entry == owner_;
}

double DtTcpForwarder::now() const { return clock_ ? clock_() : DtRealTime(); }

bool DtTcpForwarder::bindFederate(std::uint32_t id, const DtLinkBinding& binding) {
  const auto found = byId_.find(id);
  if (found == byId_.end()) return false;
  Entry& entry = *found->second;
  for (const DtLinkBinding& held : entry.bindings) {
    if (held.execHandle == binding.execHandle && held.federate == binding.federate) return true;
  }
  entry.bindings.push_back(binding);
  entry.everBound = true;
  return true;
}

void DtTcpForwarder::unbindFederate(std::uint32_t id, std::uint16_t execHandle, std::uint16_t federate) {
  const auto found = byId_.find(id);
  if (found == byId_.end()) return;
  Entry& entry = *found->second;
  const auto unbound = [&](const DtLinkBinding& held) {
    return held.execHandle == execHandle && (federate == 0 || held.federate == federate);
  };
  std::erase_if(entry.bindings, unbound);
  std::erase_if(entry.resigned, unbound);
  // Unbound again, it may stay silent for a join timeout from now.
  entry.lastHeard = now();
}

bool DtTcpForwarder::peerAddressOf(std::uint32_t id, std::uint32_t* address) const {
  const auto found = byId_.find(id);
  if (found == byId_.end() || found->second->link->inProcess()) return false;
  *address = found->second->link->peerAddr();
  return true;
}

void DtTcpForwarder::closeWithFarewell(std::uint32_t id, const std::string& reason, const char* data,
                                       std::size_t length, double graceSeconds) {
  const auto found = byId_.find(id);
  if (found == byId_.end() || found->second == owner_) return;
  Entry& entry = *found->second;
  if (!entry.closeReason.empty()) return;
  if (graceSeconds > 0) {
    entry.farewell.assign(data, data + length);
    entry.farewellReason = reason;
    entry.farewellAt = now() + graceSeconds;
    return;
  }
  sayFarewell(entry, reason, data, length);
}

void DtTcpForwarder::sayFarewell(Entry& entry, const std::string& reason, const char* data, std::size_t length) {
  entry.bindings.clear();
  // Sent: a plain close follows it. Not sent (the peer does not read): a
  // reset, which the peer sees at once rather than after all that waits.
  if (!entry.link->sayFarewell(data, length)) entry.link->closeWithReset();
  entry.closeReason = reason;
}

void DtTcpForwarder::tellOwner(const char* data, int length) {
  if (!owner_) {
    forward(data, length);
    return;
  }
  if (length > 0) queueFor(*owner_, data, static_cast<std::size_t>(length));
}

bool DtTcpForwarder::evictStranger() {
  Entry* stranger = nullptr;
  for (const auto& entry : entries_) {
    Entry& candidate = *entry;
    if (&candidate == owner_ || !candidate.bindings.empty() || !candidate.closeReason.empty()) continue;
    if (!stranger || candidate.lastHeard < stranger->lastHeard) stranger = &candidate;
  }
  if (!stranger) return false;
  stranger->closeReason = "it has joined nothing, and room was needed for a new connection";
  stranger->expired = true;
  ++expired_;
  closeFailed();
  return true;
}

void DtTcpForwarder::expireIdle() {
  const double time = now();
  if (time - lastSweep_ < 1.0 && time >= lastSweep_) return;
  lastSweep_ = time;
  for (const auto& entry : entries_) {
    Entry& e = *entry;
    if (&e == owner_ || e.link->inProcess() || !e.closeReason.empty()) continue;
    if (e.farewellAt > 0 && time >= e.farewellAt && !e.farewell.empty()) {
      const std::vector<char> words = std::move(e.farewell);
      sayFarewell(e, e.farewellReason, words.data(), words.size());
    } else if (joinTimeout_ > 0 && e.bindings.empty() && e.partSince > 0 && time - e.partSince > joinTimeout_) {
      e.closeReason = "a frame left unfinished for longer than RTI_tcpJoinTimeout";
      e.expired = true;
      ++expired_;
    } else if (joinTimeout_ > 0 && e.bindings.empty() && time - e.lastHeard > joinTimeout_) {
      e.closeReason = e.everBound ? "silent since it resigned for longer than RTI_tcpJoinTimeout"
                                  : "silent without joining for longer than RTI_tcpJoinTimeout";
      e.expired = true;
      ++expired_;
    } else if (!e.link->holdsPartFrame() && time - e.lastHeard > 1.0) {
      e.link->releaseInput();
    }
  }
  closeFailed();
  if (closedSinceTrim_ > 0) {
    DtGiveBackFreeMemory();
    closedSinceTrim_ = 0;
  }
}

std::vector<DtForwarderLink*> DtTcpForwarder::links() const {
  std::vector<DtForwarderLink*> result;
  for (const auto& entry : entries_) result.push_back(entry->link.get());
  return result;
}

DtForwarderLink* DtTcpForwarder::link(std::uint32_t id) const {
  const auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second->link.get();
}

void DtTcpForwarder::closeLink(std::uint32_t id, const std::string& reason) {
  const auto found = byId_.find(id);
  if (found != byId_.end() && found->second->closeReason.empty()) found->second->closeReason = reason;
}

// Accepting -------------------------------------------------------------------

void DtTcpForwarder::acceptAll() {
  for (int i = 0; i < acceptsPerPass; ++i) {
    DtSockAddr peer;
    const int fd = DtPortAccept(listenFd_, &peer);
    if (fd < 0) {
      if (!DtPortWouldBlock(errno)) DtNotifyPerror("TcpSocket accept error: ");
      return;
    }
    if (static_cast<int>(entries_.size()) >= maxConnections_ && !(gated() && evictStranger())) {
      DtPortCloseSocket(fd);
      if (++refused_ <= refusalsReported || refused_ % refusalReportEvery == 0) {
        DtNotifyError(
            "TcpForwarder: refused a connection from %s: %d connections are open, the most that "
            "RTI_tcpMaxConnections allows (%llu refused so far)\n",
            DtAddrToString(peer.address), maxConnections_, static_cast<unsigned long long>(refused_));
      }
      continue;
    }
    DtPortSetOption(fd, DtSockOption::NoDelay, noDelay_ ? 1 : 0);
    const std::uint32_t id = nextId_++;
    auto entry = std::make_unique<Entry>(std::make_unique<DtForwarderLink>(fd, id, peer.address, peer.port), now());
    entry->link->setQueueCap(queueCap_);
    if (!poller_->add(fd, id)) {
      DtNotifyPerror("TcpForwarder: cannot watch a new connection");
      continue;  // the link closes its descriptor
    }
    Entry* added = entry.get();
    entries_.push_back(std::move(entry));
    byId_[id] = added;
    matchOwner(*added);
    if (onAccept_) onAccept_(*added->link);
  }
}

// Relaying ----------------------------------------------------------------------

void DtTcpForwarder::queueFor(Entry& to, const char* data, std::size_t length, std::uint32_t origin) {
  if (!to.closeReason.empty() || to.link->failed() || length == 0) return;
  to.link->queue(data, length, origin);
  if (!to.dirty && !to.link->inProcess()) {
    to.dirty = true;
    dirty_.push_back(&to);
  }
}

bool DtTcpForwarder::goesTo(const Entry& to, const Entry& from, const DtNetMsgHeader& header) const {
  const int kind = header.kind();
  // The rtiexec reads no federate traffic and has no use for its own
  // messages; a sender drops its own traffic; a federate's requests are for
  // the rtiexec alone (all hear them while there is none).
  if (&to == owner_) return &from != owner_ && !DtFrameGate::isFederateTraffic(kind);
  if (&to == &from && (DtFrameGate::isFederateTraffic(kind) || DtFrameGate::isRequestToTheRtiexec(kind))) return false;
  if (owner_ && &from != owner_ && DtFrameGate::isRequestToTheRtiexec(kind)) return false;
  return !gated() || DtFrameGate::hears(header, to.bindings);
}

void DtTcpForwarder::refuse(Entry& from, const char* why, const DtNetMsgHeader& header) {
  ++refusedFrames_;
  const std::string reason = std::string("refused ") + why + " (kind " + std::to_string(header.kind()) + ", federate " +
                             std::to_string(header.federate()) + ")";
  // Reported at most once a second for each fault and kind: strangers
  // cannot flood the log.
  DtNotifyErrorLimited(std::string(why) + std::to_string(header.kind()),
                       "TcpForwarder: connection %u from %s sent %s, and is closed; %llu refused so far\n",
                       from.link->id(), DtAddrToString(from.link->peerAddr()), reason.c_str() + 8,
                       static_cast<unsigned long long>(refusedFrames_));
  if (from.closeReason.empty()) from.closeReason = reason;
}

void DtTcpForwarder::relay(Entry& from, const char* data, std::size_t length, std::size_t) {
  from.spoke = true;
  from.lastHeard = now();
  if (gated() && &from != owner_) {
    // A federate's frames pass the gate one by one; those before a refused
    // one go on, nothing after it does.
    for (std::size_t at = 0; at < length; at += DtGetBigEndian<std::uint16_t>(data + at)) {
      const DtNetMsgHeader& header = *DtNetMsgHeader::at(data + at);
      if (const char* why = DtFrameGate::refusal(header, from.bindings)) {
        refuse(from, why, header);
        length = at;
        break;
      }
      if (header.kind() == DtResignMsgKind) noteResignation(from, header);
    }
  }
  if (length == 0) return;
  for (const auto& entry : entries_) {
    Entry& to = *entry;
    if (!listens(to)) continue;
    // Frame by frame, in runs of the frames that go.
    std::size_t runStart = 0;
    std::size_t at = 0;
    while (at < length) {
      const DtNetMsgHeader& header = *DtNetMsgHeader::at(data + at);
      const std::size_t size = header.length();
      if (!goesTo(to, from, header)) {
        queueFor(to, data + runStart, at - runStart, from.link->id());
        runStart = at + size;
      }
      at += size;
    }
    queueFor(to, data + runStart, length - runStart, from.link->id());
  }
  if (from.farewellAt > 0 && containsKind(data, length, DtResignMsgKind)) {
    // Its federate did what its resignation asked and said so: the last
    // words need not wait for the grace time.
    const std::vector<char> words = std::move(from.farewell);
    sayFarewell(from, from.farewellReason, words.data(), words.size());
  }
}

void DtTcpForwarder::noteResignation(Entry& from, const DtNetMsgHeader& header) {
  for (const DtLinkBinding& binding : from.bindings) {
    if (binding.federate == header.federate() && DtFrameGate::namesExecution(header, binding)) {
      from.resigned.push_back(binding);
    }
  }
}

bool DtTcpForwarder::speaksForNobody(const Entry& entry) {
  // Once a federate's resignation went on, the rtiexec unbinds it soon:
  // its peer may close before that.
  return std::all_of(entry.bindings.begin(), entry.bindings.end(), [&](const DtLinkBinding& bound) {
    return std::any_of(entry.resigned.begin(), entry.resigned.end(), [&](const DtLinkBinding& gone) {
      return gone.execHandle == bound.execHandle && gone.federate == bound.federate;
    });
  });
}

bool DtTcpForwarder::containsKind(const char* data, std::size_t length, int kind) {
  for (std::size_t at = 0; at < length; at += DtGetBigEndian<std::uint16_t>(data + at)) {
    if (static_cast<unsigned char>(data[at + DtNetMsgHeader::kindOffset]) == kind) return true;
  }
  return false;
}

void DtTcpForwarder::forward(const char* data, int length) {
  if (length <= 0) return;
  for (const auto& entry : entries_) {
    if (!listens(*entry)) continue;
    if (gated() && entry.get() != owner_ && !DtFrameGate::hears(*DtNetMsgHeader::at(data), entry->bindings)) continue;
    queueFor(*entry, data, static_cast<std::size_t>(length));
  }
}

void DtTcpForwarder::sendTo(DtForwarderLink& link, const char* data, int length) {
  const auto found = byId_.find(link.id());
  if (found != byId_.end() && length > 0) queueFor(*found->second, data, static_cast<std::size_t>(length));
}

// The pass ------------------------------------------------------------------------

bool DtTcpForwarder::serviceConnections(double seconds) {
  const bool woken = takeInput(seconds);
  // Closing a connection tells the others (through the close callback),
  // which queues more output: both until nothing is left to do.
  flushQueued();
  closeFailed();
  return woken;
}

bool DtTcpForwarder::takeInput(double seconds) {
  if (!eventsWaiting_) waitForInput(seconds);
  eventsWaiting_ = false;
  bool woken = false;
  for (const DtPoller::Event& event : events_) {
    if (event.token != wakeToken && (event.token & outsideToken)) continue;  // the loop's to read
    if (event.token == listenToken) {
      acceptAll();
      continue;
    }
    if (event.token == wakeToken) {
      woken = true;
      continue;
    }
    const auto found = byId_.find(static_cast<std::uint32_t>(event.token));
    if (found == byId_.end()) continue;
    Entry& entry = *found->second;
    if (event.readable && entry.closeReason.empty()) {
      bool whole = false;
      entry.link->readFrames(readBudget, [&](const char* data, std::size_t length, std::size_t frames) {
        whole = true;
        relay(entry, data, length, frames);
      });
      // The time one frame stays unfinished: a busy sender whose reads end
      // in the middle of its next frame is not holding one.
      if (!entry.link->holdsPartFrame()) {
        entry.partSince = 0.0;
      } else if (whole || entry.partSince == 0.0) {
        entry.partSince = now();
      }
    }
    if (event.writable && !entry.dirty) {
      entry.dirty = true;
      dirty_.push_back(&entry);
    }
  }
  if (owner_ && owner_->dirty && !owner_->link->inProcess()) {
    dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), owner_), dirty_.end());
    owner_->dirty = false;
    sendQueued(*owner_);
  }
  closeFailed();
  expireIdle();
  return woken;
}

void DtTcpForwarder::flushQueued() {
  for (int round = 0; round < 4 && !dirty_.empty(); ++round) {
    flushDirty();
    closeFailed();
  }
}

void DtTcpForwarder::flushDirty() {
  std::vector<Entry*> dirty;
  dirty.swap(dirty_);
  for (Entry* entry : dirty) {
    entry->dirty = false;
    sendQueued(*entry);
  }
}

void DtTcpForwarder::sendQueued(Entry& entry) {
  if (!entry.closeReason.empty()) return;
  DtForwarderLink& link = *entry.link;
  link.flush();
  const bool wantWrite = !link.failed() && link.hasOutput();
  if (wantWrite != entry.watchingWrite) {
    poller_->modify(link.fd(), link.id(), wantWrite);
    entry.watchingWrite = wantWrite;
  }
}

void DtTcpForwarder::closeFailed() {
  // Closing a connection tells the owner (the close callback), which may
  // fail another: until none is left.
  for (;;) {
    std::vector<std::unique_ptr<Entry>> closing;
    for (auto& entry : entries_) {
      if (!entry->closeReason.empty() || entry->link->failed()) closing.push_back(std::move(entry));
    }
    if (closing.empty()) return;
    std::erase(entries_, nullptr);
    for (std::unique_ptr<Entry>& entry : closing) closeEntry(std::move(entry));
  }
}

void DtTcpForwarder::closeEntry(std::unique_ptr<Entry> entry) {
  byId_.erase(entry->link->id());
  if (owner_ == entry.get()) owner_ = nullptr;
  if (inProcessOwner_ == entry.get()) inProcessOwner_ = nullptr;
  dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), entry.get()), dirty_.end());
  DtForwarderLink& link = *entry->link;
  // A link that failed by itself (most often: its peer closed while
  // traffic still came to it) first hands up what its peer sent before
  // that, its resignation among it; one closed by the forwarder does not.
  if (entry->closeReason.empty()) {
    link.readLeftovers(leftoverBudget, [&](const char* data, std::size_t length, std::size_t frames) {
      relay(*entry, data, length, frames);
    });
  }
  const std::string reason = entry->closeReason.empty() ? link.failure() : entry->closeReason;
  ++closedSinceTrim_;
  // A peer that closes (or resets) when it speaks for no federate, as one
  // that resigned does, ends normally.
  const bool normalEnd = reason == "closed by the peer" || reason == "Connection reset by peer";
  // A refusal, or a stranger that stayed silent, was reported as such.
  const bool reported = reason.rfind("refused ", 0) == 0 || entry->expired;
  if (reason == "the forwarder ends" || reported || (normalEnd && speaksForNobody(*entry))) {
    DtNotifyVerbose("TcpForwarder: connection %u from %s %s\n", link.id(), DtAddrToString(link.peerAddr()),
                    reason.c_str());
  } else {
    DtNotifyError("TcpForwarder: closing connection %u from %s: %s\n", link.id(), DtAddrToString(link.peerAddr()),
                  reason.c_str());
  }
  if (!link.inProcess()) poller_->remove(link.fd());
  if (onClose_) onClose_(link);
}
