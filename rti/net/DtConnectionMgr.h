#pragma once
// DtConnectionMgr: the object through which every manager sends messages and
// registers per-kind callbacks. This is the part the messages need: the
// factory that makes messages by kind and the two callback registries (the
// normal one and the one of the management object model). The connections,
// sending and the tick loop come with the transport.
//
// Not thread safe: used on the thread that ticks.

#include "net/DtDfltMsgFactory.h"
#include "net/DtRtiMsgCallbackInfo.h"
#include "net/DtRtiMsgCbMgr.h"
#include "net/DtRtiMsgKind.h"

class DtRIDParameters;
class DtRtiMsg;

class DtConnectionMgr {
public:
  // Fields empty; the default factory is in use from the start.
  explicit DtConnectionMgr(DtRIDParameters* rid = nullptr);
  DtConnectionMgr(const DtConnectionMgr&) = delete;
  DtConnectionMgr& operator=(const DtConnectionMgr&) = delete;
  virtual ~DtConnectionMgr();

  // Runs every callback of the message's kind in the normal registry (the
  // newest first); returns 0.
  virtual int processMsg(const DtRtiMsg& msg);
  // The same with the registry of the management object model.
  virtual int momProcessMsg(const DtRtiMsg& msg);
  // Registers in the MOM registry when `mom` is not 0, else in the normal one.
  virtual void addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom);
  virtual void removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom);
  // The same for a registration made by a message class (a typed record).
  void addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom);
  void removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom);
  // A new empty message of the kind from the factory in use (the caller owns
  // it); null for a kind without a class.
  virtual DtRtiMsg* create(DtRtiMsgKind kind);
  virtual void setMsgFactory(DtRtiMsgFactory* factory);
  virtual DtRtiMsgFactory* msgFactory() const { return msgFactory_; }

protected:
  DtRtiMsgCbMgr& registry(char mom) { return mom ? momCallbacks_ : callbacks_; }

  DtRtiMsgFactory* msgFactory_;  // not owned
  DtDfltMsgFactory defaultFactory_;
  DtRtiMsgCbMgr callbacks_;
  DtRtiMsgCbMgr momCallbacks_;
};
