#include "config/DtlStream.h"

int DtlStream::peek() { return unget(getc()); }

int DtlStream::nextNonBlank() {
  for (;;) {
    const int ch = getc();
    if (ch == ';')
      flushUntil('\n');
    else if (!isBlank(ch))
      return ch;
  }
}

int DtlStream::flushUntil(int ch) {
  for (int c = getc(); c != ch && c != -1; c = getc()) {
  }
  return ch;
}
