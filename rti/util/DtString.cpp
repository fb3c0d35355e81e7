#include "util/DtString.h"

#include <strings.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

DtString::DtString() : text_(inline_), onHeap_(false), capacity_(inlineSize), length_(0) { inline_[0] = '\0'; }

DtString::DtString(const char* text) : DtString() {
  if (text) replaceText(text, std::strlen(text));
}

DtString::DtString(const DtString& other) : DtString() {
  // The copy keeps the source's room, so a string that grew keeps growing
  // from where it was without another round of reallocations.
  if (other.capacity_ > inlineSize) takeBlock(other.capacity_);
  length_ = other.knownLength();
  std::memcpy(text_, other.text_, length_ + 1);
}

DtString::DtString(double value) : DtString() { formatNumber("%lf", value); }
DtString::DtString(int value) : DtString() { formatNumber("%d", value); }
DtString::DtString(long value) : DtString() { formatNumber("%ld", value); }
DtString::DtString(unsigned int value) : DtString() { formatNumber("%u", value); }
DtString::DtString(unsigned long value) : DtString() { formatNumber("%lu", value); }

DtString::~DtString() { release(); }

void DtString::formatNumber(const char* format, ...) {
  // A large double ("%lf" of 1e300 has over 300 digits) does not fit the
  // inline buffer: measure first and move to the heap when needed.
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(inline_, inlineSize, format, args);
  va_end(args);
  if (needed >= inlineSize) {
    takeBlock(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(text_, capacity_, format, again);
  } else if (needed < 0) {
    inline_[0] = '\0';
  }
  length_ = needed < 0 ? 0 : static_cast<std::size_t>(needed);
  va_end(again);
}

void DtString::release() {
  if (onHeap_) delete[] text_;
  text_ = inline_;
  onHeap_ = false;
  capacity_ = inlineSize;
  inline_[0] = '\0';
  length_ = 0;
}

std::size_t DtString::knownLength() const {
  if (length_ == unknownLength) length_ = std::strlen(text_);
  return length_;
}

void DtString::takeBlock(std::size_t size) {
  char* block = new char[size];
  block[0] = '\0';
  release();
  text_ = block;
  onHeap_ = true;
  capacity_ = size;
  length_ = 0;
}

void DtString::replaceText(const char* text, std::size_t length) {
  if (length + 1 > capacity_) takeBlock(length + 1);
  std::memmove(text_, text, length);
  text_[length] = '\0';
  length_ = length;
}

DtString& DtString::operator=(const DtString& other) {
  if (this == &other) return *this;
  if (other.capacity_ > capacity_) takeBlock(other.capacity_);
  length_ = other.knownLength();
  std::memcpy(text_, other.text_, length_ + 1);
  return *this;
}

DtString& DtString::operator=(const char* text) {
  setString(text);
  return *this;
}

void DtString::setString(const char* text) {
  if (!text) {
    text_[0] = '\0';
    length_ = 0;
    return;
  }
  if (text == text_) return;
  replaceText(text, std::strlen(text));
}

const char* DtString::text() const { return text_; }

bool DtString::operator==(const char* other) const { return std::strcmp(text_, other ? other : "") == 0; }
bool DtString::operator<(const char* other) const { return std::strcmp(text_, other ? other : "") < 0; }
bool DtString::operator<=(const char* other) const { return std::strcmp(text_, other ? other : "") <= 0; }
bool DtString::operator>(const char* other) const { return std::strcmp(text_, other ? other : "") > 0; }
bool DtString::operator>=(const char* other) const { return std::strcmp(text_, other ? other : "") >= 0; }
bool DtString::operator!=(const char* other) const { return std::strcmp(text_, other ? other : "") != 0; }

bool DtString::equalNoCase(const char* other) const { return strcasecmp(text_, other ? other : "") == 0; }
bool DtString::equalNoCase(const DtString& other) const { return equalNoCase(other.text()); }

DtString DtString::operator+(const char* tail) const {
  DtString result(*this);
  result += tail;
  return result;
}

DtString& DtString::operator+=(const DtString& tail) { return *this += tail.text(); }

DtString& DtString::operator+=(const char* tail) {
  if (!tail || !*tail) return *this;
  const std::size_t oldLength = knownLength();
  const std::size_t tailLength = std::strlen(tail);
  const std::size_t needed = oldLength + tailLength + 1;
  if (needed > capacity_) {
    // At least double the block, so that a text built piece by piece is
    // copied a bounded number of times per character. The tail may be part
    // of this very text, so it is copied before the old block goes.
    const std::size_t size = std::max(needed, 2 * capacity_);
    char* block = new char[size];
    std::memcpy(block, text_, oldLength);
    std::memcpy(block + oldLength, tail, tailLength + 1);
    release();
    text_ = block;
    onHeap_ = true;
    capacity_ = size;
  } else {
    std::memmove(text_ + oldLength, tail, tailLength + 1);
  }
  length_ = oldLength + tailLength;
  return *this;
}

char& DtString::operator[](int index) {
  // The caller may write a NUL through the reference and so cut the text.
  length_ = unknownLength;
  return text_[index];
}
const char& DtString::operator[](int index) const { return text_[index]; }

bool DtString::keepAfter(char c, bool last) {
  const char* found = last ? std::strrchr(text_, c) : std::strchr(text_, c);
  if (!found || c == '\0') return false;
  const std::size_t kept = std::strlen(found + 1);
  std::memmove(text_, found + 1, kept + 1);
  length_ = kept;
  return true;
}

bool DtString::keepBefore(char c, bool first) {
  char* found = first ? std::strchr(text_, c) : std::strrchr(text_, c);
  if (!found || c == '\0') return false;
  *found = '\0';
  length_ = static_cast<std::size_t>(found - text_);
  return true;
}

int DtString::count(char c) const {
  const DtString& self = *this;
  int n = 0;
  const int len = length();
  for (int i = 0; i < len; ++i) {
    if (self[i] == c) ++n;
  }
  return n;
}

int DtString::length() const { return static_cast<int>(knownLength()); }

DtString* DtString::copy() const { return new DtString(*this); }

const DtString& DtString::nullString() {
  // Never destroyed, so that code running during process exit can still use it.
  static const DtString* const empty = new DtString;
  return *empty;
}

bool operator==(const DtString& a, const DtString& b) { return a.operator==(b.text()); }
bool operator<(const DtString& a, const DtString& b) { return a.operator<(b.text()); }
bool operator<=(const DtString& a, const DtString& b) { return a.operator<=(b.text()); }
bool operator>(const DtString& a, const DtString& b) { return a.operator>(b.text()); }
bool operator>=(const DtString& a, const DtString& b) { return a.operator>=(b.text()); }
bool operator!=(const DtString& a, const DtString& b) { return a.operator!=(b.text()); }

DtString operator+(const DtString& a, const DtString& b) { return a.operator+(b.text()); }

std::ostream& operator<<(std::ostream& out, const DtString& s) {
  if (s.count(' ') > 0 && s[0] != ' ') return out << '"' << s.text() << '"';
  return out << s.text();
}

namespace {
bool endsWithQuote(const std::string& word) { return !word.empty() && word.back() == '"'; }
}  // namespace

std::istream& operator>>(std::istream& in, DtString& s) {
  // Words of any length are read whole; a quoted text that the input ends
  // inside keeps the words read so far.
  std::string word;
  if (!(in >> word)) return in;
  if (word.front() != '"') {
    s = word.c_str();
    return in;
  }
  if (word.size() >= 2 && endsWithQuote(word)) {
    s = word.substr(1, word.size() - 2).c_str();
    return in;
  }
  std::string text = word.substr(1);
  while (in >> word) {
    text += ' ';
    if (endsWithQuote(word)) {
      text.append(word, 0, word.size() - 1);
      s = text.c_str();
      return in;
    }
    text += word;
  }
  s = text.c_str();
  // The words were consumed; the missing closing quote is reported as the
  // stream's end, not as a failed read.
  if (in.eof() && !in.bad()) in.clear(std::ios::eofbit);
  return in;
}
