#include "msg/DtMsgSubscriptions.h"

DtMsgSubscriptions& DtMsgSubscriptions::operator=(DtMsgSubscriptions&& other) noexcept {
  if (this != &other) {
    clear();
    list_ = std::move(other.list_);
    other.list_.clear();
  }
  return *this;
}

DtMsgSubscriptions::~DtMsgSubscriptions() { clear(); }

void DtMsgSubscriptions::clear() {
  while (!list_.empty()) list_.pop_back();
}
