#include "core/DtFedFileMapping.h"

#include "util/DtNotify.h"

DtFedFileMapping::DtFedFileMapping(const DtString& executionName, const DtString& fedFile)
    : execName_(executionName), fedFileName_(fedFile) {}

DtFedFileMapping::DtFedFileMapping(const DtFedFileMapping&) {
  DtNotifyError("WARNING: Copy constructor not implemented for DtFedFileMapping\n");
}

DtFedFileMapping& DtFedFileMapping::operator=(const DtFedFileMapping&) {
  DtNotifyError("WARNING: Assignment operator not implemented for DtFedFileMapping\n");
  return *this;
}

DtFedFileMapping::~DtFedFileMapping() = default;

const DtString& DtFedFileMapping::fedFileName() const { return fedFileName_; }

const DtString& DtFedFileMapping::execName() const { return execName_; }
