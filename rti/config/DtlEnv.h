// Environment frames: binding, looking up and interning names.
#pragma once

#include "config/DtlObjPtr.h"

// Binds the symbol to the value in the frame's own table (adds the binding or
// replaces it); never looks at parent frames. Returns the symbol.
DtlObjPtr set1env(const DtlObjPtr& symbol, const DtlObjPtr& value, const DtlObjPtr& frame);

// True when the frame's own table binds the symbol's name to a value other
// than *unbound*.
bool boundp(const DtlObjPtr& symbol, const DtlObjPtr& frame);

// The symbol of that name. Looked up in the frame and then its parents, so
// that a name known outside (lambda, a global variable) is never hidden by
// reading or registering it in an inner frame; a name known nowhere becomes a
// new symbol bound to *unbound* in the frame itself.
DtlObjPtr DtcIntern(const char* name, const DtlObjPtr& frame);

// The value of the symbol, searched from the frame outwards. A binding to
// *unbound* ends the search with "Unbound symbol <name>", as does a name that
// no frame binds.
DtlObjPtr DtcSymeval(const DtlObjPtr& symbol, const DtlObjPtr& frame);
// The same without taking a count (the binding's own handle).
const DtlObjPtr& DtcSymevalRef(const DtlObjPtr& symbol, const DtlObjPtr& frame);
