// A plug-in for the loader's tests, built in several forms (qlxTestPluginA,
// B, ...). Every entry reports itself to the journal that the test program
// exports. Plug-in B lacks "InitRtiexecPlugin" to show that a missing entry
// is simply not called; the others show how a plug-in that goes wrong is
// reported:
//   QLX_PLUGIN_WITHOUT_ENTRIES   exports none of the three entries
//   QLX_PLUGIN_THROWS_FROM=n     entry n (1 SetPluginCreators, 2
//                                InitLRCPlugin) throws after reporting itself
//   QLX_PLUGIN_THROWS_RTI        ... an RTI exception, else std::runtime_error

#ifndef QLX_PLUGIN_NAME
#error "QLX_PLUGIN_NAME names the plug-in"
#endif

#include <stdexcept>

#ifdef QLX_PLUGIN_THROWS_RTI
#include <RTI.hh>
#endif

extern "C" void qlxTestPluginJournal(const char* plugin, const char* entry, void* argument);

#ifndef QLX_PLUGIN_THROWS_FROM
#define QLX_PLUGIN_THROWS_FROM 0
#endif

namespace {

[[maybe_unused]] void report(const char* entry, void* argument, int number) {
  qlxTestPluginJournal(QLX_PLUGIN_NAME, entry, argument);
  if (number != QLX_PLUGIN_THROWS_FROM) return;
#ifdef QLX_PLUGIN_THROWS_RTI
  throw RTI::RTIinternalError("refused by the plug-in");
#else
  throw std::runtime_error("refused by the plug-in");
#endif
}

}  // namespace

#ifndef QLX_PLUGIN_WITHOUT_ENTRIES
extern "C" __attribute__((visibility("default"))) void SetPluginCreators() { report("SetPluginCreators", nullptr, 1); }

extern "C" __attribute__((visibility("default"))) void InitLRCPlugin(void* implementor) {
  report("InitLRCPlugin", implementor, 2);
}

#ifndef QLX_PLUGIN_WITHOUT_RTIEXEC_ENTRY
extern "C" __attribute__((visibility("default"))) void InitRtiexecPlugin(void* object) {
  report("InitRtiexecPlugin", object, 3);
}
#endif
#else
// Exported, but not an entry.
extern "C" __attribute__((visibility("default"))) void qlxNotAnEntry() {}
#endif
