// Host floating-point variables bound to configuration-language floats.
#pragma once

#include <limits>

#include "config/DtlObj.h"
#include "config/DtlParam.h"

// T is double or float (widened to double in Lisp, narrowed back on pull).
// Pull accepts a float or an integer (converted).
template <typename T>
class DtlRealParam : public DtlParam {
public:
  DtlRealParam(const char* name, T* address) : DtlParam(name), address_(address) {}

  DtlObjPtr defaultValue() const override { return DtcMakeFloat(0.0); }

  void push() override {
    const double host = static_cast<double>(*address_);
    const DtlObjPtr value = lispValue();
    if (!DtcIs(value, DtlFloatTag) || value->floatValue() != host) bind(DtcMakeFloat(host));
  }

  bool pull() override {
    const DtlObjPtr value = lispValue();
    if (!value) return false;
    if (DtcIs(value, DtlFloatTag))
      *address_ = narrow(value->floatValue());
    else if (DtcIs(value, DtlIntegerTag))
      *address_ = static_cast<T>(value->intValue());
    else {
      warnWrongKind("a float", value);
      return false;
    }
    return true;
  }

private:
  // A double beyond the range of a float becomes an infinity of its sign
  // (the plain conversion would be undefined).
  static T narrow(double value) {
    if (value > std::numeric_limits<T>::max()) return std::numeric_limits<T>::infinity();
    if (value < std::numeric_limits<T>::lowest()) return -std::numeric_limits<T>::infinity();
    return static_cast<T>(value);
  }

  T* address_;
};

using DtlDoubleParam = DtlRealParam<double>;
using DtlFloatParam = DtlRealParam<float>;
