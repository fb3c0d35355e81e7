// The reader of the configuration language: text to values, one datum a call.
#pragma once

#include "config/DtlObjPtr.h"

class DtlStream;

// The next datum of the stream. Symbols are interned in `frame`; at the end
// of the input the result is the symbol eof interned there. Syntax errors
// raise the language error:
//   "..."     a string (no escapes; "EOF while reading string")
//   'x        (quote x)
//   ( ... )   a list; () is nil; "Missing \")\"" at the end of the input;
//             a lone ')' raises "Unexpected \")\""; '.' is a plain symbol
//   ; ...     a comment to the end of the line
//   atoms     numbers (see lreadnum) when they start with a digit or with
//             '-' and a digit, else symbols, case kept
// Lists nested deeper than DtlDepthGuard::MaxDepth raise the language error.
DtlObjPtr lread(DtlStream* stream, const DtlObjPtr& frame);

// A string literal whose opening double quote has been read.
DtlObjPtr lreadstring(DtlStream* stream);

// The number of an atom's text:
//   contains '.'        a float (strtod)
//   starts with '0'     an integer in base 0: 0x1F is 31, 017 is 15, 08 is 0
//   contains 'e' or 'E' a float: 1e3 is 1000.0
//   otherwise           a decimal integer kept as 32 bits: 2147483648 wraps
//                       to -2147483648
// Characters after the longest number are ignored (12abc is 12). Numbers are
// read the same whatever the process locale.
DtlObjPtr lreadnum(const char* text);
