// Printed forms of configuration-language values.
#pragma once

#include <cstdio>
#include <string>

#include "config/DtlObjPtr.h"

// Prints the value to the stream and flushes it: nil, a symbol's name, "%d",
// "%f", (a b c) and (a . b), "\"text\"", #<...> forms for functions,
// procedures and frames; "#deleted# " before a destroyed value.
void DtcObjFprint(const DtlObjPtr& value, std::FILE* stream);
// The inside of a list (no parentheses); raises the language error for
// anything but a cons.
void DtcPrintList(const DtlObjPtr& list, std::FILE* stream);

// The value on standard output, then a newline through DtNotifyInfo.
void DtcPrintLine(const DtlObjPtr& value);
// The value on standard error (after a "Lisp Error"/"Lisp Warning" text).
void DtcPrintError(const DtlObjPtr& value);

// A value as text that reads back: "%d" for an integer, "%f" for a float,
// "\"%s\"" for a string, the printed form for anything else.
std::string DtcValueText(const DtlObjPtr& value);

// "%f" of the value, with '.' whatever the process locale.
std::string DtcFloatText(double value);
