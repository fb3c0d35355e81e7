// A plug-in for the loader's tests, built twice (qlxTestPluginA and
// qlxTestPluginB). Every entry reports itself to the journal that the test
// program exports; plug-in B lacks "InitRtiexecPlugin" to show that a missing
// entry is simply not called.

#ifndef QLX_PLUGIN_NAME
#error "QLX_PLUGIN_NAME names the plug-in"
#endif

extern "C" void qlxTestPluginJournal(const char* plugin, const char* entry, void* argument);

extern "C" __attribute__((visibility("default"))) void SetPluginCreators() {
  qlxTestPluginJournal(QLX_PLUGIN_NAME, "SetPluginCreators", nullptr);
}

extern "C" __attribute__((visibility("default"))) void InitLRCPlugin(void* implementor) {
  qlxTestPluginJournal(QLX_PLUGIN_NAME, "InitLRCPlugin", implementor);
}

#ifndef QLX_PLUGIN_WITHOUT_RTIEXEC_ENTRY
extern "C" __attribute__((visibility("default"))) void InitRtiexecPlugin(void* object) {
  qlxTestPluginJournal(QLX_PLUGIN_NAME, "InitRtiexecPlugin", object);
}
#endif
