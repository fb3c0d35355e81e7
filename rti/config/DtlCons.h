// List access on configuration-language values.
#pragma once

#include <cstdint>

#include "config/DtlObjPtr.h"

// The car and cdr of a cons; anything else raises "car of non-cons" or
// "cdr of non-cons". The result stays valid while the cell is held.
const DtlObjPtr& car(const DtlObjPtr& list);
const DtlObjPtr& cdr(const DtlObjPtr& list);
// The n-th element (n counted from 1: DtcNth(list, 2) is the cadr), as
// repeated cdr then car, with the same errors.
const DtlObjPtr& DtcNth(const DtlObjPtr& list, int n);

// The length of a proper list; nil is 0; an improper tail raises
// "DtcLength of non-cons".
std::int32_t DtcLength(const DtlObjPtr& list);

// Identity, and structural equality (different tags are never equal;
// numbers by value, strings by text, conses recursively, symbols by name;
// any other kind raises "Unknown type passed to equal!").
bool DtcEq(const DtlObjPtr& a, const DtlObjPtr& b);
bool DtcEqual(const DtlObjPtr& a, const DtlObjPtr& b);
