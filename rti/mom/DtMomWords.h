#pragma once
// DtMomWords: the words of one enumerated MOM value ("Best effort",
// "Reliable", ...). A value is written as its word; a word is read back
// ignoring letter case, as MOM values from other federates may be written
// in any case.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct DtMomWord {
  std::uint32_t value;
  const char* text;
};

class DtMomWords {
public:
  // `otherText` is written for a value that has no word of its own.
  constexpr DtMomWords(std::span<const DtMomWord> words, const char* otherText)
      : words_(words), otherText_(otherText) {}

  // The value's word, else the other text.
  const char* text(std::uint32_t value) const;
  // The value whose word equals the text ignoring case; empty when none
  // does. The first of the words that match wins.
  std::optional<std::uint32_t> value(const std::string& text) const;

private:
  std::span<const DtMomWord> words_;
  const char* otherText_;
};

// The words of the MOM's enumerated values. A value without a word of its
// own is written as the second word (the empty text for an alert type).
extern const DtMomWords DtMomTransportWords;  // "Best effort" 0, "Reliable" 1
extern const DtMomWords DtMomOrderWords;      // "receive" 0, "timestamp" 1
extern const DtMomWords DtMomBooleanWords;    // "True" 1, "False" 0
extern const DtMomWords DtMomStateWords;      // "Owned" 0, "Unowned" 1
extern const DtMomWords DtMomInitiatorWords;  // "RTI" 1, "FED" 0
extern const DtMomWords DtMomAlertWords;      // "RTI exception" 0, "RTI internal error" 1, "Federate internal error" 2
