#include "config/DtlBuiltins.h"

#include "config/DtlEnv.h"
#include "config/DtlObj.h"
#include "config/DtlSyntacticForms.h"

namespace {

struct Builtin {
  const char* name;
  DtlNativeFunction function;
};

// Several names may share a function; each name gets a value of its own.
constexpr Builtin specialForms[] = {
    {"quote", DtlQuote},       {"define", DtlDefine}, {"setq", DtlDefine}, {"lambda", DtlLambda}, {"let", DtlLet},
    {"sequence", DtlSequence}, {"if", DtlIf},         {"cond", DtlCond},   {"set!", DtlSetBang},  {"setqb", DtlSetBang},
};

constexpr Builtin functions[] = {
    {"load", DtlLoad},
    {"+", DtlPlus},
    {"plus", DtlPlus},
    {"-", DtlSubtract},
    {"*", DtlMultiply},
    {"/", DtlDivide},
    {"=", DtcEqualSign},
    {">", DtcGreater},
    {">=", DtcGreaterEqual},
    {"<", DtcLess},
    {"<=", DtcLessEqual},
    {"abort", DtlAbort},
    {"abs", DtlAbs},
    {"and", DtlAnd},
    {"append", DtlAppend},
    {"car", DtlCar},
    {"cdr", DtlCdr},
    {"cons", DtlCons},
    {"cos", DtlCos},
    {"sin", DtlSin},
    {"describe", DtlDescribe},
    {"bindings", DtlBindings},
    {"eq?", DtlEq},
    {"eq", DtlEq},
    {"equal?", DtlEqual},
    {"equal", DtlEqual},
    {"eval", DtlEval},
    {"exit", DtlExit},
    {"format", DtlFormat},
    {"getenv", DtlGetenv},
    {"length", DtlLength},
    {"list", DtlList},
    {"list?", DtlListp},
    {"logior", DtlLogior},
    {"mem", DtlMem},
    {"make-frame", DtlMakeFrame},
    {"not", DtlNot},
    {"null?", DtlNot},
    {"nullp", DtlNot},
    {"number?", DtlNumberp},
    {"or", DtlOr},
    {"popen", DtlPopen},
    {"prin1", DtlPrin1},
    {"putenv", DtlPutenv},
    {"reverse", DtlReverse},
    {"string-append", DtlStringAppend},
    {"string-equal", DtcStringEqual},
    {"string?", DtlStringp},
    {"path-cross", DtlPathCross},
    {"system", DtlSystem},
    {"terpri", DtlTerpri},
    {"print-registered", DtlPrintRegistered},
};

void bind(const char* name, const DtlObjPtr& value, const DtlObjPtr& frame) {
  set1env(DtcIntern(name, frame), value, frame);
}

}  // namespace

void DtcRegisterBuiltins(const DtlObjPtr& frame) {
  frame->setFirst(DtlObjPtr());
  bind("*unbound*", DtlUnbound(), frame);
  bind("nil", DtlNil(), frame);
  bind("t", DtlT(), frame);
  bind("eof", DtlNil(), frame);
  for (const Builtin& form : specialForms)
    bind(form.name, alloc_compiled_c(DtlSpecialFormTag, form.name, form.function), frame);
  for (const Builtin& function : functions)
    bind(function.name, alloc_compiled_c(DtlCompiledTag, function.name, function.function), frame);
}
