#include "exec/DtFederate.h"

DtFederate::DtFederate(const char* name, unsigned long handle, unsigned long connectionHandle)
    : name_(name ? name : ""),
      handle_(static_cast<std::uint32_t>(handle)),
      connectionHandle_(static_cast<std::uint32_t>(connectionHandle)) {}

DtFederate::~DtFederate() = default;
