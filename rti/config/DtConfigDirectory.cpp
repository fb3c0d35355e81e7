#include "config/DtConfigDirectory.h"

#include <cstdlib>

std::string DtConfigDirectory() {
  const char* config = std::getenv("RTI_CONFIG");
  std::string directory(config ? config : "");
  if (!directory.empty() && (directory.back() == '/' || directory.back() == '\\')) directory.pop_back();
  return directory;
}
