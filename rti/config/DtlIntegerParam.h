// Host integer variables bound to configuration-language integers.
#pragma once

#include <cstdint>

#include "config/DtlObj.h"
#include "config/DtlParam.h"

// An integer-kind variable seen as a signed 32-bit Lisp integer: pull accepts
// only integers and writes their low bits.
class DtlIntegerParamBase : public DtlParam {
public:
  using DtlParam::DtlParam;

  DtlObjPtr defaultValue() const override { return DtcMakeInteger(0); }

  void push() override {
    const std::int32_t host = hostValue();
    const DtlObjPtr value = lispValue();
    if (!DtcIs(value, DtlIntegerTag) || value->intValue() != host) bind(DtcMakeInteger(host));
  }

  bool pull() override {
    const DtlObjPtr value = lispValue();
    if (!value) return false;
    if (!DtcIs(value, DtlIntegerTag)) {
      warnWrongKind("an integer", value);
      return false;
    }
    setHostValue(value->intValue());
    return true;
  }

protected:
  virtual std::int32_t hostValue() const = 0;
  virtual void setHostValue(std::int32_t value) = 0;
};

// T is one of std::uint16_t (zero-extended), std::int16_t (sign-extended),
// std::uint32_t and int (32 bits each way).
template <typename T>
class DtlIntegerParam : public DtlIntegerParamBase {
public:
  DtlIntegerParam(const char* name, T* address) : DtlIntegerParamBase(name), address_(address) {}

protected:
  std::int32_t hostValue() const override { return static_cast<std::int32_t>(*address_); }
  void setHostValue(std::int32_t value) override { *address_ = static_cast<T>(value); }

private:
  T* address_;
};

using DtlUShortParam = DtlIntegerParam<std::uint16_t>;
using DtlShortParam = DtlIntegerParam<std::int16_t>;
using DtlUInt32Param = DtlIntegerParam<std::uint32_t>;
using DtlIntParam = DtlIntegerParam<int>;
