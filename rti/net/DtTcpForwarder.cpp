#include "net/DtTcpForwarder.h"

#include <algorithm>

#include "net/DtTcpSocket.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"

DtTcpForwarder::DtTcpForwarder(int port)
    : socketMgr_(std::make_unique<DtSocketMgr>(port)), connections_(socketMgr_->connections()) {}

DtTcpForwarder::~DtTcpForwarder() = default;

void DtTcpForwarder::forward(const char* data, int length) {
  DtNotifyDebug("***Received packet with size %d: Forwarding...***\n", length);
  if (length == 0) return;
  for (DtListItem* item = connections_.head(); item; item = item->next()) {
    DtTcpSocket* connection = static_cast<DtTcpSocket*>(item->data());
    if (connection->isOk()) connection->sendTo(data, length, 0);
  }
}

void DtTcpForwarder::readAndForward(DtSocket* socket, double deadline) {
  if (!socket) {
    DtNotifyError("readAndForward: no socket.\n");
    return;
  }
  while (DtRealTime() < deadline) {
    socket->DtFlush();
    char* data = nullptr;
    const int length = socket->DtRecv(&data, nullptr);
    if (length < 1) return;
    forward(data, length);
  }
}

DtListItem* DtTcpForwarder::following(DtListItem* item) const {
  return item->next() ? item->next() : connections_.head();
}

void DtTcpForwarder::serviceConnections(double duration, double sliceLength) {
  const double deadline = DtRealTime() + duration;
  DtListItem* current = cursor_ ? connections_.find(cursor_) : nullptr;
  if (!current) current = connections_.head();
  // Each connection listed at the start is visited at most once.
  for (std::uint32_t toVisit = connections_.count(); current && toVisit > 0; --toVisit) {
    const double now = DtRealTime();
    if (now >= deadline) break;
    DtTcpSocket* connection = static_cast<DtTcpSocket*>(current->data());
    if (connection->isOk()) readAndForward(connection, std::min(now + sliceLength, deadline));
    DtListItem* next = following(current);
    if (!connection->isOk()) {
      if (next == current) next = nullptr;
      socketMgr_->removeConnection(connection);
    }
    current = next;
  }
  cursor_ = current ? static_cast<DtTcpSocket*>(current->data()) : nullptr;
}

DtSocketMgr* DtTcpForwarder::socketMgr() { return socketMgr_.get(); }
int DtTcpForwarder::sizeWidth() const { return socketMgr_->sizeWidth(); }
int DtTcpForwarder::sizeOffset() const { return socketMgr_->sizeOffset(); }
void DtTcpForwarder::setSizeWidth(int width) { socketMgr_->setSizeWidth(width); }
void DtTcpForwarder::setSizeOffset(int offset) { socketMgr_->setSizeOffset(offset); }
