#include "util/DtFilename.h"

#include <cstring>

DtFilename::DtFilename() = default;

DtFilename::DtFilename(const char* text) : DtString(text) { normalize(); }

DtFilename::DtFilename(const DtFilename& other) : DtString(other) {}

DtFilename::DtFilename(const DtString& other) : DtString(other) { normalize(); }

DtFilename::~DtFilename() = default;

DtFilename& DtFilename::operator=(const DtFilename& other) {
  DtString::operator=(other);
  return *this;
}

DtFilename& DtFilename::operator=(const DtString& other) {
  DtString::operator=(other);
  normalize();
  return *this;
}

DtFilename& DtFilename::operator=(const char* text) {
  DtString::operator=(text);
  normalize();
  return *this;
}

bool DtFilename::isAbsolute() const { return (*this)[0] == separator(); }

bool DtFilename::isRelative() const { return !isAbsolute(); }

void DtFilename::normalize() {
  const int len = length();
  for (int i = 0; i < len; ++i) {
    if ((*this)[i] == '\\') (*this)[i] = separator();
  }
}

DtFilename DtFilename::baseName() const {
  const char* last = std::strrchr(string(), separator());
  if (!last || last == string()) return *this;
  return DtFilename(last + 1);
}

const DtFilename& DtFilename::nullFilename() {
  static const DtFilename* const empty = new DtFilename;
  return *empty;
}

DtFilename operator+(const DtFilename& directory, const DtFilename& file) {
  if (file.isAbsolute()) return file;
  DtFilename joined(directory);
  joined += "/";
  joined += file;
  joined.normalize();
  return joined;
}
