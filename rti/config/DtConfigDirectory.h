#pragma once
// The configuration directory named by the environment variable RTI_CONFIG,
// where the RID file and FED files are looked for when they are not found
// by their own names.

#include <string>

// RTI_CONFIG without one trailing '/' or '\\'; empty when the variable is
// unset or empty (so an empty setting never means the root directory).
std::string DtConfigDirectory();
