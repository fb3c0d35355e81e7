#pragma once
// DtFilename: a DtString that holds a file path with '/' separators. Texts
// from configuration files or profiles may still carry '\\'; every
// construction and assignment turns those into '/'.

#include "util/DtString.h"

class DtFilename : public DtString {
public:
  DtFilename();
  DtFilename(const char* text);
  DtFilename(const DtFilename& other);
  explicit DtFilename(const DtString& other);
  ~DtFilename() override;

  DtFilename& operator=(const DtFilename& other);
  DtFilename& operator=(const DtString& other);
  DtFilename& operator=(const char* text);

  // Absolute means beginning with the separator.
  virtual bool isAbsolute() const;
  virtual bool isRelative() const;

  void normalize();
  // The text after the last separator; the whole name when there is none
  // or when the only separator is the first character.
  DtFilename baseName() const;

  static char separator() { return '/'; }
  static const DtFilename& nullFilename();
};

// The file alone when it is absolute, else directory + separator + file.
DtFilename operator+(const DtFilename& directory, const DtFilename& file);
