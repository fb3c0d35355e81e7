#include "OutputLine.h"

#include <cstdio>
#include <memory>

namespace {

bool printable(const char* data, unsigned long length) {
  for (unsigned long i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c < 0x20 || c > 0x7e) return false;
  }
  return true;
}

std::string quoted(const char* data, unsigned long length) {
  std::string out = "\"";
  for (unsigned long i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7e) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

OutputLine::OutputLine(const char* kind, const std::string& name) : line_(kind) {
  if (!name.empty()) word(name);
}

OutputLine& OutputLine::number(unsigned long value) { return word(std::to_string(value)); }

OutputLine& OutputLine::word(const std::string& value) {
  line_ += ' ';
  line_ += value;
  return *this;
}

OutputLine& OutputLine::text(const char* value) {
  if (!value) return word("null");
  return word(quoted(value, std::char_traits<char>::length(value)));
}

OutputLine& OutputLine::time(const RTI::FedTime& value) {
  RTI::FedTime& time = const_cast<RTI::FedTime&>(value);  // the API's printer is not const
  const int length = time.getPrintableLength();
  std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(length > 0 ? length : 0) + 1]());
  time.getPrintableString(buffer.get());
  return word(buffer.get());
}

OutputLine& OutputLine::handles(const RTI::AttributeHandleSet& set) { return word(handlesText(set)); }

std::string OutputLine::handlesText(const RTI::AttributeHandleSet& set) {
  std::string out = "{";
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(set.getHandle(i));
  }
  return out + "}";
}

std::string OutputLine::valueText(const char* data, unsigned long length) {
  if (printable(data, length)) return quoted(data, length);
  std::string out = "0x";
  for (unsigned long i = 0; i < length; ++i) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(data[i]));
    out += digits;
  }
  return out;
}

template <class Set>
OutputLine& OutputLine::valueSet(const Set& set) {
  std::string out = "{";
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    if (i > 0) out += ',';
    RTI::ULong length = 0;
    const char* data = set.getValuePointer(i, length);
    out += std::to_string(set.getHandle(i)) + "=" + valueText(data, length);
  }
  return word(out + "}");
}

OutputLine& OutputLine::values(const RTI::AttributeHandleValuePairSet& set) { return valueSet(set); }

OutputLine& OutputLine::values(const RTI::ParameterHandleValuePairSet& set) { return valueSet(set); }

OutputLine& OutputLine::retraction(RTI::EventRetractionHandle handle) {
  return word(std::to_string(handle.theSerialNumber) + "/" + std::to_string(handle.sendingFederate));
}
