#pragma once
// What the update and interaction families share: a tag, a data-distribution
// channel (in the channel kinds 23, 24, 48 and 49), an optional time and a
// value list, which the message decodes into a set only when asked (and
// keeps), or lets a reader walk in place without copying (forEachValue).
//
// Building from a set costs one copy of the values: the message is sized
// once and each value copied into it.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "RTI.hh"
#include "msg/DtKept.h"
#include "msg/DtNetValueList.h"
#include "msg/DtRtiMsg.h"

// The indexes of a body's variable parts (-1 when it has none of that sort).
struct DtTrafficRoles {
  int time;
  int tag;
  int name;
  int list;
};

template <class Set>
class DtValueListMsg : public DtRtiMsg {
public:
  using List = DtNetValueList<Set>;

  char isConstrained() const override { return 1; }

  // The channel field, when the message's kind has one; else nothing / 0.
  virtual void setChannel(unsigned long channel);
  virtual unsigned long channel() const;
  virtual void setTag(const char* tag);
  // Null when there is none.
  virtual const char* tag() const;
  virtual int tagFieldSize() const { return partLength(roles().tag); }
  virtual int channelFieldSize() const { return DtRtiMsg::channelFieldSize(); }

  // The list's count; 0 when the message has no list yet.
  int numValues() const;
  // Calls f(handle, value, length) for each value in place; false when the
  // list is malformed.
  template <class F>
  bool forEachValue(F&& f) const {
    return List::forEach(partPtr(roles().list), partLength(roles().list), f);
  }
  // Writes the list; `resize` 0 keeps the list's present room (the builder
  // sized it). A set whose handles or lengths do not fit 16 bits, or that
  // would make the message too long, is refused with a message.
  bool setValues(const Set& set, char resize);
  // The decoded set (kept until the list is written again).
  const Set& values() const;
  std::string statusText(int status) const override;

  // The bytes a list of this set takes: 2 plus, per member, 4 plus its
  // length rounded up to even (-1 when it cannot travel).
  static long sizeNeededForNetRep(const Set& set) { return List::sizeNeeded(set); }

  // The size a message with these parts will have (bounded by the largest
  // message), so that a value constructor allocates once.
  static int builtSize(int fixedWithChannel, const RTI::FedTime* time, const char* tag, const char* name,
                       const Set* set) {
    long total = fixedWithChannel + (time ? DtEven(time->encodedLength()) : 0);
    total += (tag ? DtEven(static_cast<long>(std::strlen(tag))) : 0) +
             (name ? DtEven(static_cast<long>(std::strlen(name))) : 0);
    const long list = set ? List::sizeNeeded(*set) : 0;
    total += list > 0 ? list : 0;
    return static_cast<int>(std::min<long>(total, theMaxSize));
  }

protected:
  using DtRtiMsg::DtRtiMsg;
  virtual const DtTrafficRoles& roles() const = 0;
  // The family's class-wide data-distribution switch.
  virtual char channelSwitch() const = 0;
  // A new empty set of the family's class with room for n values.
  virtual Set* makeSet(RTI::ULong n) const = 0;

  // Sizes the message once for all of its variable parts and fills them:
  // the parts must be empty (a built or cleared message). A text or time
  // that does not fit its size field is left out with a message.
  bool fill(const RTI::FedTime* time, const char* tag, const char* name, const Set* set);
  // The same with values held elsewhere, for a sender that would otherwise
  // copy them into a set first.
  bool fill(const RTI::FedTime* time, const char* tag, const char* name, const DtNetValueView& values);
  // Back to the fixed part (with the channel), every part empty.
  void clearParts();
  int checkBody() const override;
  void printTraffic(const char* first, long firstValue, const char* objName, const char* classLabel,
                    long classValue) const;

private:
  // What both fills share: Values is Set or DtNetValueView.
  template <class Values>
  bool fillWith(const RTI::FedTime* time, const char* tag, const char* name, const Values* values);

  mutable DtKept<Set> values_;
};

extern template class DtValueListMsg<RTI::AttributeHandleValuePairSet>;
extern template class DtValueListMsg<RTI::ParameterHandleValuePairSet>;
