// Numbers typed into the dialogs' plain edits, and read from the tree's texts.
#pragma once

#include <QString>

#include <cstdint>

// The decimal number at `at`, read the way scanf's %d reads it: leading
// blanks and one sign are skipped, reading stops at the first character that
// is not a digit. A number beyond the 32-bit range reads as the nearest
// limit, so a range check on the result sees it as too large (or too small).
// On success `at` is moved past the digits; false, leaving `at` alone, when
// no digit follows the blanks and the sign.
bool ReadDecimalAt(const QString& text, qsizetype& at, std::int32_t& value);

// The decimal number at the start of `text`, read the way the C library's
// atoi reads it: as ReadDecimalAt, and text without a leading number reads as 0.
std::int32_t ReadDecimal(const QString& text);
