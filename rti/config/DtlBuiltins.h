// The built-in functions of the configuration language and their
// registration in an interpreter's global frame. Each receives its evaluated
// arguments and the current frame; a wrong argument count or type raises the
// language error with the function's own message.
#pragma once

#include "config/DtlObjPtr.h"

// Binds *unbound*, nil, t and eof, the special forms and every function
// below in `frame` (which becomes a frame without parent).
void DtcRegisterBuiltins(const DtlObjPtr& frame);

// Arithmetic (integers wrap at 32 bits; a float operand makes a float).
DtlObjPtr DtlPlus(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlSubtract(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlMultiply(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlDivide(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlAbs(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlSin(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlCos(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlLogior(const DtlObjPtr& args, const DtlObjPtr& frame);

// Numeric comparison: t or nil.
DtlObjPtr DtcEqualSign(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtcGreater(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtcGreaterEqual(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtcLess(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtcLessEqual(const DtlObjPtr& args, const DtlObjPtr& frame);

// Lists, predicates and evaluation.
DtlObjPtr DtlAppend(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlCar(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlCdr(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlCons(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlLength(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlList(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlListp(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlReverse(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlEq(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlEqual(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlNot(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlNumberp(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlStringp(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlAnd(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlOr(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlEval(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlMakeFrame(const DtlObjPtr& args, const DtlObjPtr& frame);

// Strings.
DtlObjPtr DtlStringAppend(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtcStringEqual(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlPathCross(const DtlObjPtr& args, const DtlObjPtr& frame);

// The process.
DtlObjPtr DtlExit(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlAbort(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlGetenv(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlPutenv(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlSystem(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlPopen(const DtlObjPtr& args, const DtlObjPtr& frame);

// Printing.
DtlObjPtr DtlFormat(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlDescribe(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlPrin1(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlTerpri(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlBindings(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlMem(const DtlObjPtr& args, const DtlObjPtr& frame);
DtlObjPtr DtlPrintRegistered(const DtlObjPtr& args, const DtlObjPtr& frame);

// (load "file") into the current frame, or (load '("dir" ...) "file") along
// a list of directories.
DtlObjPtr DtlLoad(const DtlObjPtr& args, const DtlObjPtr& frame);
