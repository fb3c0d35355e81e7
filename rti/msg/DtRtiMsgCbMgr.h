#pragma once
// DtRtiMsgCbMgr: the callbacks registered per message kind. processMsg calls
// every callback of the message's kind, the most recently registered first.
// A callback may add or remove registrations (its own or others) while it
// runs: a registration removed during a dispatch is not called again and is
// freed once the outermost dispatch has finished; one added during a
// dispatch is first called for the next message.
//
// Not thread safe: used on the thread that ticks.

#include "msg/DtRtiMsgCallbackInfo.h"
#include "msg/DtRtiMsgKind.h"
#include "util/DtList.h"

class DtRtiMsgCbMgr {
public:
  DtRtiMsgCbMgr();
  DtRtiMsgCbMgr(const DtRtiMsgCbMgr& other);
  DtRtiMsgCbMgr& operator=(const DtRtiMsgCbMgr& other);
  virtual ~DtRtiMsgCbMgr();

  // Takes ownership of the record; a kind outside 0..254 is reported at
  // level 1 and the record freed.
  virtual void addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallbackInfo* record);
  virtual void addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback func, void* usr);
  // Removes every registration that matches; unknown ones and kinds outside
  // the registry are ignored.
  virtual void removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record);
  virtual void removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback func, void* usr);
  virtual void processMsg(const DtRtiMsg& msg) const;
  virtual int numCallbacks(DtRtiMsgKind kind) const;

protected:
  static int theMaxNumMsgKinds;  // 255

  void emptyList();
  void copyList(const DtRtiMsgCbMgr& other);

private:
  struct Record;
  bool inRange(int kind) const { return kind >= 0 && kind < listCount_; }
  void sweep() const;  // frees the registrations removed during a dispatch

  DtList* lists_;
  int listCount_;
  mutable int dispatching_ = 0;
  mutable bool removedDuringDispatch_ = false;
};
