#pragma once
// The description of a message body, written once per body structure: where
// each fixed field lies, how wide it is and how it prints, and which variable
// parts follow the fixed part, each with the size field that describes it.
// The message base derives from it the typed accessors' bounds, the size
// checks of received messages (status), the places of the variable parts
// and the default print form; layouts are checked at compile time
// (DtLayoutValid) for fields that overlap, lie outside the fixed part or are
// misaligned.
//
// Offsets count from the first header byte; the fixed part begins at 8.

#include <cstdint>
#include <span>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtNetNumber.h"

// A fixed wire-number field at an offset.
template <class Net>
struct DtFieldAt {
  int offset;
};
using DtU8At = DtFieldAt<DtNetU8>;
using DtU16At = DtFieldAt<DtNetU16>;
using DtU32At = DtFieldAt<DtNetU32>;

// A fixed character field of `width` bytes (a name copied in, cut to fit).
struct DtTextAt {
  int offset;
  int width;
};

// The 44-byte form of an attribute handle set (DtNetHandleSet).
struct DtHandleSetAt {
  int offset;
  static constexpr int width = 44;
};

// How a field or part prints in the default print form.
enum class DtShow : std::uint8_t {
  Hidden,     // not printed
  Number,     // "%-20s %ld\n"
  Signed,     // "%-20s %ld\n" of the field read as a signed number
  TrueFalse,  // "%-20s %s\n" with "True" for any non-zero value, else "False"
  Text,       // "%-20s %s\n" (an absent text prints empty)
  Set,        // the set prints itself
  Time,       // the message's printTime form
  TimeText    // "%-20s %s\n" with the time's text, or "Time can not be printed"
};

enum class DtFieldType : std::uint8_t { U8, U16, U32, Text, HandleSet };

struct DtField {
  const char* label;
  int offset;
  int width;
  DtFieldType type;
  DtShow show;

  constexpr DtField(const char* l, DtU8At at, DtShow s = DtShow::Number)
      : label(l), offset(at.offset), width(1), type(DtFieldType::U8), show(s) {}
  constexpr DtField(const char* l, DtU16At at, DtShow s = DtShow::Number)
      : label(l), offset(at.offset), width(2), type(DtFieldType::U16), show(s) {}
  constexpr DtField(const char* l, DtU32At at, DtShow s = DtShow::Number)
      : label(l), offset(at.offset), width(4), type(DtFieldType::U32), show(s) {}
  constexpr DtField(const char* l, DtTextAt at, DtShow s = DtShow::Text)
      : label(l), offset(at.offset), width(at.width), type(DtFieldType::Text), show(s) {}
  constexpr DtField(const char* l, DtHandleSetAt at, DtShow s = DtShow::Set)
      : label(l), offset(at.offset), width(DtHandleSetAt::width), type(DtFieldType::HandleSet), show(s) {}
};

// The variable parts, in the order they follow the fixed part.
enum class DtPartType : std::uint8_t {
  Text,          // size = characters + 1 (0: none); characters padded to even
  Label,         // size = characters + 1 (0: none); not padded
  NameWithZero,  // size = characters + 1, the zero stored too; not padded
  ZeroEnded,     // size = characters + 1, the zero stored too, an empty text too
                 // (0: none); not padded
  Time,          // size = the time's encoded length (0: none); padded to even
  Handles,       // size = the number of u32 handles
  Ranges,        // size = extents x dimensions, two u16 fields side by side; a u32
                 // lower and upper bound each
  ValueList,     // a DtNetAttrs/DtNetParams list: everything to the end
  TrailingText   // a zero-terminated text: everything to the end
};

struct DtPart {
  const char* label;
  DtPartType type;
  int sizeOffset;  // the size field in the fixed part (unused for the last two)
  int sizeWidth;   // 1, 2 or 4 bytes
  DtShow show;

  // The most characters (texts) or bytes (times) the size field can describe.
  constexpr long maxContent() const {
    const long fieldMax = sizeWidth == 1 ? 0xFFL : sizeWidth == 2 ? 0xFFFFL : 0xFFFFFFFFL;
    return type == DtPartType::Time ? fieldMax : fieldMax - 1;
  }
};

struct DtMsgLayout {
  const char* name;  // the body structure's name, for diagnostics
  int fixedSize;     // header included, without the channel
  bool channel;      // a 4-byte channel follows the fixed part in the channel kinds
  std::span<const DtField> fields;
  std::span<const DtPart> parts;
};

constexpr bool DtLayoutValid(const DtMsgLayout& layout) {
  if (layout.fixedSize < DtNetMsgHeader::theSize || layout.fixedSize > 0xFFFF) return false;
  for (const DtField& f : layout.fields) {
    if (f.offset < DtNetMsgHeader::theSize || f.offset + f.width > layout.fixedSize) return false;
    if (f.type == DtFieldType::U16 && f.offset % 2 != 0) return false;
    if ((f.type == DtFieldType::U32 || f.type == DtFieldType::HandleSet) && f.offset % 4 != 0) return false;
    for (const DtField& g : layout.fields)
      if (&f != &g && f.offset < g.offset + g.width && g.offset < f.offset + f.width) return false;
  }
  for (std::size_t i = 0; i < layout.parts.size(); ++i) {
    const DtPart& p = layout.parts[i];
    const bool toTheEnd = p.type == DtPartType::ValueList || p.type == DtPartType::TrailingText;
    if (toTheEnd && i + 1 != layout.parts.size()) return false;  // nothing can follow it
    if (toTheEnd) continue;
    if (p.sizeWidth != 1 && p.sizeWidth != 2 && p.sizeWidth != 4) return false;
    if (p.sizeOffset < DtNetMsgHeader::theSize || p.sizeOffset + p.sizeWidth > layout.fixedSize) return false;
    if (p.sizeOffset % p.sizeWidth != 0) return false;
    if (p.type == DtPartType::Ranges && (p.sizeWidth != 2 || p.sizeOffset + 4 > layout.fixedSize)) return false;
  }
  return true;
}

// Characters padded to an even length.
constexpr int DtEven(long n) { return static_cast<int>(2 * ((n + 1) / 2)); }
