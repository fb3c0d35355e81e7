#include "msg/DtMsgRegistration.h"

#include <utility>

DtMsgRegistration::DtMsgRegistration(DtMsgCallbackRegistry* registry, DtRtiMsgKind kind,
                                     const DtRtiMsgCallbackInfo& record, char mom)
    : registry_(registry), kind_(kind), record_(record), mom_(mom) {
  if (registry_) registry_->addMsgCallback(kind_, record_, mom_);
}

DtMsgRegistration::DtMsgRegistration(DtMsgRegistration&& other) noexcept
    : registry_(std::exchange(other.registry_, nullptr)),
      kind_(other.kind_),
      record_(other.record_),
      mom_(other.mom_) {}

DtMsgRegistration& DtMsgRegistration::operator=(DtMsgRegistration&& other) noexcept {
  if (this != &other) {
    reset();
    registry_ = std::exchange(other.registry_, nullptr);
    kind_ = other.kind_;
    record_ = other.record_;
    mom_ = other.mom_;
  }
  return *this;
}

DtMsgRegistration::~DtMsgRegistration() { reset(); }

void DtMsgRegistration::reset() {
  if (DtMsgCallbackRegistry* registry = std::exchange(registry_, nullptr)) {
    registry->removeMsgCallback(kind_, record_, mom_);
  }
}
