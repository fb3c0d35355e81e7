#include "api/DtFedAmbWrapperChain.h"

DtFedAmbWrapperChain::DtFedAmbWrapperChain() : federateAmbassador_(nullptr), first_(nullptr) {}

DtFedAmbWrapperChain::~DtFedAmbWrapperChain() = default;

void DtFedAmbWrapperChain::init(RTI::FederateAmbassador* federateAmbassador) {
  federateAmbassador_ = federateAmbassador;
  RTI::FederateAmbassador* next = federateAmbassador;
  for (auto entry = wrappers_.rbegin(); entry != wrappers_.rend(); ++entry) {
    entry->second->setFedAmb(next);
    next = entry->second.get();
  }
  first_ = next;
}

void DtFedAmbWrapperChain::reset() {
  federateAmbassador_ = nullptr;
  first_ = nullptr;
}

RTI::FederateAmbassador* DtFedAmbWrapperChain::first() const { return first_; }

std::unique_ptr<DtFedAmbWrapper> DtFedAmbWrapperChain::addWrapper(const DtString& name,
                                                                  std::unique_ptr<DtFedAmbWrapper> wrapper) {
  if (!wrapper) return nullptr;
  // The earlier wrapper may sit anywhere in a linked chain: link again
  // without it before it goes back to the caller.
  std::unique_ptr<DtFedAmbWrapper> earlier = takeOut(name);
  if (earlier && first_ != nullptr) init(federateAmbassador_);
  if (first_ != nullptr) {
    wrapper->setFedAmb(first_);
    first_ = wrapper.get();
  }
  wrappers_.emplace_back(name, std::move(wrapper));
  return earlier;
}

std::unique_ptr<DtFedAmbWrapper> DtFedAmbWrapperChain::removeWrapper(const DtString& name) {
  std::unique_ptr<DtFedAmbWrapper> removed = takeOut(name);
  // An unlinked chain stays unlinked: first() is null until init.
  if (first_ != nullptr) init(federateAmbassador_);
  return removed;
}

std::unique_ptr<DtFedAmbWrapper> DtFedAmbWrapperChain::takeOut(const DtString& name) {
  for (auto entry = wrappers_.begin(); entry != wrappers_.end(); ++entry) {
    if (entry->first == name) {
      std::unique_ptr<DtFedAmbWrapper> removed = std::move(entry->second);
      wrappers_.erase(entry);
      return removed;
    }
  }
  return nullptr;
}
