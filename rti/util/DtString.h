#pragma once
// DtString: the library's own character string. Every name the RTI keeps
// (federations, federates, classes, attributes, file names, configuration
// texts) is one, and it crosses the library's exported interfaces by value.
//
// Short texts (up to 63 characters) live in an inline buffer and cost no
// allocation; longer ones move to a heap block of exactly the size they need.
// Appending grows the block geometrically and knows the text's length
// without measuring it, so building a text piece by piece costs amortised
// constant time per piece.
// The operations are virtual so that a derived string (DtFilename) keeps its
// own rules when it is used through a DtString.
// Exported (the class, not the free operators below): plug-ins pass names to
// the implementor's observer and wrapper entry points as DtString values.

#include <cstddef>
#include <iosfwd>

#include "port/DtExport.h"

class DT_EXPORT DtString {
public:
  static constexpr int inlineSize = 64;

  DtString();
  DtString(const char* text);  // null gives the empty text; implicit on purpose
  DtString(const DtString& other);
  // Numbers are formatted as printf would ("%lf", "%d", "%ld", "%u", "%lu").
  explicit DtString(double value);
  explicit DtString(int value);
  explicit DtString(long value);
  explicit DtString(unsigned int value);
  explicit DtString(unsigned long value);
  virtual ~DtString();

  DtString& operator=(const DtString& other);
  DtString& operator=(const char* text);
  void setString(const char* text);

  // The characters; never null.
  const char* string() const { return text_; }
  virtual const char* text() const;

  virtual bool operator==(const char* other) const;
  virtual bool operator<(const char* other) const;
  virtual bool operator<=(const char* other) const;
  virtual bool operator>(const char* other) const;
  virtual bool operator>=(const char* other) const;
  virtual bool operator!=(const char* other) const;
  virtual bool equalNoCase(const char* other) const;
  virtual bool equalNoCase(const DtString& other) const;

  virtual DtString operator+(const char* tail) const;
  virtual DtString& operator+=(const DtString& tail);
  virtual DtString& operator+=(const char* tail);

  // No bound check: the index must lie within the text (or on its NUL).
  // A NUL written through the writable form cuts the text there; the
  // length is measured again on the next append. Write through the
  // reference before the string changes again, never after.
  virtual char& operator[](int index);
  virtual const char& operator[](int index) const;

  // Keeps the text after the first occurrence of c (the last one when
  // `last` is true). Returns false and leaves the text when c is absent.
  virtual bool keepAfter(char c, bool last);
  // Cuts the text at the last occurrence of c (the first one when `first`
  // is true). Returns false and leaves the text when c is absent.
  virtual bool keepBefore(char c, bool first);
  virtual int count(char c) const;
  virtual int length() const;

  // A new heap copy; the caller deletes it.
  DtString* copy() const;
  // Bytes in the block the text lives in (inlineSize while inline).
  std::size_t capacity() const { return capacity_; }

  // The shared empty string, alive from start-up to process end.
  static const DtString& nullString();

private:
  static constexpr std::size_t unknownLength = static_cast<std::size_t>(-1);

  void formatNumber(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void replaceText(const char* text, std::size_t length);
  void takeBlock(std::size_t size);  // frees the heap block, allocates size bytes
  void release();
  std::size_t knownLength() const;

  char inline_[inlineSize];
  char* text_;
  bool onHeap_;
  std::size_t capacity_;
  // The text's length, or unknownLength after the text was handed out for
  // writing (operator[]).
  mutable std::size_t length_;
};

bool operator==(const DtString& a, const DtString& b);
bool operator<(const DtString& a, const DtString& b);
bool operator<=(const DtString& a, const DtString& b);
bool operator>(const DtString& a, const DtString& b);
bool operator>=(const DtString& a, const DtString& b);
bool operator!=(const DtString& a, const DtString& b);
DtString operator+(const DtString& a, const DtString& b);

// A text with blanks is written between double quotes (unless it begins with
// a blank), and reading such a quoted text back gives one value again.
std::ostream& operator<<(std::ostream& out, const DtString& s);
std::istream& operator>>(std::istream& in, DtString& s);
