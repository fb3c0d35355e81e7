#pragma once
// DtMomValueText: how the value of a MOM parameter is read as text. Every
// value but a federation time is text followed by one NUL, as the MOM's
// encoders write it; a value from the network may lack the NUL, or hold more
// after it, so the text is read within the value's own bytes and up to its
// first NUL.
//
// Numbers are decimal as the C library reads them (leading white space, an
// optional sign, the digits up to the first other character; text without
// digits reads as 0), and must fit the 32-bit type they are read for.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RTI.hh"

namespace DtMomValueText {

// The text of pair `index`; ArrayIndexOutOfBounds as the set's own
// getValuePointer for an index that is not below its size.
std::string text(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index);
// The text of `length` bytes: up to the first NUL, never past the end.
std::string text(const char* bytes, RTI::ULong length);

// The number that the text begins with, empty when it lies outside
// [min, max].
std::optional<std::int64_t> number(const std::string& text, std::int64_t min, std::int64_t max);
// An unsigned 32-bit handle: 0 to 4294967295; a minus sign is refused.
std::optional<std::uint32_t> handle(const std::string& text);
// A signed 32-bit number.
std::optional<std::int32_t> signed32(const std::string& text);

// The pieces of the text between the delimiters (any of `delimiters`); runs
// of delimiters give no empty pieces.
std::vector<std::string> tokens(const std::string& text, const char* delimiters);

// Tells, at error level, that a decoder refused a value:
// "<decoder>: Value <text> of parameter <parameter> refused".
void refused(const char* decoder, const std::string& text, const char* parameter);

}  // namespace DtMomValueText
