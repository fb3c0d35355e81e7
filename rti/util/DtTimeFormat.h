#pragma once
// Time of day from hours: "h:mm:ss" with the given number of decimals on the
// seconds, a '-' in front of negative times ("-0:15:00").

#include <cstddef>

// Writes at most `size` bytes (always NUL-terminated) and returns the buffer.
// Decimals are taken between 0 and 9.
char* DtFormatTime(double hours, char* buffer, std::size_t size, int decimals);

// The same into an array, whose length is known.
template <std::size_t N>
char* DtFormatTime(double hours, char (&buffer)[N], int decimals) {
  return DtFormatTime(hours, buffer, N, decimals);
}

// One decimal, into a buffer of the calling thread that the next call reuses.
const char* DtTimeToString(double hours);
