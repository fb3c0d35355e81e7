#pragma once
// What the implementor's level-3 trace of a service call prints beyond its
// formats: texts that may be null, federation times, sets and regions. The
// trace is a diagnostic only: nothing here throws or changes an outcome, and
// callers build their argument lines only while on() holds, so that a
// service below notify level 3 does no work for its trace.

#include <memory>
#include <string>
#include <type_traits>

#include "RTI.hh"

class DtFomClassMgr;
class DtObjectMgr;

class DtServiceTrace {
public:
  // The notify level traces service calls.
  static bool on();
  // The text, or "(null)".
  static const char* text(const char* text);
  // FOM names; for a handle the FOM (or a null one) does not know,
  // "ObjectClassNotDefined", "InteractionClassNotDefined",
  // "SpaceNotDefined" or "AttributeNotDefined".
  static const char* className(const DtFomClassMgr* fom, RTI::ObjectClassHandle handle);
  static const char* interactionName(const DtFomClassMgr* fom, RTI::InteractionClassHandle handle);
  static const char* spaceName(const DtFomClassMgr* fom, RTI::SpaceHandle handle);
  // The attribute's name in the class of the object.
  static const char* attributeName(const DtFomClassMgr* fom, DtObjectMgr* objMgr, RTI::ObjectHandle object,
                                   RTI::AttributeHandle attribute);
  // The region's handle, or 0 for a region that is not the RTI's.
  static RTI::ULong regionHandle(const RTI::Region& region);
  // One line of a service's arguments: "RTI=>\t", then each argument (a
  // text, or a handle, count or enumeration as an unsigned number)
  // separated by single spaces. Nothing without arguments.
  template <class... Args>
  static void arguments(const Args&... args) {
    if constexpr (sizeof...(Args) > 0) {
      std::string line = "RTI=>\t";
      const char* separator = "";
      ((line += separator, append(line, args), separator = " "), ...);
      printLine(line);
    }
  }
  // The sets by their own print operations (at notify level 2, as they
  // print).
  static void print(const RTI::AttributeHandleSet& set);
  static void print(const RTI::AttributeHandleValuePairSet& set);
  static void print(const RTI::ParameterHandleValuePairSet& set);

  // A federation time's printable text, for the time of one trace line.
  class TimeText {
  public:
    explicit TimeText(const RTI::FedTime& time);
    const char* text() const { return text_ ? text_.get() : ""; }

  private:
    std::unique_ptr<char[]> text_;
  };

private:
  // An argument of a trace line: the text (or "(null)"), or the number as
  // "%lu" prints it.
  static void append(std::string& line, const char* text);
  template <class Number>
  requires std::is_integral_v<Number> || std::is_enum_v<Number>
  static void append(std::string& line, Number number) { appendNumber(line, static_cast<unsigned long>(number)); }
  static void appendNumber(std::string& line, unsigned long number);
  static void printLine(const std::string& line);
};
