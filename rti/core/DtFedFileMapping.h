#pragma once
// DtFedFileMapping: one federation execution name and the FED file that a
// create in this process gave for it. The federate manager keeps them in
// the order they were made; the oldest mapping of a name is the one used.
//
// Copying is not offered: a copy prints a warning at notify level 1 and
// holds two empty names; an assignment prints one and changes nothing.

#include "util/DtString.h"

class DtFedFileMapping {
public:
  DtFedFileMapping(const DtString& executionName, const DtString& fedFile);
  DtFedFileMapping(const DtFedFileMapping& other);
  DtFedFileMapping& operator=(const DtFedFileMapping& other);
  virtual ~DtFedFileMapping();

  virtual const DtString& fedFileName() const;
  virtual const DtString& execName() const;

private:
  DtString execName_;
  DtString fedFileName_;
};
