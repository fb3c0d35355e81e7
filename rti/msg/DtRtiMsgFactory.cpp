#include "msg/DtRtiMsgFactory.h"

#include <algorithm>
#include <utility>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsg.h"

DtRtiMsgFactory::DtRtiMsgFactory()
    : recv_(new DtRtiMsgRecvCreator[theMaxMsgKinds]()), send_(new DtRtiMsgSendCreator[theMaxMsgKinds]()) {}

DtRtiMsgFactory::DtRtiMsgFactory(const DtRtiMsgFactory& other) : DtRtiMsgFactory() { *this = other; }

DtRtiMsgFactory& DtRtiMsgFactory::operator=(const DtRtiMsgFactory& other) {
  if (this != &other) {
    std::copy(other.recv_, other.recv_ + theMaxMsgKinds, recv_);
    std::copy(other.send_, other.send_ + theMaxMsgKinds, send_);
  }
  return *this;
}

DtRtiMsgFactory::~DtRtiMsgFactory() {
  delete[] recv_;
  delete[] send_;
}

DtRtiMsg* DtRtiMsgFactory::create(DtRtiMsgKind kind, DtBufferPlaceHolder* where) {
  if (!inRange(kind) || !send_[kind]) return nullptr;
  return send_[kind](where);
}

DtRtiMsg* DtRtiMsgFactory::create(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
  if (!packetGood(header)) return nullptr;
  const int kind = header->kind();
  if (!inRange(kind) || !recv_[kind]) return nullptr;
  return recv_[kind](header, where);
}

DtRtiMsgRecvCreator DtRtiMsgFactory::addRecvCreator(DtRtiMsgKind kind, DtRtiMsgRecvCreator creator) {
  if (!inRange(kind)) return nullptr;
  return std::exchange(recv_[kind], creator);
}

DtRtiMsgSendCreator DtRtiMsgFactory::addSendCreator(DtRtiMsgKind kind, DtRtiMsgSendCreator creator) {
  if (!inRange(kind)) return nullptr;
  return std::exchange(send_[kind], creator);
}

void DtRtiMsgFactory::addCreators(DtRtiMsgKind kind, DtRtiMsgRecvCreator recv, DtRtiMsgSendCreator send) {
  addSendCreator(kind, send);
  addRecvCreator(kind, recv);
}

int DtRtiMsgFactory::packetGood(const DtNetMsgHeader* header) { return dfltPacketGood(header); }

int DtRtiMsgFactory::dfltPacketGood(const DtNetMsgHeader* header) { return header != nullptr; }

DtRtiMsg* DtRtiMsgFactory::createReceived(const char* bytes, int length, DtBufferPlaceHolder* where, int* status) {
  if (status) *status = 2;
  if (!bytes || length < DtNetMsgHeader::theSize || DtNetMsgHeader::at(bytes)->length() != length) return nullptr;
  DtRtiMsg* msg = create(DtNetMsgHeader::at(bytes), where);
  if (!msg) return nullptr;
  if (msg->status() != DtRtiMsg::Valid) {
    delete msg;
    return nullptr;
  }
  if (status) *status = 0;
  return msg;
}
