#pragma once
// DtSocketMgr: the listening side of the reliable transport. It listens on
// a TCP port, accepts connections as DtTcpSocket objects (which it owns),
// keeps them in a list and tells registered callbacks when a connection
// comes (after it is listed) or goes (before it is deleted).
//
// Used by one thread (the rtiexec's network thread).

#include <cstdint>
#include <vector>

#include "util/DtList.h"

class DtTcpSocket;

class DtSocketMgr {
public:
  typedef void (*Callback)(DtTcpSocket* connection, void* data);

  // Listens on the port (0: a port of the system's choice, see port()).
  // A port that is taken leaves addressInUse() true; any failure leaves
  // isOk() false and nothing listening.
  explicit DtSocketMgr(int port);
  DtSocketMgr(const DtSocketMgr&) = delete;
  DtSocketMgr& operator=(const DtSocketMgr&) = delete;
  // Closes the listening socket, removes every connection (the close
  // callbacks run), then forgets the callbacks.
  virtual ~DtSocketMgr();

  // Accepts every connection waiting now. An accept error other than
  // would-block is reported and ends accepting for this call.
  virtual void acceptConnections();
  virtual bool isOk() const;
  virtual bool addressInUse() const;
  // Of DtTcpSocket, in the order accepted.
  virtual DtList& connections();
  // When listed: the close callbacks, then the connection is unlisted and
  // deleted.
  virtual void removeConnection(DtTcpSocket* connection);
  virtual void setNoDelay(bool on);
  virtual void addAcceptCallback(Callback fn, void* data);
  virtual void removeAcceptCallback(Callback fn, void* data);
  virtual void addCloseCallback(Callback fn, void* data);
  virtual void removeCloseCallback(Callback fn, void* data);
  virtual int sizeOffset() const;
  virtual int sizeWidth() const;
  virtual void setSizeOffset(int offset);
  virtual void setSizeWidth(int width);
  virtual void clearCallbacks();

  // The port it listens on.
  int port() const { return port_; }
  int listenDescriptor() const { return listenDescriptor_; }
  std::uint32_t lastPeerAddr() const { return lastPeerAddr_; }

private:
  struct Entry {
    Callback fn;
    void* data;
    bool operator==(const Entry& other) const { return fn == other.fn && data == other.data; }
  };
  static void removeEntry(std::vector<Entry>& entries, Entry entry);
  // Callbacks are called from a copy, so that one may (un)register others.
  static void callAll(std::vector<Entry> entries, DtTcpSocket* connection);

  int listenDescriptor_ = -1;
  int port_ = 0;
  int sizeOffset_ = 0;
  int sizeWidth_ = 2;
  std::uint32_t lastPeerAddr_ = 0;
  DtList connections_;
  bool ok_ = false;
  bool addressInUse_ = false;
  bool noDelay_ = true;
  std::vector<Entry> acceptCallbacks_;
  std::vector<Entry> closeCallbacks_;
};
