#include "config/DtlStringStream.h"

int DtlStringStream::peek() {
  const auto ch = static_cast<unsigned char>(text_[position_]);
  return ch == 0 ? -1 : ch;
}

int DtlStringStream::getc() {
  const int ch = peek();
  if (ch != -1) ++position_;
  return ch;
}

int DtlStringStream::unget(int ch) {
  if (ch != -1 && position_ > 0) --position_;
  return ch;
}
