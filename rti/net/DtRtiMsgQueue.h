#pragma once
// DtRtiMsgQueue: the time manager's queue of received messages, as the
// connection manager sees it (the time manager implements it). The
// connection manager offers every received message it is about to dispatch;
// a queue that takes one keeps its own copy and no callback runs for it.
//
// Called on the thread that ticks.

class DtRtiMsg;

class DtRtiMsgQueue {
public:
  virtual ~DtRtiMsgQueue() = default;
  // True when the queue kept (a copy of) the message for later delivery.
  // The caller keeps and deletes the message it passed.
  virtual char takeMsg(const DtRtiMsg& msg) = 0;
};
