#include "config/DtPluginLoader.h"

#include <exception>
#include <string>

#include "config/DtPluginModule.h"
#include "util/DtList.h"
#include "util/DtNotify.h"

namespace {

const char* const setCreatorsEntry = DtPluginLoader::setCreatorsEntryName;
const char* const initLrcEntry = DtPluginLoader::lrcEntryName;
const char* const initRtiexecEntry = DtPluginLoader::rtiexecEntryName;

DtFilename withTrailingSeparator(DtFilename directory) {
  const int length = directory.length();
  if (length == 0) return DtFilename("./");  // a bare name would send dlopen to the system's search path
  if (directory[length - 1] != DtFilename::separator()) directory += "/";
  return directory;
}

}  // namespace

DtPluginLoader::DtPluginLoader(const char* pluginDirectory) : DtPluginLoader(pluginDirectory, findLibraryDir()) {}

DtPluginLoader::DtPluginLoader(const char* pluginDirectory, const DtFilename& libraryDirectory) {
  const DtFilename relative(pluginDirectory ? pluginDirectory : "");
  if (libraryDirectory.length() == 0) {
    directory_ = withTrailingSeparator(relative);
    DtNotifyError("Unable to find the directory of the RTI library; looking for plugins in %s\n", directory_.string());
    return;
  }
  directory_ = withTrailingSeparator(libraryDirectory + relative);
}

DtPluginLoader::~DtPluginLoader() {
  // Unloaded in load order, as they came.
  for (Loaded& plugin : plugins_) plugin.module.reset();
}

DtFilename DtPluginLoader::findLibraryDir() {
  // Any function of the library will do: its address lies in the library's
  // own mapping, whatever PATH or the loader's search path say.
  return DtFilename(DtPluginModule::directoryOf(reinterpret_cast<const void*>(&findLibraryDir)).c_str());
}

void DtPluginLoader::callEntry(Loaded& plugin, const char* entryName, const std::function<void(void* entry)>& call) {
  if (plugin.failed) return;
  void* entry = plugin.module->symbol(entryName);
  if (!entry) return;
  try {
    call(entry);
  } catch (...) {
    plugin.failed = true;
    DtNotifyError("Plugin %s failed in %s (%s): not used further\n", plugin.path.string(), entryName,
                  describeCurrentException().c_str());
  }
}

std::string DtPluginLoader::describeCurrentException() const {
  if (describer_) {
    try {
      std::string text = describer_();
      if (!text.empty()) return text;
    } catch (...) {
      // A describer that cannot tell leaves it to the plain description.
    }
  }
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception of an unknown type";
  }
}

void DtPluginLoader::callEntries(const char* entryName, const std::function<void(void* entry)>& call) {
  for (Loaded& plugin : plugins_) callEntry(plugin, entryName, call);
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
  if (!module->symbol(setCreatorsEntry) && !module->symbol(initLrcEntry) && !module->symbol(initRtiexecEntry)) {
    // Likely a library named by mistake: nothing of it would ever run.
    DtNotifyError("Plugin %s exports none of %s, %s and %s: not used\n", path.string(), setCreatorsEntry, initLrcEntry,
                  initRtiexecEntry);
    return;
  }
  plugins_.push_back(Loaded{std::move(module), path});
  callEntry(plugins_.back(), setCreatorsEntry,
            [](void* entry) { reinterpret_cast<DtSetPluginCreatorsEntry>(entry)(); });
}

void DtPluginLoader::initRtiexecPlugins(void* object) {
  callEntries(initRtiexecEntry, [object](void* entry) { reinterpret_cast<DtInitRtiexecPluginEntry>(entry)(object); });
}
