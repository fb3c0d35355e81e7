#pragma once
// How the MOM interaction classes list their parameters without writing a
// coder per parameter: DtMomField<&C::getter, &C::setter>(name) is the row
// of a parameter whose value the class reads through the getter and stores
// through the setter (both called virtually), coded by the generic codec of
// the getter's type; DtMomMemberField<&C::encodeX, &C::decodeX>(name) is the
// row of a parameter that the class codes itself, through two members.

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomParameter.h"

// The generic codec of each value type: encode(value, set, handle), and
// decode(set, index, parameter), whose result is empty when refused and
// gives the value to store through take().
template <class T>
struct DtMomCodec;

template <class T>
struct DtMomPlainCodec {
  static T take(std::optional<T>& value) { return std::move(*value); }
};

template <>
struct DtMomCodec<std::uint32_t> : DtMomPlainCodec<std::uint32_t> {
  static void encode(std::uint32_t value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    DtMomInteraction::genericEncodeHandle(value, set, handle);
  }
  static std::optional<std::uint32_t> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                             const char* parameter) {
    return DtMomInteraction::genericDecodeHandle(set, index, parameter);
  }
};

template <>
struct DtMomCodec<std::int32_t> : DtMomPlainCodec<std::int32_t> {
  static void encode(std::int32_t value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    DtMomInteraction::genericEncodeLong(value, set, handle);
  }
  static std::optional<std::int32_t> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                            const char* parameter) {
    return DtMomInteraction::genericDecodeLong(set, index, parameter);
  }
};

template <>
struct DtMomCodec<DtString> : DtMomPlainCodec<DtString> {
  static void encode(const DtString& value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    DtMomInteraction::genericEncodeString(value, set, handle);
  }
  static std::optional<DtString> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index, const char*) {
    return DtMomInteraction::genericDecodeString(set, index);
  }
};

template <>
struct DtMomCodec<DtMomHandleList> : DtMomPlainCodec<DtMomHandleList> {
  static void encode(const DtMomHandleList& value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    DtMomInteraction::genericEncodeHandleList(value, set, handle);
  }
  static std::optional<DtMomHandleList> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                               const char* parameter) {
    std::optional<DtMomHandleList> list(std::in_place);
    if (!DtMomInteraction::genericDecodeHandleList(*list, set, index, parameter)) list.reset();
    return list;
  }
};

// Times: the setter takes the new time over.
template <>
struct DtMomCodec<RTI::FedTime*> {
  static void encode(const RTI::FedTime* value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    DtMomInteraction::genericEncodeFedtime(value, set, handle);
  }
  static std::unique_ptr<RTI::FedTime> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                              const char* parameter) {
    return DtMomInteraction::genericDecodeFedtime(set, index, parameter);
  }
  static RTI::FedTime* take(std::unique_ptr<RTI::FedTime>& value) { return value.release(); }
};

// The words: an unknown word decodes to its default, never refused.
template <class T, void (*Encode)(T, RTI::ParameterHandleValuePairSet*, RTI::ParameterHandle),
          T (*Decode)(const RTI::ParameterHandleValuePairSet&, RTI::ULong)>
struct DtMomWordCodec : DtMomPlainCodec<T> {
  static void encode(T value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    Encode(value, set, handle);
  }
  static std::optional<T> decode(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index, const char*) {
    return Decode(set, index);
  }
};

template <>
struct DtMomCodec<RTI::Boolean>
    : DtMomWordCodec<RTI::Boolean, &DtMomInteraction::genericEncodeBoolean, &DtMomInteraction::genericDecodeBoolean> {};
template <>
struct DtMomCodec<DtTransportType>
    : DtMomWordCodec<DtTransportType, &DtMomInteraction::genericEncodeTransportationTypes,
                     &DtMomInteraction::genericDecodeTransportationTypes> {};
template <>
struct DtMomCodec<DtOrderType> : DtMomWordCodec<DtOrderType, &DtMomInteraction::genericEncodeOrderTypes,
                                                &DtMomInteraction::genericDecodeOrderTypes> {};
template <>
struct DtMomCodec<DtMomAttributeStateOptions>
    : DtMomWordCodec<DtMomAttributeStateOptions, &DtMomInteraction::genericEncodeAttributeStateOptions,
                     &DtMomInteraction::genericDecodeAttributeStateOptions> {};
template <>
struct DtMomCodec<DtMomInitiatorOptions>
    : DtMomWordCodec<DtMomInitiatorOptions, &DtMomInteraction::genericEncodeInitiatorOptions,
                     &DtMomInteraction::genericDecodeInitiatorOptions> {};
template <>
struct DtMomCodec<DtMomAlertTypes> : DtMomWordCodec<DtMomAlertTypes, &DtMomInteraction::genericEncodeAlertTypes,
                                                    &DtMomInteraction::genericDecodeAlertTypes> {};

// The class and value type of a getter `V (C::*)() const`.
template <class Getter>
struct DtMomGetter;
template <class C, class V>
struct DtMomGetter<V (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<V>;
};

template <auto Get, auto Put, class Codec = DtMomCodec<typename DtMomGetter<decltype(Get)>::Value>>
struct DtMomFieldCoder {
  using Class = typename DtMomGetter<decltype(Get)>::Class;

  static void encode(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                     RTI::ParameterHandle handle) {
    Codec::encode((static_cast<const Class&>(interaction).*Get)(), set, handle);
  }
  static bool decode(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                     const char* parameter) {
    auto value = Codec::decode(set, index, parameter);
    if (!value) return false;
    (static_cast<Class*>(interaction)->*Put)(Codec::take(value));
    return true;
  }
};

template <auto Get, auto Put, class Codec = DtMomCodec<typename DtMomGetter<decltype(Get)>::Value>>
constexpr DtMomParameter DtMomField(const char* name) {
  using Coder = DtMomFieldCoder<Get, Put, Codec>;
  return {name, &Coder::encode, &Coder::decode};
}

// The class of a member coder `void (C::*)(set, handle) const`.
template <class Encoder>
struct DtMomMemberEncoder;
template <class C>
struct DtMomMemberEncoder<void (C::*)(RTI::ParameterHandleValuePairSet*, RTI::ParameterHandle) const> {
  using Class = C;
};

// A parameter that the class codes through its own (virtual) members:
// `void encodeX(set, handle) const` and `bool decodeX(set, index)`.
template <auto Encode, auto Decode>
struct DtMomMemberCoder {
  using Class = typename DtMomMemberEncoder<decltype(Encode)>::Class;

  static void encode(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                     RTI::ParameterHandle handle) {
    (static_cast<const Class&>(interaction).*Encode)(set, handle);
  }
  static bool decode(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                     const char*) {
    return (static_cast<Class*>(interaction)->*Decode)(set, index);
  }
};

template <auto Encode, auto Decode>
constexpr DtMomParameter DtMomMemberField(const char* name) {
  using Coder = DtMomMemberCoder<Encode, Decode>;
  return {name, &Coder::encode, &Coder::decode};
}
