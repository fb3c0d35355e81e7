#include "config/DtlReader.h"

#include <locale.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/DtlDepthGuard.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "config/DtlStream.h"

namespace {

thread_local int readDepth = 0;

bool isDigit(int ch) { return ch >= '0' && ch <= '9'; }

bool endsAtom(int ch) { return ch == -1 || ch == '(' || ch == ')' || DtlStream::isBlank(ch); }

// The list whose '(' was read on `line`.
DtlObjPtr readList(DtlStream* stream, const DtlObjPtr& frame, int line) {
  DtlObjPtr head = DtlNil();
  DtlObj* tail = nullptr;
  for (;;) {
    const int ch = stream->nextNonBlank();
    if (ch == ')') {
      if (tail) stream->listRead(head.get(), line);
      return head;
    }
    if (ch == -1) DtlError("Missing \")\"");
    stream->unget(ch);
    DtlObjPtr cell = cons(lread(stream, frame), DtlNil());
    if (tail)
      tail->setSecond(cell);
    else
      head = cell;
    tail = cell.get();
  }
}

// Names and texts are C texts, which a NUL byte would cut short: a file that
// holds one is refused rather than read as something else.
void refuseNul(int ch, const char* message) {
  if (ch == 0) DtlError(message);
}

DtlObjPtr readAtom(DtlStream* stream, const DtlObjPtr& frame) {
  std::string text;
  int ch = stream->getc();
  while (!endsAtom(ch)) {
    refuseNul(ch, "NUL character while reading atom");
    text.push_back(static_cast<char>(ch));
    ch = stream->getc();
  }
  stream->unget(ch);
  if (isDigit(static_cast<unsigned char>(text[0])) ||
      (text[0] == '-' && text.size() > 1 && isDigit(static_cast<unsigned char>(text[1]))))
    return lreadnum(text.c_str());
  return DtcIntern(text.c_str(), frame);
}

double toDouble(const char* text) {
  // The "C" locale: a configuration file means the same in every locale.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text, nullptr, cLocale);
}

// strtoul in base 0 as a 32-bit unsigned long: a magnitude beyond 32 bits
// gives 0xFFFFFFFF, and a minus sign negates modulo 2^32.
std::uint32_t toUnsigned32(const char* text) {
  const bool negative = text[0] == '-';
  const char* digits = negative ? text + 1 : text;
  errno = 0;
  const unsigned long long magnitude = std::strtoull(digits, nullptr, 0);
  if (errno == ERANGE || magnitude > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  const auto value = static_cast<std::uint32_t>(magnitude);
  return negative ? 0u - value : value;
}

}  // namespace

DtlObjPtr lread(DtlStream* stream, const DtlObjPtr& frame) {
  DtlDepthGuard guard(readDepth, "Lists nested too deeply");
  const int ch = stream->nextNonBlank();
  switch (ch) {
    case -1: return DtcIntern("eof", frame);
    case '"': return lreadstring(stream);
    case '\'': {
      DtlObjPtr datum = lread(stream, frame);
      return cons(DtcIntern("quote", frame), cons(datum, DtlNil()));
    }
    case '(': return readList(stream, frame, stream->line());
    case ')': DtlError("Unexpected \")\"");
    default: stream->unget(ch); return readAtom(stream, frame);
  }
}

DtlObjPtr lreadstring(DtlStream* stream) {
  std::string text;
  for (int ch = stream->getc(); ch != '"'; ch = stream->getc()) {
    if (ch == -1) DtlError("EOF while reading string");
    refuseNul(ch, "NUL character while reading string");
    text.push_back(static_cast<char>(ch));
  }
  DtlObjPtr string = DtcAllocate(DtlStringTag, "out of memory in lreadstring");
  string->setString(text.c_str());
  return string;
}

DtlObjPtr lreadnum(const char* text) {
  const bool isFloat = std::strchr(text, '.') || (text[0] != '0' && std::strpbrk(text, "eE"));
  DtlObjPtr number = DtcAllocate(isFloat ? DtlFloatTag : DtlIntegerTag, "out of memory in lreadnum");
  if (isFloat)
    number->setFloatValue(toDouble(text));
  else
    number->setIntValue(static_cast<std::int32_t>(toUnsigned32(text)));
  return number;
}
