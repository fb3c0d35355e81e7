#include "mom/DtMomArgument.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Handles and counts keep their 32-bit width in a report: alone they read
// unsigned, inside a list or a pair signed.
std::uint32_t alone(unsigned long handle) { return static_cast<std::uint32_t>(handle); }
std::int32_t inList(unsigned long handle) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(handle)); }

// Decimal text, as "%d" and "%u" write it, without the cost of a format:
// a report is made at every call while calls are reported.
template <class Number>
char* decimal(char* at, char* end, Number value) {
  return std::to_chars(at, end, value).ptr;
}

}  // namespace

DtMomArgument::DtMomArgument(const RTI::Boolean& value) {
  // Any non-zero value is true, also one outside the enumeration (a
  // federate's 2): its bytes are read, not the enumeration.
  unsigned char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  bool set = false;
  for (unsigned char b : bytes) set = set || b != 0;
  setString(set ? "True" : "False");
}

DtMomArgument::DtMomArgument(unsigned long value) {
  char text[16];
  *decimal(text, text + sizeof text - 1, alone(value)) = '\0';
  setString(text);
}

DtMomArgument::DtMomArgument(long value) {
  char text[16];
  *decimal(text, text + sizeof text - 1, static_cast<std::int32_t>(value)) = '\0';
  setString(text);
}

DtMomArgument::DtMomArgument(int value) {
  char text[16];
  *decimal(text, text + sizeof text - 1, value) = '\0';
  setString(text);
}

DtMomArgument::DtMomArgument(long serialNumber, long sendingFederate) {
  char text[32];
  char* end = text + sizeof text - 1;
  char* at = decimal(text, end, inList(static_cast<unsigned long>(serialNumber)));
  *at++ = ',';
  *decimal(at, end, inList(static_cast<unsigned long>(sendingFederate))) = '\0';
  setString(text);
}

DtMomArgument::DtMomArgument(const RTI::EventRetractionHandle& handle)
    : DtMomArgument(static_cast<long>(handle.theSerialNumber), static_cast<long>(handle.sendingFederate)) {}

DtMomArgument::DtMomArgument(const unsigned long* handles, unsigned long count) {
  // With no handles the array need not point anywhere.
  if (handles && count > 0) *this = DtMomArgument(handles[0]);
}

DtMomArgument::DtMomArgument(const char* text) : DtString(text) {}

DtMomArgument::DtMomArgument(const RTI::FedTime& time) {
  // Room for the text and its NUL, whether the time counts the NUL in its
  // printable length or not.
  std::vector<char> text(static_cast<std::size_t>(std::max(time.getPrintableLength(), 0)) + 1, '\0');
  // Printing does not change the time; the API's operation is not const.
  const_cast<RTI::FedTime&>(time).getPrintableString(text.data());
  text.back() = '\0';
  setString(text.data());
}

DtMomArgument::DtMomArgument(const RTI::Region& region) { setAddress(&region); }
DtMomArgument::DtMomArgument(const RTI::Region* region) { setAddress(region); }
DtMomArgument::DtMomArgument(RTI::Region* const* regions) { setAddress(regions); }
DtMomArgument::DtMomArgument(const RTI::FederateAmbassador* ambassador) { setAddress(ambassador); }

DtMomArgument::DtMomArgument(const RTI::AttributeHandleSet& set) { setHandles(set); }
DtMomArgument::DtMomArgument(const RTI::AttributeHandleSet* set) {
  if (set) setHandles(*set);
}
DtMomArgument::DtMomArgument(const RTI::FederateHandleSet& set) { setHandles(set); }
DtMomArgument::DtMomArgument(const RTI::AttributeHandleValuePairSet& set) { setHandles(set); }
DtMomArgument::DtMomArgument(const RTI::ParameterHandleValuePairSet& set) { setHandles(set); }

DtMomArgument::~DtMomArgument() = default;

void DtMomArgument::setAddress(const void* address) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", address);
  setString(text);
}

template <class Set>
void DtMomArgument::setHandles(const Set& set) {
  // The size is asked at every step: a federate's own set class may change
  // under the loop.
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    char text[16];
    char* at = decimal(text, text + sizeof text - 2, inList(set.getHandle(i)));
    *at++ = ',';
    *at = '\0';
    *this += text;
  }
}
