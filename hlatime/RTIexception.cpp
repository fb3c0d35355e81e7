#include "RTI.hh"

#include <cstdlib>
#include <cstring>

namespace {

// The exception keeps its own copy, so a thrower may pass a temporary
// buffer. A null text (or a failed copy) leaves the reason null.
char* copyReason(const char* reason) { return reason != nullptr ? strdup(reason) : nullptr; }

}  // namespace

namespace RTI {

Exception::Exception(const char* reason) : _serial(0), _reason(copyReason(reason)), _name(nullptr) {}

Exception::Exception(ULong serial, const char* reason) : _serial(serial), _reason(copyReason(reason)), _name(nullptr) {}

Exception::Exception(const Exception& toCopy)
    : _serial(toCopy._serial), _reason(copyReason(toCopy._reason)), _name(toCopy._name) {}

Exception::~Exception() { std::free(_reason); }

Exception& Exception::operator=(const Exception& other) {
  if (this == &other) return *this;
  char* reason = copyReason(other._reason);
  std::free(_reason);
  _reason = reason;
  _serial = other._serial;
  _name = other._name;
  return *this;
}

std::ostream& operator<<(std::ostream& stream, const Exception& ex) {
  stream << "RTI exception:";
  if (ex._name != nullptr) stream << ex._name;
  return stream;
}

std::ostream& operator<<(std::ostream& stream, const Exception* ex) {
  if (ex == nullptr) return stream << "RTI exception:";
  return stream << *ex;
}

#define RTI_EXCEPTION_NAME(A) const char* A::_ex = #A;
RTI_EXCEPTION_LIST(RTI_EXCEPTION_NAME)
#undef RTI_EXCEPTION_NAME

}  // namespace RTI
