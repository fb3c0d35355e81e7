// Values of the configuration language (the RID and FED files): one tagged,
// reference-counted heap object per value.
#pragma once

#include <cstdint>

#include "config/DtlObjPtr.h"

class DtlHashTable;
class DtList;

// The kind of a value. Values never change their tag.
enum DtlTagType : std::uint32_t {
  DtlNilTag = 0,          // the one nil object
  DtlSymbolTag = 1,       // a name (may be absent)
  DtlIntegerTag = 2,      // signed 32-bit "fixed-point number"
  DtlFloatTag = 3,        // double "floating-point number"
  DtlConsTag = 4,         // first (car), second (cdr)
  DtlSpecialFormTag = 5,  // name and native function, arguments unevaluated
  DtlCompiledTag = 6,     // name and native function, arguments evaluated
  DtlStringTag = 7,       // a text (may be absent)
  DtlLocativeTag = 8,     // a signed 32-bit value that nothing creates; behaves as an integer for printing and "="
  DtlProcedureTag = 9,    // parameter list, body (list of forms), enclosing frame
  DtlFrameTag = 10        // parent frame, 256-bucket symbol table, registered host variables
};

// Every built-in receives its argument list (a proper list, or nil) and the
// current environment frame, and returns a value.
using DtlNativeFunction = DtlObjPtr (*)(const DtlObjPtr& args, const DtlObjPtr& frame);

// One value. The three handles mean, by tag: first = car / parameter list /
// parent frame; second = cdr / body; third = enclosing frame of a procedure.
//
// Memory: a value is destroyed when its last handle goes, and also an
// environment frame whose only remaining holders are the procedures defined
// in it (and held by nothing but the frame's own table): that breaks the cycle
// between a frame and its local procedures. Releasing never recurses along a
// list or a chain of frames, so a value of any size or depth can be dropped.
//
// Not thread-safe: an interpreter and its values belong to one thread. The
// three shared values (nil, t, *unbound*) are never counted nor freed, so that
// interpreters on different threads can share them.
class DtlObj {
public:
  // A new value of the tag: all handles null, count 0. A frame gets a new,
  // empty table. A tag above 10 raises the language error.
  explicit DtlObj(DtlTagType tag);
  DtlObj(const DtlObj&) = delete;
  DtlObj& operator=(const DtlObj&) = delete;

  DtlTagType tag() const { return static_cast<DtlTagType>(tag_); }
  std::uint32_t refCount() const { return refCount_; }
  bool deleted() const { return deleted_ != 0; }

  const DtlObjPtr& first() const { return first_; }
  const DtlObjPtr& second() const { return second_; }
  const DtlObjPtr& third() const { return third_; }
  void setFirst(const DtlObjPtr& value) { first_ = value; }
  void setSecond(const DtlObjPtr& value) { second_ = value; }
  void setThird(const DtlObjPtr& value) { third_ = value; }

  // Integers and locatives.
  std::int32_t intValue() const { return payload_.integer; }
  void setIntValue(std::int32_t value) { payload_.integer = value; }
  // Floats.
  double floatValue() const { return payload_.real; }
  void setFloatValue(double value) { payload_.real = value; }
  // Symbols: the name, or null when there is none.
  const char* pname() const { return payload_.named.text; }
  void setPname(const char* name);
  // Strings: the text, or null when there is none.
  const char* string() const { return payload_.named.text; }
  void setString(const char* text);
  // Special forms and compiled functions.
  const char* fcnPname() const { return payload_.named.text; }
  void setFcnPname(const char* name);
  DtlNativeFunction function() const { return payload_.named.function; }
  void setFunction(DtlNativeFunction function) { payload_.named.function = function; }
  // Frames: the symbol table, and the list of registered host variables
  // (DtlParam objects; null until the first registration). The frame owns
  // both and deletes the variables with it.
  DtlHashTable* table() const { return payload_.frame.table; }
  DtList* params() const { return payload_.frame.params; }
  void setParams(DtList* params) { payload_.frame.params = params; }

  // The name as a text that is never null (symbols, functions, strings).
  const char* name() const;

  // Count keeping, for DtlObjPtr.
  static void retain(DtlObj* object) noexcept;
  static void release(DtlObj* object) noexcept;

  // Destroys the value now (frees its text, its table and host variables,
  // releases its handles) although handles may still hold it; the memory
  // itself goes with the last handle. The interpreter does this to its
  // global frame when it is destroyed, so that no cycle through that frame
  // outlives it.
  static void destroyNow(DtlObj* object) noexcept;

  // Marks a value that is never counted nor freed (nil, t, *unbound*).
  void makePermanent() { permanent_ = 1; }

private:
  ~DtlObj() = default;
  void destroyFields(class DtlReleaseQueue& queue) noexcept;
  void setText(const char* text, const char* failure);
  static bool localProceduresHoldOnly(DtlObj* frame) noexcept;

  std::uint32_t tag_;
  std::uint32_t refCount_ = 0;
  std::uint8_t deleted_ = 0;
  std::uint8_t queued_ = 0;     // waiting in the release queue
  std::uint8_t permanent_ = 0;  // never counted nor freed
  DtlObjPtr first_;
  DtlObjPtr second_;
  DtlObjPtr third_;
  // The widest form comes first: `{}` zeroes the first member, so this makes
  // every form start out null or zero.
  union Payload {
    struct {
      char* text;
      DtlNativeFunction function;
    } named;
    std::int32_t integer;
    double real;
    struct {
      DtlHashTable* table;
      DtList* params;
    } frame;
  } payload_{};
  static_assert(sizeof(Payload) == sizeof(Payload::named));

  friend class DtlReleaseQueue;
};

// The three shared values, made on first use and kept until the process ends.
const DtlObjPtr& DtlNil();      // the one object of tag 0: false
const DtlObjPtr& DtlT();        // the symbol "t": what predicates return for true
const DtlObjPtr& DtlUnbound();  // the symbol "*unbound*": a known name without a value

// Constructors of new values. Running out of memory raises the language error
// (`failure` names the operation for DtcAllocate).
DtlObjPtr DtcAllocate(DtlTagType tag, const char* failure);
DtlObjPtr DtcMakeObj(DtlTagType tag);
DtlObjPtr DtcMakeInteger(std::int32_t value);
DtlObjPtr DtcMakeFloat(double value);
DtlObjPtr DtcMakeString(const char* text);
DtlObjPtr DtcMakeSymbol(const char* name);
DtlObjPtr cons(const DtlObjPtr& car, const DtlObjPtr& cdr);
// A special form (DtlSpecialFormTag) or compiled function (DtlCompiledTag).
DtlObjPtr alloc_compiled_c(DtlTagType tag, const char* name, DtlNativeFunction function);
DtlObjPtr DtcMakeProcedure(const DtlObjPtr& params, const DtlObjPtr& body, const DtlObjPtr& frame);
// A new, empty environment frame whose parent is `parent` (null for none).
DtlObjPtr DtcMakeFrame(const DtlObjPtr& parent);

// The number of bindings in the frame's own table whose value is a procedure
// defined in this frame and held by nothing else. Raises the language error
// for anything but a frame.
std::uint32_t EnvLocalProcRefcnt(const DtlObjPtr& frame);

// True when the handle holds a value of the tag.
inline bool DtcIs(const DtlObjPtr& value, DtlTagType tag) { return value && value->tag() == tag; }
inline bool DtcIsNil(const DtlObjPtr& value) { return DtcIs(value, DtlNilTag); }
inline bool DtcIsNumber(const DtlObjPtr& value) { return DtcIs(value, DtlIntegerTag) || DtcIs(value, DtlFloatTag); }
// t or nil.
inline const DtlObjPtr& DtcBool(bool value) { return value ? DtlT() : DtlNil(); }
