#include "net/DtSocketMgr.h"

#include <algorithm>
#include <cerrno>

#include "net/DtListenSocket.h"
#include "net/DtNetAddress.h"
#include "net/DtSockStartup.h"
#include "net/DtTcpSocket.h"
#include "port/DtPortSocket.h"
#include "util/DtNotify.h"

DtSocketMgr::DtSocketMgr(int port) : port_(port) {
  const DtListenResult listening = DtListenSocket(port, "DtSocketMgr Constructor:");
  listenDescriptor_ = listening.fd;
  addressInUse_ = listening.addressInUse;
  if (listenDescriptor_ < 0) return;
  port_ = listening.port;
  setNoDelay(true);
  ok_ = true;
}

DtSocketMgr::~DtSocketMgr() {
  if (listenDescriptor_ >= 0) DtPortCloseSocket(listenDescriptor_);
  while (DtListItem* item = connections_.head()) removeConnection(static_cast<DtTcpSocket*>(item->data()));
  clearCallbacks();
}

void DtSocketMgr::acceptConnections() {
  if (!isOk()) return;
  for (;;) {
    DtSockAddr peer;
    const int fd = DtPortAccept(listenDescriptor_, &peer);
    if (fd < 0) {
      if (!DtPortWouldBlock(errno)) DtNotifyPerror("TcpSocket accept error: ");
      return;
    }
    DtTcpSocket* connection = new DtTcpSocket(fd, peer.address);
    lastPeerAddr_ = peer.address;
    connection->setNoDelay(noDelay_);
    connection->setSizeWidth(sizeWidth_);
    connection->setSizeOffset(sizeOffset_);
    connections_.append(connection);
    callAll(acceptCallbacks_, connection);
  }
}

bool DtSocketMgr::isOk() const { return ok_; }
bool DtSocketMgr::addressInUse() const { return addressInUse_; }
DtList& DtSocketMgr::connections() { return connections_; }

void DtSocketMgr::removeConnection(DtTcpSocket* connection) {
  DtListItem* item = connections_.find(connection);
  if (!item) return;
  callAll(closeCallbacks_, connection);
  connections_.remove(item);
  delete connection;
}

void DtSocketMgr::setNoDelay(bool on) {
  DtPortSetOption(listenDescriptor_, DtSockOption::NoDelay, 1);
  noDelay_ = on;
  for (DtListItem* item = connections_.head(); item; item = item->next())
    static_cast<DtTcpSocket*>(item->data())->setNoDelay(on);
}

void DtSocketMgr::removeEntry(std::vector<Entry>& entries, Entry entry) {
  const auto found = std::find(entries.begin(), entries.end(), entry);
  if (found != entries.end()) entries.erase(found);
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): the copy lets a callback (un)register others.
void DtSocketMgr::callAll(std::vector<Entry> entries, DtTcpSocket* connection) {
  for (const Entry& entry : entries) entry.fn(connection, entry.data);
}

void DtSocketMgr::addAcceptCallback(Callback fn, void* data) { acceptCallbacks_.push_back({fn, data}); }
void DtSocketMgr::removeAcceptCallback(Callback fn, void* data) { removeEntry(acceptCallbacks_, {fn, data}); }
void DtSocketMgr::addCloseCallback(Callback fn, void* data) { closeCallbacks_.push_back({fn, data}); }
void DtSocketMgr::removeCloseCallback(Callback fn, void* data) { removeEntry(closeCallbacks_, {fn, data}); }
int DtSocketMgr::sizeOffset() const { return sizeOffset_; }
int DtSocketMgr::sizeWidth() const { return sizeWidth_; }
void DtSocketMgr::setSizeOffset(int offset) { sizeOffset_ = offset; }

void DtSocketMgr::setSizeWidth(int width) {
  sizeWidth_ = (width == 1 || width == 2 || width == 4) ? width : 2;
  if (sizeWidth_ != width) DtNotifyError("Invalid value for size, using default value\n");
}

void DtSocketMgr::clearCallbacks() {
  acceptCallbacks_.clear();
  closeCallbacks_.clear();
}
