#pragma once
// DtTallySink: where the object manager's per-class object counts go. The
// management object model's tally list takes each set it is handed (one per
// class, its count stored under sent best effort) and frees it with itself;
// it implements this from the layer above.

#include <memory>

#include "objects/DtMtallySet.h"

class DtTallySink {
public:
  virtual ~DtTallySink() = default;
  virtual void adopt(std::unique_ptr<DtMtallySet> set) = 0;
};
