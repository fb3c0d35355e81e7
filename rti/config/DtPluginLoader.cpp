#include "config/DtPluginLoader.h"

#include <string>

#include "config/DtPluginModule.h"
#include "util/DtList.h"
#include "util/DtNotify.h"

namespace {

DtFilename withTrailingSeparator(DtFilename directory) {
  const int length = directory.length();
  if (length == 0) return DtFilename("./");  // a bare name would send dlopen to the system's search path
  if (directory[length - 1] != DtFilename::separator()) directory += "/";
  return directory;
}

}  // namespace

DtPluginLoader::DtPluginLoader(const char* pluginDirectory)
    : DtPluginLoader(pluginDirectory, findLibraryDir()) {}

DtPluginLoader::DtPluginLoader(const char* pluginDirectory, const DtFilename& libraryDirectory) {
  const DtFilename relative(pluginDirectory ? pluginDirectory : "");
  if (libraryDirectory.length() == 0) {
    directory_ = withTrailingSeparator(relative);
    DtNotifyError("Unable to find the directory of the RTI library; looking for plugins in %s\n",
                  directory_.string());
    return;
  }
  directory_ = withTrailingSeparator(libraryDirectory + relative);
}

DtPluginLoader::~DtPluginLoader() {
  // Unloaded in load order, as they came.
  for (std::unique_ptr<DtPluginModule>& module : modules_) module.reset();
}

DtFilename DtPluginLoader::findLibraryDir() {
  // Any function of the library will do: its address lies in the library's
  // own mapping, whatever PATH or the loader's search path say.
  return DtFilename(DtPluginModule::directoryOf(reinterpret_cast<const void*>(&findLibraryDir)).c_str());
}

void DtPluginLoader::loadPlugins(const DtList& pluginNames) {
  if (pluginNames.count() == 0) return;
  DtNotifyError("Searching for RTI plugins in directory %s\n", directory_.string());
  for (DtListItem* item = pluginNames.head(); item; item = item->next()) {
    const DtFilename& name = *static_cast<const DtFilename*>(item->data());
    DtNotifyInfo("Attempting to load %s\n", name.string());
    loadPlugin(name);
  }
}

void DtPluginLoader::loadPlugin(const DtFilename& name) {
  // Joined as text, not as paths: even an absolute name stays below the
  // plug-in directory.
  DtFilename path(directory_);
  path += name;
  std::string reason;
  std::unique_ptr<DtPluginModule> module = DtPluginModule::open(path.string(), &reason);
  if (!module) {
    DtNotifyError("Unable to load plugin at: %s\n", path.string());
    DtNotifyVerbose("%s\n", reason.c_str());
    return;
  }
  modules_.push_back(std::move(module));
  if (void* entry = modules_.back()->symbol("SetPluginCreators")) {
    reinterpret_cast<DtSetPluginCreatorsEntry>(entry)();
  }
}

template <class Entry, class... Args>
void DtPluginLoader::callEveryEntry(const char* entryName, Args... args) {
  for (const std::unique_ptr<DtPluginModule>& module : modules_) {
    if (void* entry = module->symbol(entryName)) reinterpret_cast<Entry>(entry)(args...);
  }
}

void DtPluginLoader::initRtiexecPlugins(void* object) {
  callEveryEntry<DtInitRtiexecPluginEntry>("InitRtiexecPlugin", object);
}

void DtPluginLoader::initLrcPlugins(DtRtiAmbassadorImplementor* implementor) {
  callEveryEntry<DtInitLrcPluginEntry>("InitLRCPlugin", implementor);
}
