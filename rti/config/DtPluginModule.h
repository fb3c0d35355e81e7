#pragma once
// DtPluginModule: one loaded plug-in library. It owns the module handle and
// unloads the library when destroyed, so nothing calls into a plug-in after
// its module is gone unless it kept an entry pointer itself.

#include <memory>
#include <string>

class DtPluginModule {
public:
  DtPluginModule(const DtPluginModule&) = delete;
  DtPluginModule& operator=(const DtPluginModule&) = delete;
  ~DtPluginModule();

  // Loads the library at `path`, resolving every symbol now so that a
  // plug-in with a missing dependency fails here and not at its first call.
  // Null when it cannot be loaded; `error` then holds the system's reason.
  static std::unique_ptr<DtPluginModule> open(const char* path, std::string* error);

  // The address of the exported name, or null when the plug-in lacks it.
  void* symbol(const char* name) const;

  // The directory of the file that holds the code at `address` (the shared
  // library or the program), without a trailing separator; empty when the
  // system cannot tell.
  static std::string directoryOf(const void* address);

private:
  explicit DtPluginModule(void* handle) : handle_(handle) {}
  void* handle_;
};
