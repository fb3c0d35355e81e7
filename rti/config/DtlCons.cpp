#include "config/DtlCons.h"

#include <cstring>

#include "config/DtlDepthGuard.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"

namespace {
thread_local int equalDepth = 0;
}

const DtlObjPtr& car(const DtlObjPtr& list) {
  if (!DtcIs(list, DtlConsTag)) DtlError("car of non-cons");
  return list->first();
}

const DtlObjPtr& cdr(const DtlObjPtr& list) {
  if (!DtcIs(list, DtlConsTag)) DtlError("cdr of non-cons");
  return list->second();
}

const DtlObjPtr& DtcNth(const DtlObjPtr& list, int n) {
  const DtlObjPtr* cell = &list;
  for (int i = 1; i < n; ++i) cell = &cdr(*cell);
  return car(*cell);
}

std::int32_t DtcLength(const DtlObjPtr& list) {
  std::int32_t length = 0;
  for (const DtlObjPtr* cell = &list; !DtcIsNil(*cell); cell = &(*cell)->second()) {
    if (!DtcIs(*cell, DtlConsTag)) DtlError("DtcLength of non-cons");
    ++length;
  }
  return length;
}

bool DtcEq(const DtlObjPtr& a, const DtlObjPtr& b) { return a == b; }

bool DtcEqual(const DtlObjPtr& a, const DtlObjPtr& b) {
  DtlDepthGuard guard(equalDepth, "Lists nested too deeply to compare");
  const DtlObj* x = a.get();
  const DtlObj* y = b.get();
  // Conses: the cars recurse, the cdrs loop.
  for (;;) {
    if (x == y) return true;
    if (!x || !y || x->tag() != y->tag()) return false;
    switch (x->tag()) {
      case DtlIntegerTag:
      case DtlLocativeTag: return x->intValue() == y->intValue();
      case DtlFloatTag: return x->floatValue() == y->floatValue();
      case DtlStringTag:
      case DtlSymbolTag: return std::strcmp(x->name(), y->name()) == 0;
      case DtlConsTag:
        if (!DtcEqual(x->first(), y->first())) return false;
        x = x->second().get();
        y = y->second().get();
        break;
      default: DtlError("Unknown type passed to equal!");
    }
  }
}
