#include "msg/DtValueListMsg.h"

#include <cstring>
#include <string>

#include "api/DtValuePairSet.h"
#include "util/DtNotify.h"

template <class Set>
void DtValueListMsg<Set>::setChannel(unsigned long channel) {
  if (channelFieldSize() == 4) putChecked(DtU32At{layout()->fixedSize}, channel, "channel");
}

template <class Set>
unsigned long DtValueListMsg<Set>::channel() const {
  return channelFieldSize() == 4 ? get(DtU32At{layout()->fixedSize}) : 0;
}

template <class Set>
void DtValueListMsg<Set>::setTag(const char* tag) {
  setTextPart(roles().tag, tag, "tag");
}

template <class Set>
const char* DtValueListMsg<Set>::tag() const {
  return textPart(roles().tag);
}

template <class Set>
int DtValueListMsg<Set>::numValues() const {
  return List::count(partPtr(roles().list), partLength(roles().list));
}

template <class Set>
bool DtValueListMsg<Set>::setValues(const Set& set, char resize) {
  const long needed = List::sizeNeeded(set);
  if (needed < 0) {
    refuse("%s: a value list whose handles, lengths or count pass 16 bits cannot travel; not set\n", className());
    return false;
  }
  const int list = roles().list;
  if ((resize || partLength(list) < needed) && !resizePart(list, static_cast<int>(needed), 0, "value list"))
    return false;
  values_.reset();
  List::write(partPtr(list), set);
  return true;
}

template <class Set>
const Set& DtValueListMsg<Set>::values() const {
  if (!values_) {
    const int list = roles().list;
    Set* set = makeSet(numValues());
    values_.reset(set);
    try {
      List::read(partPtr(list), partLength(list), *set);
    } catch (const RTI::Exception&) {
      // A value the set refuses: the set keeps the values before it.
    }
  }
  return *values_.get();
}

template <class Set>
void DtValueListMsg<Set>::clearParts() {
  clearRefusal();
  for (int i = 0; i < static_cast<int>(layout()->parts.size()); ++i) forgetPart(i);
  values_.reset();
  setSize(partsStart());
  for (const DtPart& p : layout()->parts) {
    if (p.sizeWidth == 1) put(DtU8At{p.sizeOffset}, 0);
    if (p.sizeWidth == 2) put(DtU16At{p.sizeOffset}, 0);
  }
}

template <class Set>
bool DtValueListMsg<Set>::fill(const RTI::FedTime* time, const char* tag, const char* name, const Set* set) {
  return fillWith(time, tag, name, set);
}

template <class Set>
bool DtValueListMsg<Set>::fill(const RTI::FedTime* time, const char* tag, const char* name,
                               const DtNetValueView& values) {
  return fillWith(time, tag, name, &values);
}

template <class Set>
template <class Values>
bool DtValueListMsg<Set>::fillWith(const RTI::FedTime* time, const char* tag, const char* name, const Values* set) {
  using ValuesList = DtNetValueList<Values>;
  const DtTrafficRoles& r = roles();
  const auto& parts = layout()->parts;
  auto textFits = [&](int part, const char* text, const char* what) {
    if (!text || part < 0) return false;
    const long chars = static_cast<long>(std::strlen(text));
    if (chars <= parts[static_cast<std::size_t>(part)].maxContent()) return true;
    refuse("%s: a %s of %ld characters does not fit its size field (at most %ld); not set\n", className(), what, chars,
           parts[static_cast<std::size_t>(part)].maxContent());
    return false;
  };
  const bool withTag = textFits(r.tag, tag, "tag");
  const bool withName = textFits(r.name, name, "name");
  const int timeLength = time && r.time >= 0 ? time->encodedLength() : 0;
  const bool withTime = time && r.time >= 0 && timeLength <= parts[static_cast<std::size_t>(r.time)].maxContent();
  if (time && r.time >= 0 && !withTime)
    refuse("%s: a time of %d encoded bytes does not fit its size field; not set\n", className(), timeLength);
  const long listLength = set ? ValuesList::sizeNeeded(*set) : 0;
  if (listLength < 0) {
    refuse("%s: a value list whose handles, lengths or count pass 16 bits cannot travel; not set\n", className());
    return false;
  }

  // Size fields first, so that every part finds its place.
  auto putSize = [&](int part, std::uint32_t value) {
    const DtPart& p = parts[static_cast<std::size_t>(part)];
    if (p.sizeWidth == 1) put(DtU8At{p.sizeOffset}, static_cast<std::uint8_t>(value));
    if (p.sizeWidth == 2) put(DtU16At{p.sizeOffset}, static_cast<std::uint16_t>(value));
  };
  const long tagChars = withTag ? static_cast<long>(std::strlen(tag)) : 0;
  const long nameChars = withName ? static_cast<long>(std::strlen(name)) : 0;
  const long total = partsStart() + (withTime ? DtEven(timeLength) : 0) + (withTag ? DtEven(tagChars) : 0) +
                     (withName ? DtEven(nameChars) : 0) + listLength;
  if (total > theMaxSize) {
    refuse("%s: a message of %ld bytes cannot be sent (at most %d); not set\n", className(), total, theMaxSize);
    return false;
  }
  setSize(static_cast<int>(total));
  if (size() != total) return false;
  if (withTime) putSize(r.time, static_cast<std::uint32_t>(timeLength));
  if (withTag) putSize(r.tag, static_cast<std::uint32_t>(tagChars + 1));
  if (withName) putSize(r.name, static_cast<std::uint32_t>(nameChars + 1));
  if (withTime) time->encode(partPtr(r.time));
  if (withTag) std::memcpy(partPtr(r.tag), tag, static_cast<std::size_t>(tagChars));
  if (withName) std::memcpy(partPtr(r.name), name, static_cast<std::size_t>(nameChars));
  if (set) ValuesList::write(partPtr(r.list), *set);
  return true;
}

template <class Set>
int DtValueListMsg<Set>::checkBody() const {
  const bool withChannel = DtRtiMsgKinds::hasChannel(msgKind());
  if (withChannel != (channelSwitch() != 0)) return WrongChannel;
  const int list = roles().list;
  const int length = partLength(list);
  return length == 0 || List::valid(partPtr(list), length) ? Valid : PartPastEnd;
}

template <class Set>
std::string DtValueListMsg<Set>::statusText(int status) const {
  if (status != WrongChannel) return DtRtiMsg::statusText(status);
  const bool withChannel = DtRtiMsgKinds::hasChannel(msgKind());
  return "kind " + std::to_string(static_cast<int>(msgKind())) + (withChannel ? " carries" : " lacks") +
         " a channel, but this federate runs data distribution " + (channelSwitch() ? "on" : "off");
}

template <class Set>
void DtValueListMsg<Set>::printTraffic(const char* first, long firstValue, const char* objName, const char* classLabel,
                                       long classValue) const {
  if (channelFieldSize() == 4) DtNotifyInfo("%-20s %ld\n", "Channel:", static_cast<long>(channel()));
  if (first) DtNotifyInfo("%-20s %ld\n", first, firstValue);
  if (objName) DtNotifyInfo("%-20s %s\n", "ObjectName:", objName);
  DtNotifyInfo("%-20s %ld\n", classLabel, classValue);
  const char* t = tag();
  DtNotifyInfo("%-20s %s\n", "Tag:", t ? t : "");
  DtNotifyInfo("%-20s %s\n", "Transport:", transportType() == DtBestEffort ? "BestEffort" : "Reliable");
  DtNotifyInfo("%-20s %s\n", "Order:", orderType() == DtReceiveOrder ? "Receive" : "TimeStamp");
  if (roles().time >= 0) {
    DtNotifyInfo("%-20s %ld\n", "SerialNumber:", static_cast<long>(serialNumber()));
    printTimeText("Time:", time());
  }
  if (const auto* set = dynamic_cast<const DtValuePairSet<Set>*>(&values())) set->print();
}

template class DtValueListMsg<RTI::AttributeHandleValuePairSet>;
template class DtValueListMsg<RTI::ParameterHandleValuePairSet>;
