#pragma once
// A message with an attribute handle set at a fixed place of its body
// (Net::attrHandles), which it decodes when first asked and keeps until the
// set is written again.

#include "api/DtAttributeHandleSet.h"
#include "msg/DtKept.h"
#include "msg/DtMsgClass.h"

template <class Self, class Net, DtRtiMsgKind Kind, class Base = DtRtiMsg>
class DtHandleSetMsg : public DtMsgClass<Self, Base, Net, Kind> {
  using Pattern = DtMsgClass<Self, Base, Net, Kind>;

public:
  using Pattern::Pattern;
  // The set must hold handles below 320 (they travel as a 320-bit map);
  // another one is refused with a message.
  virtual void setAttrHandles(const RTI::AttributeHandleSet& set) {
    kept_.reset();
    this->putHandleSet(Net::attrHandles, set, "attribute handle set");
  }
  // Valid until the next setAttrHandles or the message's end.
  virtual const RTI::AttributeHandleSet& attrHandles() const {
    if (!kept_) {
      auto decoded = this->getHandleSet(Net::attrHandles);
      kept_.reset(decoded ? decoded.release() : new DtAttributeHandleSet);
    }
    return *kept_.get();
  }

protected:
  void printHandles() const {
    if (auto set = this->getHandleSet(Net::attrHandles)) static_cast<DtAttributeHandleSet&>(*set).print();
  }

private:
  mutable DtKept<RTI::AttributeHandleSet> kept_;
};
