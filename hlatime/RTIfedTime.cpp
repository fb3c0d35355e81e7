#include "fedtime.hh"

#include "DtFedTimeCodec.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

// RTI::InvalidFederationTime is defined by libhlacore, the library that exports
// every RTI exception; it is resolved in each program, which links both.

namespace {

RTI::Boolean toBoolean(bool value) { return value ? RTI::RTI_TRUE : RTI::RTI_FALSE; }

// The times this library works with are RTIfedTimes; another class of time
// has no value that can be read here.
RTI::Double valueOf(const RTI::FedTime& time) {
  const RTIfedTime* ours = dynamic_cast<const RTIfedTime*>(&time);
  if (ours == nullptr) throw RTI::InvalidFederationTime("Federation time is not an RTIfedTime");
  return ours->getTime();
}

// a + b, except that a finite time always moves when a non-zero time is added:
// a sum rounded back to a (a tiny lookahead on a large time) becomes the next
// double in the direction of b, so that t + epsilon > t holds for every t.
RTI::Double add(RTI::Double a, RTI::Double b) {
  RTI::Double sum = a + b;
  if (sum == a && b != 0.0 && std::isfinite(a))
    sum = std::nextafter(
        a, b > 0.0 ? std::numeric_limits<RTI::Double>::infinity() : -std::numeric_limits<RTI::Double>::infinity());
  return sum;
}

// Shortest text that reads back to the same double.
std::vector<char> printable(RTI::Double time) {
  std::vector<char> text(32);
  std::to_chars_result end = std::to_chars(text.data(), text.data() + text.size() - 1, time);
  *end.ptr = '\0';
  text.resize(static_cast<std::size_t>(end.ptr - text.data()) + 1);
  return text;
}

}  // namespace

RTIfedTime::RTIfedTime() : _fedTime(0.0) {}

RTIfedTime::RTIfedTime(const RTI::Double& time) : RTI::FedTime(), _fedTime(0.0) { set(time); }

RTIfedTime::RTIfedTime(const RTI::FedTime& time) : RTI::FedTime(), _fedTime(valueOf(time)) {}

RTIfedTime::RTIfedTime(const RTIfedTime& time) : RTI::FedTime(), _fedTime(time._fedTime) {}

RTIfedTime::~RTIfedTime() = default;

void RTIfedTime::set(RTI::Double time) {
  if (std::isnan(time)) throw RTI::InvalidFederationTime("Federation time is not a number");
  _fedTime = time;
}

void RTIfedTime::setZero() { _fedTime = 0.0; }

RTI::Boolean RTIfedTime::isZero() { return toBoolean(_fedTime == 0.0); }

void RTIfedTime::setEpsilon() { _fedTime = std::numeric_limits<RTI::Double>::denorm_min(); }

void RTIfedTime::setPositiveInfinity() { _fedTime = std::numeric_limits<RTI::Double>::infinity(); }

RTI::Boolean RTIfedTime::isPositiveInfinity() {
  return toBoolean(_fedTime == std::numeric_limits<RTI::Double>::infinity());
}

int RTIfedTime::encodedLength() const { return static_cast<int>(DtFedTimeCodec::encodedLength); }

void RTIfedTime::encode(char* buff) const { DtFedTimeCodec::encode(_fedTime, buff); }

int RTIfedTime::getPrintableLength() const { return static_cast<int>(printable(_fedTime).size()); }

void RTIfedTime::getPrintableString(char* buff) {
  std::vector<char> text = printable(_fedTime);
  std::memcpy(buff, text.data(), text.size());
}

RTI::FedTime& RTIfedTime::operator+=(const RTI::FedTime& other) { return *this += valueOf(other); }

RTI::FedTime& RTIfedTime::operator-=(const RTI::FedTime& other) { return *this -= valueOf(other); }

RTI::Boolean RTIfedTime::operator<=(const RTI::FedTime& other) const { return *this <= valueOf(other); }

RTI::Boolean RTIfedTime::operator<(const RTI::FedTime& other) const { return *this < valueOf(other); }

RTI::Boolean RTIfedTime::operator>=(const RTI::FedTime& other) const { return *this >= valueOf(other); }

RTI::Boolean RTIfedTime::operator>(const RTI::FedTime& other) const { return *this > valueOf(other); }

RTI::Boolean RTIfedTime::operator==(const RTI::FedTime& other) const { return *this == valueOf(other); }

RTI::FedTime& RTIfedTime::operator=(const RTI::FedTime& other) { return *this = valueOf(other); }

RTI::Double RTIfedTime::getTime() const { return _fedTime; }

RTI::Boolean RTIfedTime::operator==(const RTIfedTime& other) const { return toBoolean(_fedTime == other._fedTime); }

RTI::Boolean RTIfedTime::operator==(const RTI::Double& other) const { return toBoolean(_fedTime == other); }

RTI::Boolean RTIfedTime::operator!=(const RTIfedTime& other) const { return toBoolean(_fedTime != other._fedTime); }

RTI::Boolean RTIfedTime::operator!=(const RTI::FedTime& other) const { return *this != valueOf(other); }

RTI::Boolean RTIfedTime::operator!=(const RTI::Double& other) const { return toBoolean(_fedTime != other); }

RTI::Boolean RTIfedTime::operator<=(const RTI::Double& other) const { return toBoolean(_fedTime <= other); }

RTI::Boolean RTIfedTime::operator<(const RTI::Double& other) const { return toBoolean(_fedTime < other); }

RTI::Boolean RTIfedTime::operator>=(const RTI::Double& other) const { return toBoolean(_fedTime >= other); }

RTI::Boolean RTIfedTime::operator>(const RTI::Double& other) const { return toBoolean(_fedTime > other); }

RTI::FedTime& RTIfedTime::operator=(const RTI::Double& other) {
  set(other);
  return *this;
}

RTI::FedTime& RTIfedTime::operator=(const RTIfedTime& other) {
  _fedTime = other._fedTime;
  return *this;
}

RTI::FedTime& RTIfedTime::operator+=(const RTI::Double& other) {
  set(add(_fedTime, other));
  return *this;
}

RTI::FedTime& RTIfedTime::operator-=(const RTI::Double& other) {
  set(add(_fedTime, -other));
  return *this;
}

RTI::FedTime& RTIfedTime::operator*=(const RTI::FedTime& other) { return *this *= valueOf(other); }

RTI::FedTime& RTIfedTime::operator/=(const RTI::FedTime& other) { return *this /= valueOf(other); }

RTI::FedTime& RTIfedTime::operator*=(const RTI::Double& other) {
  set(_fedTime * other);
  return *this;
}

RTI::FedTime& RTIfedTime::operator/=(const RTI::Double& other) {
  set(_fedTime / other);
  return *this;
}

RTIfedTime RTIfedTime::operator+(const RTI::FedTime& other) const { return *this + valueOf(other); }

RTIfedTime RTIfedTime::operator+(const RTI::Double& other) const {
  RTIfedTime result(*this);
  result += other;
  return result;
}

RTIfedTime RTIfedTime::operator-(const RTI::FedTime& other) const { return *this - valueOf(other); }

RTIfedTime RTIfedTime::operator-(const RTI::Double& other) const {
  RTIfedTime result(*this);
  result -= other;
  return result;
}

RTIfedTime RTIfedTime::operator*(const RTI::FedTime& other) const { return *this * valueOf(other); }

RTIfedTime RTIfedTime::operator*(const RTI::Double& other) const {
  RTIfedTime result(*this);
  result *= other;
  return result;
}

RTIfedTime RTIfedTime::operator/(const RTI::FedTime& other) const { return *this / valueOf(other); }

RTIfedTime RTIfedTime::operator/(const RTI::Double& other) const {
  RTIfedTime result(*this);
  result /= other;
  return result;
}

namespace RTI {

RTI::Boolean operator==(const RTI::FedTime& left, const RTIfedTime& right) {
  return left == static_cast<const RTI::FedTime&>(right);
}

RTI::Boolean operator!=(const RTI::FedTime& left, const RTIfedTime& right) {
  return toBoolean(!(left == static_cast<const RTI::FedTime&>(right)));
}

RTIfedTime operator+(const RTI::Double& left, const RTI::FedTime& right) { return RTIfedTime(left) + right; }

RTIfedTime operator-(const RTI::Double& left, const RTI::FedTime& right) { return RTIfedTime(left) - right; }

RTIfedTime operator*(const RTI::Double& left, const RTI::FedTime& right) { return RTIfedTime(left) * right; }

RTIfedTime operator/(const RTI::Double& left, const RTI::FedTime& right) { return RTIfedTime(left) / right; }

std::ostream& operator<<(std::ostream& stream, const RTI::FedTime& time) {
  std::vector<char> text(static_cast<std::size_t>(time.getPrintableLength()) + 1, '\0');
  // getPrintableString is not const in the API, though it only reads.
  const_cast<RTI::FedTime&>(time).getPrintableString(text.data());
  return stream << text.data();
}

}  // namespace RTI
