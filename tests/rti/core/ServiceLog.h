#pragma once
// How the tests' recording managers write what they are handed: one text
// per call, "name(a,b,...)", with sets by their handles ("{1,2}"), times by
// their value, regions by their token ("r42") and null texts and times as
// "null".

#include <concepts>
#include <string>
#include <type_traits>

#include "RTI.hh"

std::string logText(const RTI::AttributeHandleSet& set);
std::string logText(const RTI::AttributeHandleValuePairSet& set);
std::string logText(const RTI::ParameterHandleValuePairSet& set);
std::string logText(const RTI::FedTime* time);
std::string logText(const RTI::FedTime& time);
std::string logText(const RTI::Region* region);
std::string logText(const RTI::Region& region);
std::string logText(const char* text);
template <std::integral Number>
std::string logText(Number number) {
  if constexpr (std::is_same_v<Number, bool>) {
    return number ? "1" : "0";
  } else {
    return std::to_string(number);
  }
}

// "name(a,b,...)".
template <class... Args>
std::string logCall(const char* name, const Args&... args) {
  std::string text = std::string(name) + "(";
  const char* separator = "";
  ((text += separator, text += logText(args), separator = ","), ...);
  (void)separator;
  return text + ")";
}
