#include "msg/DtRtiMsg.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "api/DtAttributeHandleSet.h"
#include "util/DtFormattedText.h"
#include "util/DtNotify.h"

const DtZeroFedTime DtRtiMsg::theZeroFedTime;
std::uint32_t DtRtiMsg::theDefaultRegionSetHandle = 0;

const RTI::FedTime* DtZeroFedTime::get() const {
  static const RTI::FedTime* const zero = RTI::FedTimeFactory::makeZero();
  return zero;
}

void DtRtiMsg::setDefaultRegionSet(unsigned long handle) {
  theDefaultRegionSetHandle = static_cast<std::uint32_t>(handle);
}

const char* DtRtiMsg::kindToString(DtRtiMsgKind kind) { return DtRtiMsgKinds::name(kind); }

DtRtiMsg::DtRtiMsg(const DtRtiMsg& other)
    : DtRtiMsgBuffer(other, nullptr),
      transport_(other.transport_),
      serial_(other.serial_),
      hasTime_(other.hasTime_),
      constrained_(other.constrained_),
      allowedDuringSave_(other.allowedDuringSave_),
      refusal_(other.refusal_) {
  if (other.time_) {
    time_.reset(RTI::FedTimeFactory::makeZero());
    *time_ = *other.time_;
  }
}

DtRtiMsg& DtRtiMsg::operator=(const DtRtiMsg& other) {
  if (this == &other) return *this;
  DtRtiMsgBuffer::operator=(other);
  transport_ = other.transport_;
  serial_ = other.serial_;
  hasTime_ = other.hasTime_;
  constrained_ = other.constrained_;
  allowedDuringSave_ = other.allowedDuringSave_;
  refusal_ = other.refusal_;
  for (Decoded& d : decoded_) d = Decoded();
  time_.reset();
  if (other.time_) {
    time_.reset(RTI::FedTimeFactory::makeZero());
    *time_ = *other.time_;
  }
  return *this;
}

DtRtiMsg::~DtRtiMsg() = default;

void DtRtiMsg::initDtRtiMsg(int size, DtRtiMsgKind kind, DtBufferPlaceHolder* where) {
  initBuffer(std::clamp(size, DtNetMsgHeader::theSize, theMaxSize), where);
  netHeader()->setLength(static_cast<std::uint16_t>(this->size()));
  netHeader()->setKind(kind);
  netHeader()->setFedEx(std::uint16_t{0});
  netHeader()->setFederate(0);
}

void DtRtiMsg::initDtRtiMsg(const char* bytes, int size, DtBufferPlaceHolder* where) { initBuffer(bytes, size, where); }

void DtRtiMsg::initDtRtiMsg(const char* bytes, DtBufferPlaceHolder* where) {
  initBuffer(bytes, DtNetMsgHeader::at(bytes)->length(), where);
}

void DtRtiMsg::setSize(int n) {
  if (n > theMaxSize) {
    refuse("%s: a message of %d bytes cannot be sent (at most %d); not changed\n", className(), n, theMaxSize);
    return;
  }
  DtRtiMsgBuffer::setSize(n);
}

void DtRtiMsg::insertBytes(int offset, int n) {
  if (static_cast<long>(size()) + n > theMaxSize) {
    refuse("%s: a message of %ld bytes cannot be sent (at most %d); not changed\n", className(),
           static_cast<long>(size()) + n, theMaxSize);
    return;
  }
  DtRtiMsgBuffer::insertBytes(offset, n);
}

void DtRtiMsg::sizeChanged(int n) {
  if (size() >= 2) DtNetU16::write(data(), static_cast<std::uint16_t>(n));
}

bool DtRtiMsg::adjustBytes(char* at, int delta) { return adjustBytes(static_cast<int>(at - data()), delta); }

bool DtRtiMsg::adjustBytes(int offset, int delta) {
  const int before = size();
  if (delta > 0) insertBytes(offset, delta);
  if (delta < 0) removeBytes(offset, -delta);
  return size() == before + delta;
}

DtRtiMsg* DtRtiMsg::cloneWithTransport(char copyContents) const {
  DtRtiMsg* copy = clone(copyContents);
  if (copy) copy->setTransportType(transportType());
  return copy;
}

void DtRtiMsg::setFedEx(int handle) {
  if (size() >= DtNetMsgHeader::theSize) netHeader()->setFedEx(static_cast<std::uint16_t>(handle));
}

void DtRtiMsg::setFedEx(const DtString& name) {
  if (size() >= DtNetMsgHeader::theSize) netHeader()->setFedEx(name.string());
}

int DtRtiMsg::isForExec(const DtString& name, int handle) const {
  return size() >= DtNetMsgHeader::theSize && netHeader()->isForExec(name, static_cast<std::uint16_t>(handle));
}

DtString DtRtiMsg::fedExName() const {
  return size() >= DtNetMsgHeader::theSize ? netHeader()->fedExName() : DtString();
}

int DtRtiMsg::fedExHandle() const { return size() >= DtNetMsgHeader::theSize ? netHeader()->fedExHandle() : 0; }

void DtRtiMsg::setFederateHandle(unsigned long handle) {
  if (size() >= DtNetMsgHeader::theSize) netHeader()->setFederate(static_cast<std::uint16_t>(handle));
}

unsigned long DtRtiMsg::federateHandle() const {
  return size() >= DtNetMsgHeader::theSize ? netHeader()->federate() : 0;
}

DtRtiMsgKind DtRtiMsg::msgKind() const {
  return size() >= DtNetMsgHeader::theSize ? static_cast<DtRtiMsgKind>(netHeader()->kind()) : DtInvalidMsgKind;
}

void DtRtiMsg::setTime(const RTI::FedTime& time) {
  const int part = firstTimePart();
  if (part >= 0) {
    setTimePart(part, time, "time");
    return;
  }
  if (!time_) time_.reset(RTI::FedTimeFactory::makeZero());
  *time_ = time;
}

const RTI::FedTime& DtRtiMsg::time() const {
  const int part = firstTimePart();
  if (part >= 0) {
    const RTI::FedTime* decoded = timePart(part);
    return decoded ? *decoded : *theZeroFedTime;
  }
  return hasTime_ && time_ ? *time_ : *theZeroFedTime;
}

// ---- printing

void DtRtiMsg::print() const {
  printHeader();
  printData();
}

void DtRtiMsg::printHeader() const {
  const DtString name = fedExName();
  if (name.length() > 0) {
    DtNotifyInfo("%-20s %s\n", "FedExName:", name.string());
  } else {
    DtNotifyInfo("%-20s %ld\n", "FedExHandle:", static_cast<long>(fedExHandle()));
  }
  DtNotifyInfo("%-20s %s   (%d)\n", "MsgKind:", kindToString(msgKind()), static_cast<int>(msgKind()));
  DtNotifyInfo("%-20s %ld\n", "Length:", static_cast<long>(size()));
  DtNotifyInfo("%-20s %ld\n", "Federate:", static_cast<long>(federateHandle()));
}

void DtRtiMsg::printData() const {
  if (const DtMsgLayout* l = layout()) {
    for (const DtField& field : l->fields) printField(field);
    for (int i = 0; i < static_cast<int>(l->parts.size()); ++i) printPart(i);
    return;
  }
  // A word per line; a last group of fewer than 4 bytes reads only those.
  for (int offset = DtNetMsgHeader::theSize; offset < size(); offset += 4) {
    unsigned char word[4] = {};
    std::memcpy(word, data() + offset, static_cast<std::size_t>(std::min(4, size() - offset)));
    DtNotifyInfo("%04x\t%08x\n", static_cast<unsigned>(offset), static_cast<unsigned>(DtNetU32::read(word)));
  }
}

void DtRtiMsg::printTime(const char* label, const RTI::FedTime& time) const {
  // The time API's printing calls are not const.
  auto& t = const_cast<RTI::FedTime&>(time);
  char text[512] = "unprintable";
  if (t.isPositiveInfinity()) {
    std::snprintf(text, sizeof text, "+(X)");
  } else if (t.getPrintableLength() < static_cast<int>(sizeof text)) {
    t.getPrintableString(text);
  }
  DtNotifyInfo("%-20s %s\n", label, text);
}

void DtRtiMsg::printTimeText(const char* label, const RTI::FedTime& time) const {
  auto& t = const_cast<RTI::FedTime&>(time);
  char text[100] = "Time can not be printed";
  if (t.getPrintableLength() < static_cast<int>(sizeof text)) t.getPrintableString(text);
  DtNotifyInfo("%-20s %s\n", label, text);
}

void DtRtiMsg::printField(const DtField& field) const {
  unsigned long value = 0;
  switch (field.type) {
    case DtFieldType::U8: value = get(DtU8At{field.offset}); break;
    case DtFieldType::U16: value = get(DtU16At{field.offset}); break;
    case DtFieldType::U32: value = get(DtU32At{field.offset}); break;
    default: break;
  }
  switch (field.show) {
    case DtShow::Number: DtNotifyInfo("%-20s %ld\n", field.label, static_cast<long>(value)); break;
    case DtShow::Signed:
      DtNotifyInfo("%-20s %ld\n", field.label, static_cast<long>(static_cast<std::int32_t>(value)));
      break;
    case DtShow::TrueFalse: DtNotifyInfo("%-20s %s\n", field.label, (value & 0xFF) != 0 ? "True" : "False"); break;
    case DtShow::Text:
      DtNotifyInfo("%-20s %s\n", field.label, getText(DtTextAt{field.offset, field.width}).string());
      break;
    case DtShow::Set:
      if (auto set = getHandleSet(DtHandleSetAt{field.offset})) static_cast<DtAttributeHandleSet&>(*set).print();
      break;
    default: break;
  }
}

void DtRtiMsg::printPart(int index) const {
  const DtPart& part = layout()->parts[static_cast<std::size_t>(index)];
  switch (part.show) {
    case DtShow::Text: {
      const char* text = textPart(index);
      DtNotifyInfo("%-20s %s\n", part.label, text ? text : "");
      break;
    }
    case DtShow::Time: {
      const RTI::FedTime* t = timePart(index);
      printTime(part.label, t ? *t : *theZeroFedTime);
      break;
    }
    case DtShow::TimeText: {
      const RTI::FedTime* t = timePart(index);
      printTimeText(part.label, t ? *t : *theZeroFedTime);
      break;
    }
    default: break;
  }
}

const char* DtRtiMsg::className() const {
  const DtMsgLayout* l = layout();
  return l ? l->name : kindToString(msgKind());
}

// ---- fixed fields

void DtRtiMsg::reportTooLarge(const char* what, unsigned long value, int bits) {
  refuse("%s: %s %lu does not fit its %d-bit field; not set\n", className(), what, value, bits);
}

void DtRtiMsg::refuse(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const DtFormattedText text(format, args);
  va_end(args);
  DtNotifyError("%s", text.text());
  if (!refusal_.empty()) return;
  refusal_ = text.text();
  if (!refusal_.empty() && refusal_.back() == '\n') refusal_.pop_back();
}

DtString DtRtiMsg::getText(DtTextAt at) const {
  if (at.offset >= size()) return DtString();
  const int avail = std::min(at.width, size() - at.offset);
  const char* start = data() + at.offset;
  const std::size_t chars = strnlen(start, static_cast<std::size_t>(avail));
  std::unique_ptr<char[]> copy(new char[chars + 1]);
  std::memcpy(copy.get(), start, chars);
  copy[chars] = '\0';
  return DtString(copy.get());
}

void DtRtiMsg::putText(DtTextAt at, const char* text, int limit) {
  if (!fits(at.offset, at.width)) return;
  char* start = data() + at.offset;
  std::memset(start, 0, static_cast<std::size_t>(at.width));
  if (text) std::memcpy(start, text, strnlen(text, static_cast<std::size_t>(std::min(limit, at.width))));
}

std::unique_ptr<RTI::AttributeHandleSet> DtRtiMsg::getHandleSet(DtHandleSetAt at) const {
  if (!fits(at.offset, DtHandleSetAt::width)) return nullptr;
  return DtAttributeHandleSet::decode(data() + at.offset);
}

bool DtRtiMsg::putHandleSet(DtHandleSetAt at, const RTI::AttributeHandleSet& set, const char* what) {
  if (!fits(at.offset, DtHandleSetAt::width)) return false;
  if (const auto* own = dynamic_cast<const DtAttributeHandleSet*>(&set)) {
    own->encode(data() + at.offset);
    return true;
  }
  // Another class of set: its members, if every one can travel.
  try {
    DtAttributeHandleSet copy;
    for (RTI::ULong i = 0; i < set.size(); ++i) copy.add(set.getHandle(i));
    copy.encode(data() + at.offset);
    return true;
  } catch (const RTI::Exception& e) {
    refuse("%s: the %s cannot travel (%s); not set\n", className(), what, e._reason ? e._reason : "");
    return false;
  }
}

// ---- variable parts

int DtRtiMsg::channelFieldSize() const {
  const DtMsgLayout* l = layout();
  return l ? startOfParts(*l) - l->fixedSize : 0;
}

int DtRtiMsg::partsStart() const {
  const DtMsgLayout* l = layout();
  return l ? startOfParts(*l) : DtNetMsgHeader::theSize;
}

// The header's kind byte is read directly here: these run for every field of
// every received message.
int DtRtiMsg::startOfParts(const DtMsgLayout& l) const {
  const bool channel = l.channel && size() >= DtNetMsgHeader::theSize &&
                       DtRtiMsgKinds::hasChannel(static_cast<unsigned char>(data()[DtNetMsgHeader::kindOffset]));
  return l.fixedSize + (channel ? 4 : 0);
}

std::uint32_t DtRtiMsg::sizeField(const DtPart& p) const {
  // A table of ranges is sized by its two counts together.
  if (p.type == DtPartType::Ranges) {
    return get(DtU16At{p.sizeOffset}) * std::uint32_t{get(DtU16At{p.sizeOffset + 2})};
  }
  switch (p.sizeWidth) {
    case 1: return get(DtU8At{p.sizeOffset});
    case 2: return get(DtU16At{p.sizeOffset});
    case 4: return get(DtU32At{p.sizeOffset});
    default: return 0;
  }
}

std::uint32_t DtRtiMsg::partSize(int index) const {
  return sizeField(layout()->parts[static_cast<std::size_t>(index)]);
}

namespace {

// The bytes a part takes as its size field tells (to-the-end parts: -1).
long describedLength(DtPartType type, std::uint32_t s) {
  switch (type) {
    case DtPartType::Text: return s == 0 ? 0 : DtEven(static_cast<long>(s) - 1);
    case DtPartType::Label: return s == 0 ? 0 : static_cast<long>(s) - 1;
    case DtPartType::NameWithZero:
    case DtPartType::ZeroEnded: return s;
    case DtPartType::Time: return DtEven(s);
    case DtPartType::Handles: return 4L * s;
    case DtPartType::Ranges: return 8L * s;
    default: return -1;
  }
}

}  // namespace

int DtRtiMsg::partOffset(int index) const {
  const DtMsgLayout& l = *layout();
  long offset = startOfParts(l);
  for (int i = 0; i < index && offset < size(); ++i) {
    const DtPart& p = l.parts[static_cast<std::size_t>(i)];
    const long length = describedLength(p.type, sizeField(p));
    offset += length < 0 ? size() - offset : length;
  }
  return static_cast<int>(std::min<long>(offset, size()));
}

int DtRtiMsg::partLength(int index) const {
  const int offset = partOffset(index);
  const DtPart& p = layout()->parts[static_cast<std::size_t>(index)];
  const long length = describedLength(p.type, sizeField(p));
  return static_cast<int>(length < 0 ? size() - offset : std::min<long>(length, size() - offset));
}

int DtRtiMsg::firstTimePart() const {
  const DtMsgLayout* l = layout();
  if (!l) return -1;
  for (std::size_t i = 0; i < l->parts.size(); ++i)
    if (l->parts[i].type == DtPartType::Time) return static_cast<int>(i);
  return -1;
}

void DtRtiMsg::forgetPart(int index) {
  if (index >= 0 && index < maxParts) decoded_[static_cast<std::size_t>(index)] = Decoded();
}

bool DtRtiMsg::resizePart(int index, int length, std::uint32_t sizeValue, const char* what) {
  const DtPart& p = layout()->parts[static_cast<std::size_t>(index)];
  if (size() < partsStart()) return false;  // a truncated received message is not written
  const int start = partOffset(index);
  const int old = partLength(index);
  if (static_cast<long>(size()) - old + length > theMaxSize) {
    refuse("%s: with this %s the message would be longer than %d bytes; not set\n", className(), what, theMaxSize);
    return false;
  }
  // Bytes come and go at the end of the part, so that later parts move.
  if (length > old && !adjustBytes(start + old, length - old)) return false;
  if (length < old && !adjustBytes(start + length, length - old)) return false;
  switch (p.sizeWidth) {
    case 1: put(DtU8At{p.sizeOffset}, static_cast<std::uint8_t>(sizeValue)); break;
    case 2: put(DtU16At{p.sizeOffset}, static_cast<std::uint16_t>(sizeValue)); break;
    case 4: put(DtU32At{p.sizeOffset}, sizeValue); break;
    default: break;
  }
  if (length > 0) std::memset(data() + start, 0, static_cast<std::size_t>(length));
  return true;
}

bool DtRtiMsg::setTextPart(int index, const char* text, const char* what) {
  const DtPart& p = layout()->parts[static_cast<std::size_t>(index)];
  forgetPart(index);
  const long chars = text ? static_cast<long>(std::strlen(text)) : 0;
  if (p.type != DtPartType::TrailingText && chars > p.maxContent()) {
    refuse("%s: a %s of %ld characters does not fit its size field (at most %ld); not set\n", className(), what, chars,
           p.maxContent());
    return false;
  }
  int length = 0;
  std::uint32_t sizeValue = text ? static_cast<std::uint32_t>(chars + 1) : 0;
  switch (p.type) {
    case DtPartType::Text: length = text ? DtEven(chars) : 0; break;
    case DtPartType::Label: length = static_cast<int>(chars); break;
    case DtPartType::NameWithZero:
      length = chars > 0 ? static_cast<int>(chars + 1) : 0;
      sizeValue = static_cast<std::uint32_t>(length);
      break;
    case DtPartType::ZeroEnded: length = text ? static_cast<int>(chars + 1) : 0; break;
    case DtPartType::TrailingText: length = static_cast<int>(std::min<long>(chars + 2, theMaxSize)); break;
    default: return false;
  }
  if (!resizePart(index, length, sizeValue, what)) return false;
  if (chars > 0) std::memcpy(partPtr(index), text, static_cast<std::size_t>(chars));
  return true;
}

const char* DtRtiMsg::textPart(int index) const {
  if (size() < partsStart()) return nullptr;
  Decoded& kept = decoded_[static_cast<std::size_t>(index)];
  if (kept.text) return kept.text.get();
  const DtPart& p = layout()->parts[static_cast<std::size_t>(index)];
  const int avail = partLength(index);
  std::size_t chars = 0;
  if (p.type == DtPartType::TrailingText) {
    chars = strnlen(partPtr(index), static_cast<std::size_t>(avail));
  } else {
    const std::uint32_t s = partSize(index);
    if (s == 0) return nullptr;
    chars = std::min<std::size_t>(s - 1, static_cast<std::size_t>(avail));
    if (p.type == DtPartType::NameWithZero || p.type == DtPartType::ZeroEnded) chars = strnlen(partPtr(index), chars);
  }
  kept.text.reset(new char[chars + 1]);
  std::memcpy(kept.text.get(), partPtr(index), chars);
  kept.text[chars] = '\0';
  return kept.text.get();
}

bool DtRtiMsg::setTimePart(int index, const RTI::FedTime& time, const char* what) {
  const DtPart& p = layout()->parts[static_cast<std::size_t>(index)];
  forgetPart(index);
  const int n = time.encodedLength();
  if (n < 0 || n > p.maxContent()) {
    refuse("%s: a %s of %d encoded bytes does not fit its size field (at most %ld); not set\n", className(), what, n,
           p.maxContent());
    return false;
  }
  if (!resizePart(index, DtEven(n), static_cast<std::uint32_t>(n), what)) return false;
  time.encode(partPtr(index));
  return true;
}

const RTI::FedTime* DtRtiMsg::timePart(int index) const {
  if (size() < partsStart()) return nullptr;
  Decoded& kept = decoded_[static_cast<std::size_t>(index)];
  if (kept.time) return kept.time.get();
  const std::uint32_t s = partSize(index);
  if (s == 0) return nullptr;
  const int avail = partLength(index);
  try {
    kept.time.reset(
        RTI::FedTimeFactory::decode(partPtr(index), std::min<RTI::ULong>(s, static_cast<RTI::ULong>(avail))));
  } catch (const RTI::Exception&) {
    kept.time.reset();
  }
  return kept.time.get();
}

// ---- received messages

int DtRtiMsg::status() const {
  if (size() < DtNetMsgHeader::theSize || netHeader()->length() != size()) return TooShort;
  const DtMsgLayout* l = layout();
  if (!l) return checkBody();
  long offset = startOfParts(*l);
  if (size() < offset) return TooShort;
  for (int i = 0; i < static_cast<int>(l->parts.size()); ++i) {
    const DtPart& p = l->parts[static_cast<std::size_t>(i)];
    const std::uint32_t s = sizeField(p);
    const long length = describedLength(p.type, s);
    if (length >= 0 && offset + length > size()) return PartPastEnd;
    if (p.type == DtPartType::TrailingText && offset >= size()) return PartPastEnd;  // not even its zero
    if (p.type == DtPartType::Time && s != 0 && !timePart(i)) return BadTime;
    offset += length < 0 ? size() - offset : length;
  }
  return checkBody();
}

std::string DtRtiMsg::statusText(int status) const {
  switch (status) {
    case Valid: return "";
    case TooShort: return "its length disagrees with its header or is too short for its fixed fields";
    case PartPastEnd: return "a part runs past the end of the message";
    case BadTime: return "its time cannot be read";
    case WrongChannel: return "its kind does not match this federate's data distribution setting";
    default: return "a field holds a value it cannot have";
  }
}
