// Numbers typed into the dialogs' plain edits.
#pragma once

#include <QString>

#include <cstdint>

// The decimal number at the start of `text`, read the way the C library's
// atoi reads it: leading blanks and one sign are skipped, reading stops at the
// first character that is not a digit, and text without a leading number
// reads as 0. A number beyond the 32-bit range reads as the nearest limit, so
// a range check on the result sees it as too large (or too small).
std::int32_t ReadDecimal(const QString& text);
