#pragma once
// DtRtiMsgFactory: makes message objects by kind. Its receive table turns a
// received header (and the bytes behind it) into a message of the kind's
// class; its send table makes an empty message of a kind for sending. Both
// tables have theMaxMsgKinds (255) entries, empty until filled; an empty
// entry, or a kind outside the tables, yields null.
//
// Not thread safe; filled before use and read on the thread that ticks.

#include "msg/DtBufferPlaceHolder.h"
#include "msg/DtRtiMsgKind.h"

class DtNetMsgHeader;
class DtRtiMsg;

typedef DtRtiMsg* (*DtRtiMsgRecvCreator)(const DtNetMsgHeader* header, DtBufferPlaceHolder* where);
typedef DtRtiMsg* (*DtRtiMsgSendCreator)(DtBufferPlaceHolder* where);

class DtRtiMsgFactory {
public:
  static constexpr int theMaxMsgKinds = 255;

  DtRtiMsgFactory();
  DtRtiMsgFactory(const DtRtiMsgFactory& other);
  DtRtiMsgFactory& operator=(const DtRtiMsgFactory& other);
  virtual ~DtRtiMsgFactory();

  // A new empty message of the kind, built in `where` (null: own memory).
  virtual DtRtiMsg* create(DtRtiMsgKind kind, DtBufferPlaceHolder* where);
  // A new message read from the bytes that start at `header`, which must
  // hold the header's length; passing the bytes as `where` adopts them.
  virtual DtRtiMsg* create(const DtNetMsgHeader* header, DtBufferPlaceHolder* where);
  // Each returns the entry it replaced.
  virtual DtRtiMsgRecvCreator addRecvCreator(DtRtiMsgKind kind, DtRtiMsgRecvCreator creator);
  virtual DtRtiMsgSendCreator addSendCreator(DtRtiMsgKind kind, DtRtiMsgSendCreator creator);
  virtual void addCreators(DtRtiMsgKind kind, DtRtiMsgRecvCreator recv, DtRtiMsgSendCreator send);
  virtual int packetGood(const DtNetMsgHeader* header);
  static int dfltPacketGood(const DtNetMsgHeader* header);

  // The receive road for bytes from the network: refuses fewer than the
  // header's 8 bytes and a length that disagrees with the header, makes the
  // message (adopting the bytes when `where` is them) and refuses it when
  // its status is not 0. `status` (may be null) gets 0 when a message is
  // returned, 2 otherwise (the connection's code for a bad message).
  DtRtiMsg* createReceived(const char* bytes, int length, DtBufferPlaceHolder* where, int* status);

private:
  static bool inRange(int kind) { return kind >= 0 && kind < theMaxMsgKinds; }

  DtRtiMsgRecvCreator* recv_;
  DtRtiMsgSendCreator* send_;
};
