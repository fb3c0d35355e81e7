// Printing built-ins.
#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"
#include "config/DtlHashTable.h"
#include "config/DtlParam.h"
#include "config/DtlPrint.h"
#include "util/DtList.h"
#include "util/DtNotify.h"

DtlObjPtr DtlFormat(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, -1, "Wrong number of args to format");
  const DtlObjPtr& destination = car(args);
  if (DtcIsNil(destination)) DtlError("Sorry, output to string not implemented yet");
  if (!DtcEqual(destination, DtlT())) DtlError("Sorry, output to streams not implemented yet");
  const char* control = DtcExpectString(DtcNth(args, 2), "Format must be a string");
  const DtlObjPtr* next = &cdr(cdr(args));
  for (const char* c = control; *c; ++c) {
    if (*c != '~') {
      DtNotifyInfo("%c", *c);
      continue;
    }
    ++c;
    if (*c == '%') {
      DtNotifyInfo("\n");
    } else if (*c == 'A') {
      if (DtcIsNil(*next)) DtlError("Out of arguments");
      DtcObjFprint(car(*next), stdout);
      next = &cdr(*next);
    } else {
      DtlError("Unknown directive to format");
    }
  }
  return DtlNil();
}

DtlObjPtr DtlDescribe(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to describe");
  const DtlObjPtr& value = car(args);
  DtcObjFprint(value, stdout);
  DtNotifyInfo(" is");
  switch (value->tag()) {
    case DtlNilTag: DtNotifyInfo("NIL\n"); break;
    case DtlSymbolTag: DtNotifyInfo(" the symbol with name \"%s\"\n", value->name()); break;
    case DtlIntegerTag: DtNotifyInfo(" a fixed-point number\n"); break;
    case DtlFloatTag: DtNotifyInfo(" a floating-point number\n"); break;
    case DtlConsTag: DtNotifyInfo(" a cons cell\n"); break;
    case DtlSpecialFormTag: DtNotifyInfo(" a special form\n"); break;
    case DtlCompiledTag: DtNotifyInfo(" a compiled C-function\n"); break;
    case DtlStringTag: DtNotifyInfo(" a string\n"); break;
    case DtlLocativeTag: DtNotifyInfo(" a locative\n"); break;
    case DtlProcedureTag:
      DtNotifyInfo(" a lisp procedure\n");
      DtNotifyInfo("with params: ");
      DtcPrintLine(value->first());
      DtNotifyInfo("body: ");
      DtcPrintLine(value->second());
      DtNotifyInfo("and enclosing environment: ");
      DtcPrintLine(value->third());
      break;
    case DtlFrameTag:
      DtNotifyInfo(" an environment frame with parent frame ");
      DtcPrintLine(value->first());
      break;
    default: DtNotifyInfo(" ??????\n"); break;
  }
  return value;
}

DtlObjPtr DtlPrin1(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of arguments to prin1");
  DtcObjFprint(car(args), stdout);
  return car(args);
}

DtlObjPtr DtlTerpri(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 0, 0, "No arguments to terpri");
  DtNotifyInfo("\n");
  return DtlNil();
}

DtlObjPtr DtlBindings(const DtlObjPtr&, const DtlObjPtr& frame) {
  if (DtcIs(frame, DtlFrameTag) && frame->table()) frame->table()->print();
  return DtlNil();
}

DtlObjPtr DtlMem(const DtlObjPtr&, const DtlObjPtr&) {
  DtNotifyInfo("Must compile with -DMEMCHK=1 to use mem or DtlMem.\n");
  return DtlNil();
}

// Lines that read back as a RID file: (setqb name value) for every host
// variable registered in the current frame, in registration order.
DtlObjPtr DtlPrintRegistered(const DtlObjPtr&, const DtlObjPtr& frame) {
  if (!DtcIs(frame, DtlFrameTag) || !frame->params()) return DtlNil();
  for (DtListItem* item = frame->params()->head(); item; item = item->next()) {
    const auto* param = static_cast<const DtlParam*>(item->data());
    DtNotifyInfo("(setqb %s %s)\n", param->name(), param->text().c_str());
  }
  return DtlNil();
}
