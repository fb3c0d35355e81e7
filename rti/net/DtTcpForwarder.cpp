#include "net/DtTcpForwarder.h"

#include <algorithm>
#include <cerrno>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgKind.h"
#include "net/DtListenSocket.h"
#include "net/DtNetAddress.h"
#include "port/DtPoller.h"
#include "port/DtPortSocket.h"
#include "util/DtBigEndian.h"
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
// Connections accepted in one pass at most.
constexpr int acceptsPerPass = 256;
// Refusals reported one by one, then every so many.
constexpr std::uint64_t refusalsReported = 10;
constexpr std::uint64_t refusalReportEvery = 100;

// The federates' object and interaction traffic: the rtiexec reads none of it.
bool isFederateTraffic(int kind) {
  switch (kind) {
    case DtInteractionRoMsgKind:
    case DtUpdateRoMsgKind:
    case DtDeleteRoMsgKind:
    case DtDdmInteractionRoMsgKind:
    case DtDdmUpdateRoMsgKind:
    case DtInteractionTsoMsgKind:
    case DtUpdateTsoMsgKind:
    case DtDeleteTsoMsgKind:
    case DtDdmInteractionTsoMsgKind:
    case DtDdmUpdateTsoMsgKind: return true;
    default: return false;
  }
}

// What only the rtiexec reads: a federate's requests to it (a federate's
// synchronization point messages register and achieve points; its time
// management messages ask for regulation, constraint and advances, and
// answer the constrained sync).
bool isRequestToTheRtiexec(int kind) {
  switch (kind) {
    case DtCreateMsgKind:
    case DtJoinMsgKind:
    case DtDestroyMsgKind:
    case DtJoinConfirmMsgKind:
    case DtAliveMsgKind:
    case DtSyncPointMsgKind:
    case DtEnableRegulationMsgKind:
    case DtEnableConstrainedMsgKind:
    case DtTimeAdvanceRequestMsgKind:
    case DtNextEventRequestMsgKind:
    case DtDisableMsgKind:
    case DtConstrainedSyncMsgKind: return true;
    default: return false;
  }
}

}  // namespace

struct DtTcpForwarder::Entry {
  explicit Entry(std::unique_ptr<DtForwarderLink> made) : link(std::move(made)) {}
  std::unique_ptr<DtForwarderLink> link;
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
  auto entry = std::make_unique<Entry>(std::make_unique<DtForwarderLink>(id, std::move(deliver)));
  Entry* added = entry.get();
  entries_.push_back(std::move(entry));
  byId_[id] = added;
  owner_ = inProcessOwner_ = added;
  if (onAccept_) onAccept_(*added->link);
  return added->link.get();
}

void DtTcpForwarder::relayFromOwner(const char* data, std::size_t length, std::uint32_t connection) {
  if (!inProcessOwner_ || length == 0) return;
  const auto found = connection != 0 ? byId_.find(connection) : byId_.end();
  if (found != byId_.end() && found->second != inProcessOwner_ && listens(*found->second)) {
    queueFor(*found->second, data, length);
    return;
  }
  // A connection that is gone (or none named): every federate hears it.
  relay(*inProcessOwner_, data, length, 0);
}

bool DtTcpForwarder::listens(const Entry& entry) const { return entry.spoke || !owner_ || &entry == owner_; }

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
    if (static_cast<int>(entries_.size()) >= maxConnections_) {
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
    auto entry = std::make_unique<Entry>(std::make_unique<DtForwarderLink>(fd, id, peer.address, peer.port));
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

void DtTcpForwarder::queueFor(Entry& to, const char* data, std::size_t length) {
  if (!to.closeReason.empty() || to.link->failed() || length == 0) return;
  to.link->queue(data, length);
  if (!to.dirty && !to.link->inProcess()) {
    to.dirty = true;
    dirty_.push_back(&to);
  }
}

void DtTcpForwarder::relay(Entry& from, const char* data, std::size_t length, std::size_t) {
  from.spoke = true;
  // What the packets hold, looked at once.
  bool traffic = false;
  bool requests = false;
  for (std::size_t at = 0; at < length; at += DtGetBigEndian<std::uint16_t>(data + at)) {
    const int kind = static_cast<unsigned char>(data[at + DtNetMsgHeader::kindOffset]);
    traffic = traffic || isFederateTraffic(kind);
    requests = requests || isRequestToTheRtiexec(kind);
  }
  const bool fromFederate = owner_ && &from != owner_;
  for (const auto& entry : entries_) {
    Entry& to = *entry;
    // The rtiexec has no use for its own messages.
    if (!listens(to) || (&to == owner_ && &from == owner_)) continue;
    // The rtiexec reads no federate traffic, and a sender drops its own;
    // a federate's requests are for the rtiexec alone (all hear them
    // while there is none).
    const bool dropTraffic = traffic && (&to == owner_ || &to == &from);
    const bool dropRequests = requests && (&to == &from || (fromFederate && &to != owner_));
    if (!dropTraffic && !dropRequests) {
      queueFor(to, data, length);
      continue;
    }
    // Frame by frame, in runs of the frames that go.
    std::size_t runStart = 0;
    std::size_t at = 0;
    while (at < length) {
      const std::size_t size = DtGetBigEndian<std::uint16_t>(data + at);
      const int kind = static_cast<unsigned char>(data[at + DtNetMsgHeader::kindOffset]);
      if ((dropTraffic && isFederateTraffic(kind)) || (dropRequests && isRequestToTheRtiexec(kind))) {
        queueFor(to, data + runStart, at - runStart);
        runStart = at + size;
      }
      at += size;
    }
    queueFor(to, data + runStart, length - runStart);
  }
}

void DtTcpForwarder::forward(const char* data, int length) {
  if (length <= 0) return;
  for (const auto& entry : entries_) {
    if (listens(*entry)) queueFor(*entry, data, static_cast<std::size_t>(length));
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
      entry.link->readFrames(readBudget, [&](const char* data, std::size_t length, std::size_t frames) {
        relay(entry, data, length, frames);
      });
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
  for (;;) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [](const auto& entry) {
      return !entry->closeReason.empty() || entry->link->failed();
    });
    if (found == entries_.end()) return;
    std::unique_ptr<Entry> entry = std::move(*found);
    entries_.erase(found);
    byId_.erase(entry->link->id());
    if (owner_ == entry.get()) owner_ = nullptr;
    if (inProcessOwner_ == entry.get()) inProcessOwner_ = nullptr;
    dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), entry.get()), dirty_.end());
    DtForwarderLink& link = *entry->link;
    const std::string reason = entry->closeReason.empty() ? link.failure() : entry->closeReason;
    if (reason == "closed by the peer" || reason == "the forwarder ends") {
      DtNotifyVerbose("TcpForwarder: connection %u from %s %s\n", link.id(), DtAddrToString(link.peerAddr()),
                      reason.c_str());
    } else {
      DtNotifyError("TcpForwarder: closing connection %u from %s: %s\n", link.id(), DtAddrToString(link.peerAddr()),
                    reason.c_str());
    }
    if (!link.inProcess()) poller_->remove(link.fd());
    if (onClose_) onClose_(link);
  }
}
