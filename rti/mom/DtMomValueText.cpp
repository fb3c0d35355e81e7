#include "mom/DtMomValueText.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "util/DtNotify.h"

std::string DtMomValueText::text(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index) {
  RTI::ULong length = 0;
  const char* bytes = set.getValuePointer(index, length);
  return text(bytes, length);
}

std::string DtMomValueText::text(const char* bytes, RTI::ULong length) {
  if (!bytes) return {};
  const void* nul = std::memchr(bytes, '\0', length);
  return std::string(bytes, nul ? static_cast<const char*>(nul) - bytes : length);
}

std::optional<std::int64_t> DtMomValueText::number(const std::string& text, std::int64_t min, std::int64_t max) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  // Digits past the range stop counting: the value is refused anyway, and
  // the sum must not overflow on its way there.
  constexpr std::int64_t beyond = std::int64_t{1} << 40;
  std::int64_t magnitude = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    if (magnitude < beyond) magnitude = magnitude * 10 + (text[at] - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> DtMomValueText::handle(const std::string& text) {
  const auto value = number(text, 0, std::numeric_limits<std::uint32_t>::max());
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

std::optional<std::int32_t> DtMomValueText::signed32(const std::string& text) {
  const auto value = number(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::vector<std::string> DtMomValueText::tokens(const std::string& text, const char* delimiters) {
  std::vector<std::string> pieces;
  std::size_t at = text.find_first_not_of(delimiters);
  while (at != std::string::npos) {
    const std::size_t end = text.find_first_of(delimiters, at);
    pieces.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end == std::string::npos ? end : text.find_first_not_of(delimiters, end);
  }
  return pieces;
}

void DtMomValueText::refused(const char* decoder, const std::string& text, const char* parameter) {
  DtNotifyError("%s: Value %s of parameter %s refused\n", decoder, text.c_str(), parameter ? parameter : "");
}
