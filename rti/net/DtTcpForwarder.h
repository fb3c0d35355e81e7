#pragma once
// DtTcpForwarder: relays packets between TCP connections. It owns a
// DtSocketMgr; what it reads from one connection it sends to every open
// connection, the sender's included. A connection that fails or falls
// behind (DtTcpSocket's queue cap) is removed on the next pass, while the
// others go on.
//
// Used by one thread (the rtiexec's network thread).

#include <memory>

#include "net/DtSocketMgr.h"

class DtSocket;
class DtTcpSocket;

class DtTcpForwarder {
public:
  explicit DtTcpForwarder(int port);
  DtTcpForwarder(const DtTcpForwarder&) = delete;
  DtTcpForwarder& operator=(const DtTcpForwarder&) = delete;
  virtual ~DtTcpForwarder();

  // Sends the packet on every connection that is ok, in list order.
  virtual void forward(const char* data, int length);
  // Until the deadline (DtRealTime seconds): flushes the socket, reads one
  // packet and forwards it; stops at the first read that gives nothing.
  virtual void readAndForward(DtSocket* socket, double deadline);
  // One round-robin pass over the connections for at most `duration`
  // seconds, each read for at most `sliceLength` seconds; a connection
  // that is not ok is removed. The next pass starts where this one stopped.
  virtual void serviceConnections(double duration, double sliceLength);
  virtual DtSocketMgr* socketMgr();
  virtual int sizeWidth() const;
  virtual int sizeOffset() const;
  virtual void setSizeWidth(int width);
  virtual void setSizeOffset(int offset);

private:
  // The connection after `item`, wrapping from the tail to the head.
  DtListItem* following(DtListItem* item) const;

  std::unique_ptr<DtSocketMgr> socketMgr_;
  DtTcpSocket* cursor_ = nullptr;  // where the next pass starts; null: the head
  DtList& connections_;
};
