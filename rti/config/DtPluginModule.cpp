#include "config/DtPluginModule.h"

#include <dlfcn.h>

DtPluginModule::~DtPluginModule() { dlclose(handle_); }

std::unique_ptr<DtPluginModule> DtPluginModule::open(const char* path, std::string* error) {
  // Local: two plug-ins may export the same entry names, and each must be
  // found in its own module.
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    if (error) *error = reason ? reason : "";
    return nullptr;
  }
  return std::unique_ptr<DtPluginModule>(new DtPluginModule(handle));
}

void* DtPluginModule::symbol(const char* name) const { return dlsym(handle_, name); }

std::string DtPluginModule::directoryOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname || !info.dli_fname[0]) return {};
  std::string file(info.dli_fname);
  const std::string::size_type slash = file.rfind('/');
  if (slash == std::string::npos) return ".";  // found through the working directory
  if (slash == 0) return "/";
  return file.substr(0, slash);
}
