// The generic codecs of DtMomInteraction: every kind of MOM value to the
// bytes of one parameter and back.
#include <string>
#include <vector>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomTallyList.h"
#include "mom/DtMomValueText.h"
#include "mom/DtMomWords.h"
#include "util/DtNotify.h"

namespace {

void addText(const std::string& text, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
  set->add(handle, text.c_str(), static_cast<RTI::ULong>(text.size() + 1));
}

// The value of the word at pair `index`, or `unknown` after the message.
std::uint32_t decodeWord(const DtMomWords& words, const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                         const char* decoder, std::uint32_t unknown) {
  const std::string text = DtMomValueText::text(set, index);
  if (const auto value = words.value(text)) return *value;
  DtNotifyError("DtMomInteraction::%s: Unknown value %s\n", decoder, text.c_str());
  return unknown;
}

}  // namespace

void DtMomInteraction::genericEncodeString(const DtString& value, RTI::ParameterHandleValuePairSet* set,
                                           RTI::ParameterHandle handle) {
  set->add(handle, value.string(), static_cast<RTI::ULong>(value.length()) + 1);
}

DtString DtMomInteraction::genericDecodeString(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index) {
  return DtString(DtMomValueText::text(set, index).c_str());
}

void DtMomInteraction::genericEncodeHandle(std::uint32_t value, RTI::ParameterHandleValuePairSet* set,
                                           RTI::ParameterHandle handle) {
  addText(std::to_string(value), set, handle);
}

std::optional<std::uint32_t> DtMomInteraction::genericDecodeHandle(const RTI::ParameterHandleValuePairSet& set,
                                                                   RTI::ULong index, const char* parameter) {
  const std::string text = DtMomValueText::text(set, index);
  const auto value = DtMomValueText::handle(text);
  if (!value) DtMomValueText::refused("DtMomInteraction::genericDecodeHandle", text, parameter);
  return value;
}

void DtMomInteraction::genericEncodeLong(std::int32_t value, RTI::ParameterHandleValuePairSet* set,
                                         RTI::ParameterHandle handle) {
  addText(std::to_string(value), set, handle);
}

std::optional<std::int32_t> DtMomInteraction::genericDecodeLong(const RTI::ParameterHandleValuePairSet& set,
                                                                RTI::ULong index, const char* parameter) {
  const std::string text = DtMomValueText::text(set, index);
  const auto value = DtMomValueText::signed32(text);
  if (!value) DtMomValueText::refused("DtMomInteraction::genericDecodeLong", text, parameter);
  return value;
}

void DtMomInteraction::genericEncodeTransportationTypes(DtTransportType value, RTI::ParameterHandleValuePairSet* set,
                                                        RTI::ParameterHandle handle) {
  addText(DtMomTransportWords.text(value), set, handle);
}

DtTransportType DtMomInteraction::genericDecodeTransportationTypes(const RTI::ParameterHandleValuePairSet& set,
                                                                   RTI::ULong index) {
  return static_cast<DtTransportType>(
      decodeWord(DtMomTransportWords, set, index, "genericDecodeTransportationTypes", DtBestEffort));
}

void DtMomInteraction::genericEncodeOrderTypes(DtOrderType value, RTI::ParameterHandleValuePairSet* set,
                                               RTI::ParameterHandle handle) {
  addText(DtMomOrderWords.text(value), set, handle);
}

DtOrderType DtMomInteraction::genericDecodeOrderTypes(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index) {
  return static_cast<DtOrderType>(decodeWord(DtMomOrderWords, set, index, "genericDecodeOrderTypes", DtReceiveOrder));
}

void DtMomInteraction::genericEncodeBoolean(RTI::Boolean value, RTI::ParameterHandleValuePairSet* set,
                                            RTI::ParameterHandle handle) {
  addText(DtMomBooleanWords.text(value), set, handle);
}

RTI::Boolean DtMomInteraction::genericDecodeBoolean(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index) {
  return static_cast<RTI::Boolean>(decodeWord(DtMomBooleanWords, set, index, "genericDecodeBoolean", RTI::RTI_FALSE));
}

void DtMomInteraction::genericEncodeAttributeStateOptions(DtMomAttributeStateOptions value,
                                                          RTI::ParameterHandleValuePairSet* set,
                                                          RTI::ParameterHandle handle) {
  addText(DtMomStateWords.text(value), set, handle);
}

DtMomAttributeStateOptions DtMomInteraction::genericDecodeAttributeStateOptions(
    const RTI::ParameterHandleValuePairSet& set, RTI::ULong index) {
  return static_cast<DtMomAttributeStateOptions>(
      decodeWord(DtMomStateWords, set, index, "genericDecodeAttributeStateOptions", DtMomUnowned));
}

void DtMomInteraction::genericEncodeInitiatorOptions(DtMomInitiatorOptions value, RTI::ParameterHandleValuePairSet* set,
                                                     RTI::ParameterHandle handle) {
  addText(DtMomInitiatorWords.text(value), set, handle);
}

DtMomInitiatorOptions DtMomInteraction::genericDecodeInitiatorOptions(const RTI::ParameterHandleValuePairSet& set,
                                                                      RTI::ULong index) {
  return static_cast<DtMomInitiatorOptions>(
      decodeWord(DtMomInitiatorWords, set, index, "genericDecodeInitiatorOptions", DtMomInitiatorRti));
}

void DtMomInteraction::genericEncodeAlertTypes(DtMomAlertTypes value, RTI::ParameterHandleValuePairSet* set,
                                               RTI::ParameterHandle handle) {
  addText(DtMomAlertWords.text(value), set, handle);
}

DtMomAlertTypes DtMomInteraction::genericDecodeAlertTypes(const RTI::ParameterHandleValuePairSet& set,
                                                          RTI::ULong index) {
  return static_cast<DtMomAlertTypes>(
      decodeWord(DtMomAlertWords, set, index, "genericDecodeAlertTypes", DtMomRtiException));
}

void DtMomInteraction::genericEncodeHandleList(const DtMomHandleList& list, RTI::ParameterHandleValuePairSet* set,
                                               RTI::ParameterHandle handle) {
  list.encodeVerbose(set, handle);
}

bool DtMomInteraction::genericDecodeHandleList(DtMomHandleList& list, const RTI::ParameterHandleValuePairSet& set,
                                               RTI::ULong index, const char* parameter) {
  const std::string text = DtMomValueText::text(set, index);
  if (list.decodeVerbose(DtString(text.c_str()))) return true;
  DtMomValueText::refused("DtMomInteraction::genericDecodeHandleList", text, parameter);
  return false;
}

void DtMomInteraction::genericEncodeTallyList(const DtMomTallyList* list, RTI::ParameterHandleValuePairSet* set,
                                              RTI::ParameterHandle handle, RTI::Boolean received,
                                              DtTransportType transport) {
  if (list) {
    list->encodeVerbose(set, handle, received, transport);
  } else {
    addText("", set, handle);
  }
}

std::unique_ptr<DtMomTallyList> DtMomInteraction::genericDecodeTallyList(const RTI::ParameterHandleValuePairSet& set,
                                                                         RTI::ULong index, const char* parameter,
                                                                         RTI::Boolean received,
                                                                         DtTransportType transport) {
  const std::string text = DtMomValueText::text(set, index);
  std::unique_ptr<DtMomTallyList> list = DtMomTallyList::fromText(text, received, transport);
  if (!list) DtMomValueText::refused("DtMomInteraction::genericDecodeTallyList", text, parameter);
  return list;
}

void DtMomInteraction::genericEncodeFedtime(const RTI::FedTime* time, RTI::ParameterHandleValuePairSet* set,
                                            RTI::ParameterHandle handle) {
  std::vector<char> bytes(time ? static_cast<std::size_t>(time->encodedLength()) : 0);
  if (time) time->encode(bytes.data());
  set->add(handle, bytes.data(), static_cast<RTI::ULong>(bytes.size()));
}

std::unique_ptr<RTI::FedTime> DtMomInteraction::genericDecodeFedtime(const RTI::ParameterHandleValuePairSet& set,
                                                                     RTI::ULong index, const char* parameter) {
  RTI::ULong length = 0;
  const char* bytes = set.getValuePointer(index, length);
  std::unique_ptr<RTI::FedTime> time(bytes ? RTI::FedTimeFactory::decode(bytes, length) : nullptr);
  if (!time) {
    DtMomValueText::refused("DtMomInteraction::genericDecodeFedtime", "of " + std::to_string(length) + " bytes",
                            parameter);
  }
  return time;
}
