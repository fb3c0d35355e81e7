#pragma once
// DtPluginLoader: loads the plug-ins that the RID file names
// ("RTI-addPluginName") from the plug-in directory and calls their entries.
// The ambassador owns one for its lifetime: it constructs it with the RID
// key RTI_pluginDirectory, calls loadPlugins with the RID parameters' plug-in
// names, makes its implementor and then has every plug-in's "InitLRCPlugin"
// called with it (callEntries).
//
// The plug-in directory is RTI_pluginDirectory taken relative to the
// directory that holds libhlacore itself (so "../plugins" next to lib/);
// an absolute RTI_pluginDirectory stands as it is.
//
// A plug-in exports, with C linkage, any of these entries; each is optional:
//   void SetPluginCreators(void);            right after the plug-in loads
//   void InitLRCPlugin(DtRtiAmbassadorImplementor*);   through callEntries,
//                                            by the ambassador (core/DtRtiPlugin.h)
//   void InitRtiexecPlugin(void*);           from initRtiexecPlugins
// The entries run in load order. The loader unloads every plug-in when it is
// destroyed, in load order.
//
// A plug-in that goes wrong is reported at level 1 with its path, and the
// process goes on without it: one that cannot be loaded, or that exports none
// of the three entries, is not kept; one whose entry throws is not called
// again, but stays loaded until the loader goes, since what it did before
// it threw (an observer or a creator filed) may still run its code.
//
// Used on the thread that constructs the ambassador.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "util/DtFilename.h"

class DtList;
class DtPluginModule;

extern "C" {
typedef void (*DtSetPluginCreatorsEntry)();
typedef void (*DtInitRtiexecPluginEntry)(void* object);
}

class DtPluginLoader {
public:
  // `pluginDirectory` is the RID key's text; null counts as empty.
  explicit DtPluginLoader(const char* pluginDirectory);
  // The same against a given library directory; an empty one means the
  // library's directory is unknown, and then `pluginDirectory` is used as it
  // stands, with a message.
  DtPluginLoader(const char* pluginDirectory, const DtFilename& libraryDirectory);
  DtPluginLoader(const DtPluginLoader&) = delete;
  DtPluginLoader& operator=(const DtPluginLoader&) = delete;
  virtual ~DtPluginLoader();

  // Loads every plug-in of the list (DtFilename items), in order. An empty
  // list does nothing and prints nothing.
  virtual void loadPlugins(const DtList& pluginNames);
  // Calls "InitRtiexecPlugin" of every loaded plug-in that exports it.
  virtual void initRtiexecPlugins(void* object);
  // Calls the entry of that name of every loaded plug-in that exports it,
  // through `call`, which is given the entry's address and calls it as the
  // entry's type (which the caller knows): so the ambassador calls
  // "InitLRCPlugin" with its implementor.
  virtual void callEntries(const char* entryName, const std::function<void(void* entry)>& call);
  // The names of the entries.
  static constexpr const char* setCreatorsEntryName = "SetPluginCreators";
  static constexpr const char* lrcEntryName = "InitLRCPlugin";
  static constexpr const char* rtiexecEntryName = "InitRtiexecPlugin";
  // Loads one plug-in from the plug-in directory and calls its
  // "SetPluginCreators". A plug-in that cannot be loaded is reported
  // ("Unable to load plugin at: <path>") and leaves no trace.
  virtual void loadPlugin(const DtFilename& name);

  // Called inside the handler of an exception that a plug-in's entry threw,
  // to describe it for the report (it may rethrow to look at it). Without
  // one, or when it returns an empty text, a std::exception is described by
  // its what() and anything else as an exception of an unknown type.
  void setExceptionDescriber(std::function<std::string()> describer) { describer_ = std::move(describer); }

  // The directory (ending with the separator) that plug-ins are loaded from.
  const DtFilename& pluginDirectory() const { return directory_; }
  // The plug-ins kept (those that failed in an entry included).
  std::uint32_t pluginCount() const { return static_cast<std::uint32_t>(plugins_.size()); }

  // The directory that holds the libhlacore file, found from the address of
  // the library's own code; empty when the system cannot tell.
  static DtFilename findLibraryDir();

private:
  struct Loaded {
    std::unique_ptr<DtPluginModule> module;
    DtFilename path;
    bool failed = false;  // an entry threw: none is called again
  };

  // Calls the plug-in's entry through `call`, if it has it and has not
  // failed; reports an entry that throws and marks the plug-in failed.
  void callEntry(Loaded& plugin, const char* entryName, const std::function<void(void* entry)>& call);
  std::string describeCurrentException() const;

  DtFilename directory_;
  std::vector<Loaded> plugins_;  // in load order
  std::function<std::string()> describer_;
};
