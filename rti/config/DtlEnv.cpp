#include "config/DtlEnv.h"

#include "config/DtlError.h"
#include "config/DtlHashTable.h"
#include "config/DtlObj.h"

namespace {

// Every frame operation goes through here: a value that is not a live frame
// (a host mistake, or a frame already destroyed with its interpreter) gives
// the language error instead of a null table.
DtlHashTable& tableOf(const DtlObj* frame) {
  if (!frame || frame->tag() != DtlFrameTag || !frame->table()) DtlError("Non-frame as environment");
  return *frame->table();
}

}  // namespace

DtlObjPtr set1env(const DtlObjPtr& symbol, const DtlObjPtr& value, const DtlObjPtr& frame) {
  if (!DtcIs(symbol, DtlSymbolTag)) DtlError("Non-symbol to set1env");
  DtlHashTable& table = tableOf(frame.get());
  if (table.findValue(symbol->pname()))
    table.rebind(symbol, value);
  else
    table.insert(symbol, value);
  return symbol;
}

bool boundp(const DtlObjPtr& symbol, const DtlObjPtr& frame) {
  if (!DtcIs(symbol, DtlSymbolTag)) DtlError("non-symbol to boundp");
  const DtlObjPtr* value = tableOf(frame.get()).findValue(symbol->pname());
  return value && *value != DtlUnbound();
}

DtlObjPtr DtcIntern(const char* name, const DtlObjPtr& frame) {
  for (const DtlObj* f = frame.get(); f; f = f->first().get()) {
    if (const DtlObjPtr* key = tableOf(f).findKey(name)) return *key;
  }
  DtlObjPtr symbol = DtcMakeSymbol(name);
  tableOf(frame.get()).insert(symbol, DtlUnbound());
  return symbol;
}

const DtlObjPtr& DtcSymevalRef(const DtlObjPtr& symbol, const DtlObjPtr& frame) {
  if (!DtcIs(symbol, DtlSymbolTag)) DtlError("Non-symbol to DtcSymeval");
  for (const DtlObj* f = frame.get(); f; f = f->first().get()) {
    if (const DtlObjPtr* value = tableOf(f).findValue(symbol->pname())) {
      if (*value == DtlUnbound()) break;
      return *value;
    }
  }
  DtlErrorf("Unbound symbol %s", symbol->name());
}

DtlObjPtr DtcSymeval(const DtlObjPtr& symbol, const DtlObjPtr& frame) { return DtcSymevalRef(symbol, frame); }
