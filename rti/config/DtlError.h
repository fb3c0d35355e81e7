// The language error of the configuration interpreter.
#pragma once

// Prints "Error: <message>\n" at notify level 1 and throws a DtlObjPtr that
// holds nil. The message is not carried by the exception; the loaders catch
// it and go on with the next form (an error while reading ends the load).
[[noreturn]] void DtlError(const char* message);

// The same with a printf-style message.
[[noreturn]] void DtlErrorf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The message of the last language error raised on this thread ("" before
// the first), for a caller that says more about where it happened.
const char* DtlLastErrorMessage();
