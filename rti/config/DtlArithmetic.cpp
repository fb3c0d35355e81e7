// Arithmetic and numeric comparison built-ins.
#include <cmath>
#include <limits>
#include <vector>

#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"

namespace {

// A number argument: an integer or a float.
struct Number {
  bool isFloat;
  std::int32_t integer;
  double real;

  double asDouble() const { return isFloat ? real : integer; }
};

Number toNumber(const DtlObjPtr& value, const char* message) {
  if (DtcIs(value, DtlIntegerTag)) return {false, value->intValue(), 0.0};
  if (DtcIs(value, DtlFloatTag)) return {true, 0, value->floatValue()};
  DtlError(message);
}

DtlObjPtr makeNumber(const Number& number) {
  return number.isFloat ? DtcMakeFloat(number.real) : DtcMakeInteger(number.integer);
}

// Integer operations wrap at 32 bits, as the configuration's numbers are.
std::int32_t wrap(std::uint32_t value) { return static_cast<std::int32_t>(value); }

template <typename IntegerOp, typename RealOp>
Number combine(const Number& a, const Number& b, IntegerOp integerOp, RealOp realOp) {
  if (!a.isFloat && !b.isFloat)
    return {false, wrap(integerOp(static_cast<std::uint32_t>(a.integer), static_cast<std::uint32_t>(b.integer))), 0.0};
  return {true, 0, realOp(a.asDouble(), b.asDouble())};
}

std::vector<Number> numbers(const DtlObjPtr& args, const char* message) {
  std::vector<Number> result;
  for (const DtlObjPtr* cell = &args; !DtcIsNil(*cell); cell = &cdr(*cell))
    result.push_back(toNumber(car(*cell), message));
  return result;
}

// + and *: the first argument combined with the result for the others (a
// fold from the right, which decides where a float first appears).
template <typename IntegerOp, typename RealOp>
DtlObjPtr foldRight(const DtlObjPtr& args, const char* countMessage, const char* typeMessage, IntegerOp integerOp,
                    RealOp realOp) {
  DtcCheckArgs(args, 1, -1, countMessage);
  const std::vector<Number> values = numbers(args, typeMessage);
  if (values.size() == 1) return car(args);
  Number result = values.back();
  for (std::size_t i = values.size() - 1; i-- > 0;) result = combine(values[i], result, integerOp, realOp);
  return makeNumber(result);
}

// Two numbers compared as signed integers, or as doubles when either is a
// float; `allowLocatives` lets two locatives compare as integers.
template <typename Compare>
DtlObjPtr compare(const DtlObjPtr& args, const char* countMessage, const char* typeMessage, bool allowLocatives,
                  Compare test) {
  DtcCheckArgs(args, 2, 2, countMessage);
  const DtlObjPtr& a = car(args);
  const DtlObjPtr& b = DtcNth(args, 2);
  if (allowLocatives && DtcIs(a, DtlLocativeTag) && DtcIs(b, DtlLocativeTag))
    return DtcBool(test(a->intValue(), b->intValue()));
  const Number x = toNumber(a, typeMessage);
  const Number y = toNumber(b, typeMessage);
  if (!x.isFloat && !y.isFloat) return DtcBool(test(x.integer, y.integer));
  return DtcBool(test(x.asDouble(), y.asDouble()));
}

}  // namespace

DtlObjPtr DtlPlus(const DtlObjPtr& args, const DtlObjPtr&) {
  return foldRight(
      args, "Wrong number of args to plus", "Non-number to plus",
      [](std::uint32_t a, std::uint32_t b) { return a + b; }, [](double a, double b) { return a + b; });
}

DtlObjPtr DtlMultiply(const DtlObjPtr& args, const DtlObjPtr&) {
  return foldRight(
      args, "Wrong number of args to multiply", "Non-number to multiply",
      [](std::uint32_t a, std::uint32_t b) { return a * b; }, [](double a, double b) { return a * b; });
}

DtlObjPtr DtlSubtract(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, -1, "Wrong number of args to subtract");
  const std::vector<Number> values = numbers(args, "Non-number to subtract");
  const auto minus = [](std::uint32_t a, std::uint32_t b) { return a - b; };
  const auto realMinus = [](double a, double b) { return a - b; };
  if (values.size() == 1) {
    if (values[0].isFloat) return DtcMakeFloat(-values[0].real);
    return DtcMakeInteger(wrap(0u - static_cast<std::uint32_t>(values[0].integer)));
  }
  Number result = values[0];
  for (std::size_t i = 1; i < values.size(); ++i) result = combine(result, values[i], minus, realMinus);
  return makeNumber(result);
}

DtlObjPtr DtlDivide(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to divide");
  const double dividend = toNumber(car(args), "Non-number to divide").asDouble();
  const double divisor = toNumber(DtcNth(args, 2), "Non-number to divide").asDouble();
  if (divisor == 0.0) DtlError("Division by zero");
  const double quotient = dividend / divisor;
  // A whole quotient is an integer, when it fits one.
  if (quotient == std::floor(quotient) && quotient >= std::numeric_limits<std::int32_t>::min() &&
      quotient <= std::numeric_limits<std::int32_t>::max())
    return DtcMakeInteger(static_cast<std::int32_t>(quotient));
  return DtcMakeFloat(quotient);
}

DtlObjPtr DtlAbs(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to abs");
  const Number value = toNumber(car(args), "Non-number to abs");
  if (value.isFloat) return DtcMakeFloat(std::fabs(value.real));
  const auto magnitude = static_cast<std::uint32_t>(value.integer);
  return DtcMakeInteger(value.integer < 0 ? wrap(0u - magnitude) : value.integer);
}

DtlObjPtr DtlSin(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to sin");
  return DtcMakeFloat(std::sin(toNumber(car(args), "Non-number to sin").asDouble()));
}

DtlObjPtr DtlCos(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to cos");
  return DtcMakeFloat(std::cos(toNumber(car(args), "Non-number to cos").asDouble()));
}

DtlObjPtr DtlLogior(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to logior");
  const DtlObjPtr& a = DtcExpect(car(args), DtlIntegerTag, "Non-integer to logior");
  const DtlObjPtr& b = DtcExpect(DtcNth(args, 2), DtlIntegerTag, "Non-integer to logior");
  return DtcMakeInteger(a->intValue() | b->intValue());
}

DtlObjPtr DtcEqualSign(const DtlObjPtr& args, const DtlObjPtr&) {
  return compare(args, "Wrong number of args to =", "Wrong type to DtcEqualSign", true,
                 [](auto a, auto b) { return a == b; });
}

DtlObjPtr DtcGreater(const DtlObjPtr& args, const DtlObjPtr&) {
  return compare(args, "Wrong number of args to >", "Wrong type to DtcGreater", false,
                 [](auto a, auto b) { return a > b; });
}

DtlObjPtr DtcGreaterEqual(const DtlObjPtr& args, const DtlObjPtr&) {
  return compare(args, "Wrong number of args to >=", "Wrong type to DtcGreaterEqual", false,
                 [](auto a, auto b) { return a >= b; });
}

DtlObjPtr DtcLess(const DtlObjPtr& args, const DtlObjPtr&) {
  return compare(args, "Wrong number of args to <", "Wrong type to DtcLess", false,
                 [](auto a, auto b) { return a < b; });
}

DtlObjPtr DtcLessEqual(const DtlObjPtr& args, const DtlObjPtr&) {
  return compare(args, "Wrong number of args to <=", "Wrong type to DtcLessEqual", false,
                 [](auto a, auto b) { return a <= b; });
}
