#pragma once
// What the MOM tests share: the FOMs, parameter sets written and read by
// parameter name, and values shown as text ("Reliable" for the text and its
// NUL, "time 12.5" for the bytes of a federation time, "bytes 01 02" for
// anything else).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "config/DtFedReader.h"
#include "fedtime.hh"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"

// The test FOM: the MOM's classes and a class under SetTiming.
inline const std::string momTestFed = QLX_TEST_SOURCE_DIR "/data/mom.fed";

inline std::unique_ptr<DtFomClassMgr> loadFom(const std::string& path) {
  DtFedReader reader;
  return DtFomClassMgr::loadFed(reader, path.c_str(), nullptr);
}

// One pair: the parameter's name and its value shown as text.
using NamedValue = std::pair<std::string, std::string>;
using NamedValues = std::vector<NamedValue>;

// The bytes of a text value, and of a time.
inline std::string textBytes(const std::string& text) { return text + '\0'; }
inline std::string timeBytes(double time) {
  const RTIfedTime value(time);
  std::string bytes(static_cast<std::size_t>(value.encodedLength()), '\0');
  value.encode(bytes.data());
  return bytes;
}

inline std::string shown(const std::string& bytes) {
  if (!bytes.empty() && bytes.back() == '\0' && bytes.find('\0') == bytes.size() - 1) {
    return bytes.substr(0, bytes.size() - 1);
  }
  if (bytes.size() == 8) {
    std::unique_ptr<RTI::FedTime> time(RTI::FedTimeFactory::decode(bytes.data(), 8));
    if (time) {
      char text[64];
      std::snprintf(text, sizeof text, "time %g", static_cast<RTIfedTime&>(*time).getTime());
      return text;
    }
  }
  std::string hex = "bytes";
  for (unsigned char c : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, " %02x", c);
    hex += digits;
  }
  return hex;
}

// Reads and writes parameter sets of one interaction class by parameter
// name.
class ClassPairs {
public:
  ClassPairs(const DtFomClassMgr& fom, const char* className)
      : fom_(fom), class_(static_cast<std::uint32_t>(fom.interactionHandle(className))) {}

  std::uint32_t handle() const { return class_; }

  // The pairs in set order, each value shown as text.
  NamedValues read(const RTI::ParameterHandleValuePairSet& set) const {
    NamedValues pairs;
    for (const auto& [name, bytes] : raw(set)) pairs.emplace_back(name, shown(bytes));
    return pairs;
  }
  // The pairs in set order with their bytes.
  std::vector<std::pair<std::string, std::string>> raw(const RTI::ParameterHandleValuePairSet& set) const {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (RTI::ULong i = 0; i < set.size(); ++i) {
      RTI::ULong length = 0;
      const char* bytes = set.getValuePointer(i, length);
      pairs.emplace_back(fom_.paramName(set.getHandle(i), class_), std::string(bytes, length));
    }
    return pairs;
  }
  // A set holding these pairs (name and bytes) in this order.
  std::unique_ptr<RTI::ParameterHandleValuePairSet> write(
      const std::vector<std::pair<std::string, std::string>>& pairs) const {
    std::unique_ptr<RTI::ParameterHandleValuePairSet> set(
        RTI::ParameterSetFactory::create(static_cast<RTI::ULong>(pairs.size())));
    for (const auto& [name, bytes] : pairs) {
      set->add(fom_.paramHandle(name.c_str(), class_), bytes.data(), static_cast<RTI::ULong>(bytes.size()));
    }
    return set;
  }
  // The names of the class's parameters, inherited ones first.
  std::vector<std::string> parameterNames() const {
    std::vector<std::string> names;
    for (const auto& parameter : fom_.interactionByHandle(class_)->params()) names.emplace_back(parameter->name());
    return names;
  }

private:
  const DtFomClassMgr& fom_;
  std::uint32_t class_;
};
