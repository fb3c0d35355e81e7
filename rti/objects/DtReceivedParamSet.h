#pragma once
// DtReceivedParamSet: the parameters of a received interaction as the
// federate's receiveInteraction sees them: the values stay where the message
// holds them, and the set only points at them (all of them, or those a base
// class may see). It tells the message's transport and order.
//
// The interaction manager fills one for each delivery and empties it when
// the callback returns; its room is kept, so a delivery allocates nothing.
// Valid during the callback only, as any set handed to a federate callback.
// A federate may still change it like any set (add copies the value in;
// moveFrom into another set removes the pair here).

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"

class DtAttrVal;
class DtInteractionMsg;

class DtReceivedParamSet final : public RTI::ParameterHandleValuePairSet {
public:
  DtReceivedParamSet();
  ~DtReceivedParamSet() override;
  DtReceivedParamSet(const DtReceivedParamSet&) = delete;
  DtReceivedParamSet& operator=(const DtReceivedParamSet&) = delete;

  // Points at the message's parameters, those for which keep(handle,
  // length) is true; false when the list is malformed (the set then holds
  // the parameters before the fault).
  template <class Keep>
  bool view(const DtInteractionMsg& msg, Keep keep);
  // Forgets the message.
  void clear();

  RTI::ULong size() const override { return static_cast<RTI::ULong>(entries_.size()); }
  // ArrayIndexOutOfBounds for an index past the last pair.
  RTI::Handle getHandle(RTI::ULong i) const override { return at(i).handle; }
  RTI::ULong getValueLength(RTI::ULong i) const override { return at(i).length; }
  void getValue(RTI::ULong i, char* buff, RTI::ULong& valueLength) const override;
  char* getValuePointer(RTI::ULong i, RTI::ULong& valueLength) const override;
  RTI::TransportType getTransportType() const override { return transport_; }
  RTI::OrderType getOrderType() const override { return order_; }
  RTI::Region* getRegion() const override { return nullptr; }
  // A copy of the value; InteractionParameterNotDefined for a handle that
  // could not travel (65536 and above).
  void add(RTI::Handle h, const char* buff, RTI::ULong valueLength) override;
  // The first pair of the handle; the last pair takes its index.
  void remove(RTI::Handle h) override;
  void moveFrom(const RTI::ParameterHandleValuePairSet& other, RTI::ULong& i) override;
  void empty() override;
  RTI::ULong start() const override { return 0; }
  RTI::ULong valid(RTI::ULong i) const override { return i < entries_.size() ? 1 : 0; }
  RTI::ULong next(RTI::ULong i) const override { return i + 1; }

private:
  struct Entry {
    RTI::Handle handle;
    char* value;
    RTI::ULong length;
  };
  const Entry& at(RTI::ULong i) const;
  void begin(const DtInteractionMsg& msg);

  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<DtAttrVal>> added_;  // values the federate added
  RTI::TransportType transport_ = 0;
  RTI::OrderType order_ = 0;
};

// ---- template

#include "msg/DtUpdateMsgs.h"

template <class Keep>
bool DtReceivedParamSet::view(const DtInteractionMsg& msg, Keep keep) {
  begin(msg);
  return msg.forEachValue([&](std::uint16_t handle, const char* value, std::uint16_t length) {
    // The message's own bytes: a federate may write through the pointer as
    // through any set's.
    if (keep(handle, length)) entries_.push_back({handle, const_cast<char*>(value), length});
  });
}
