#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ConfigTestFiles.h"
#include "config/DtPluginLoader.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtList.h"

// What the test plug-ins report: "<plug-in>:<entry>" and the pointer they got.
namespace {
struct JournalEntry {
  std::string call;
  void* argument;
};
std::vector<JournalEntry> journal;
}  // namespace

extern "C" __attribute__((visibility("default"))) void qlxTestPluginJournal(const char* plugin, const char* entry,
                                                                            void* argument) {
  journal.push_back({std::string(plugin) + ":" + entry, argument});
}

namespace {

const std::string pluginDir = QLX_PLUGIN_DIR;
// The loader's code is linked into this test program (libhlacore in a real
// process), so "the library's own directory" is the program's.
const std::string libraryDir = std::string(QLX_BINARY_ROOT) + "/bin";

std::vector<std::string> calls() {
  std::vector<std::string> out;
  for (const JournalEntry& entry : journal) out.push_back(entry.call);
  return out;
}

bool isLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

// Calls every plug-in's "InitLRCPlugin" with the argument, as the ambassador
// does with its implementor (the test plug-ins take a void*).
void initLrcPlugins(DtPluginLoader& loader, void* argument) {
  loader.callEntries(DtPluginLoader::lrcEntryName,
                     [argument](void* entry) { reinterpret_cast<void (*)(void*)>(entry)(argument); });
}

// A list of plug-in names that owns them, as the RID parameters hold it.
class NameList {
public:
  explicit NameList(std::initializer_list<const char*> names) {
    for (const char* name : names) list.append(new DtFilename(name));
  }
  ~NameList() {
    for (DtListItem* item = list.head(); item; item = item->next()) delete static_cast<DtFilename*>(item->data());
  }
  DtList list;
};

class DtPluginLoaderTest : public ::testing::Test {
protected:
  void SetUp() override { journal.clear(); }
};

TEST_F(DtPluginLoaderTest, ThePluginDirectoryIsTakenFromTheLibrarysOwnDirectory) {
  EXPECT_EQ(std::filesystem::canonical(DtPluginLoader::findLibraryDir().string()),
            std::filesystem::canonical(libraryDir));

  NotifyCapture capture;
  DtPluginLoader loader("../plugins");
  EXPECT_EQ(std::string(loader.pluginDirectory().string()),
            std::string(DtPluginLoader::findLibraryDir().string()) + "/../plugins/");
  EXPECT_EQ(capture.text(), "") << "finding the directory is silent";

  // Backslashes of a RID text become separators; an absolute key stands alone.
  EXPECT_STREQ(DtPluginLoader("..\\plugins\\", DtFilename("/opt/rti/lib")).pluginDirectory().string(),
               "/opt/rti/lib/../plugins/");
  EXPECT_STREQ(DtPluginLoader("/srv/plugins", DtFilename("/opt/rti/lib")).pluginDirectory().string(), "/srv/plugins/");
}

TEST_F(DtPluginLoaderTest, AnUnknownLibraryDirectoryUsesTheKeyAsGivenAndSaysSo) {
  NotifyCapture capture;
  DtPluginLoader loader("../plugins", DtFilename(""));
  EXPECT_STREQ(loader.pluginDirectory().string(), "../plugins/");
  EXPECT_EQ(capture.text(), "Unable to find the directory of the RTI library; looking for plugins in ../plugins/\n");

  capture.clear();
  EXPECT_STREQ(DtPluginLoader("", DtFilename("")).pluginDirectory().string(), "./")
      << "never a bare name, which the system would look up on its own search path";
}

TEST_F(DtPluginLoaderTest, NoPluginNamesLoadNothingAndPrintNothing) {
  NotifyCapture capture(4);
  DtPluginLoader loader("../plugins");
  capture.clear();
  DtList none;
  loader.loadPlugins(none);
  initLrcPlugins(loader, nullptr);
  EXPECT_EQ(loader.pluginCount(), 0u);
  EXPECT_EQ(capture.text(), "");
  EXPECT_TRUE(journal.empty());
}

TEST_F(DtPluginLoaderTest, PluginsLoadInOrderAndTheirEntriesRunInLoadOrder) {
  NotifyCapture capture;
  {
    DtPluginLoader loader("../plugins");
    const std::string dir = loader.pluginDirectory().string();
    // The first fails to load; a name with backslashes is loaded with separators.
    NameList names{"qlxTestPluginMissing.so", "qlxTestPluginA.so", "..\\plugins\\qlxTestPluginB.so"};
    loader.loadPlugins(names.list);

    EXPECT_EQ(capture.text(), "Searching for RTI plugins in directory " + dir +
                                  "\n"
                                  "Attempting to load qlxTestPluginMissing.so\n"
                                  "Unable to load plugin at: " +
                                  dir +
                                  "qlxTestPluginMissing.so\n"
                                  "Attempting to load qlxTestPluginA.so\n"
                                  "Attempting to load ../plugins/qlxTestPluginB.so\n");
    EXPECT_EQ(loader.pluginCount(), 2u);
    EXPECT_EQ(calls(), (std::vector<std::string>{"A:SetPluginCreators", "B:SetPluginCreators"}));

    int implementor = 0;
    int rtiexec = 0;
    journal.clear();
    initLrcPlugins(loader, &implementor);
    loader.initRtiexecPlugins(&rtiexec);
    EXPECT_EQ(calls(), (std::vector<std::string>{"A:InitLRCPlugin", "B:InitLRCPlugin", "A:InitRtiexecPlugin"}))
        << "B lacks InitRtiexecPlugin";
    for (std::size_t i = 0; i < journal.size(); ++i) {
      EXPECT_EQ(journal[i].argument, i < 2 ? static_cast<void*>(&implementor) : static_cast<void*>(&rtiexec));
    }
    EXPECT_TRUE(isLoaded(pluginDir + "/qlxTestPluginA.so"));
  }
  EXPECT_FALSE(isLoaded(pluginDir + "/qlxTestPluginA.so")) << "the loader unloads its plug-ins";
  EXPECT_FALSE(isLoaded(pluginDir + "/qlxTestPluginB.so"));
}

TEST_F(DtPluginLoaderTest, APluginThatGoesWrongIsReportedWithItsPathAndTheOthersGoOn) {
  NotifyCapture capture(1);
  DtPluginLoader loader("../plugins");
  const std::string dir = loader.pluginDirectory().string();
  // Between A and B: one without entries, one that throws as it loads, one
  // that throws when it is given the implementor.
  NameList names{"qlxTestPluginA.so", "qlxTestPluginNoEntry.so", "qlxTestPluginThrowsEarly.so",
                 "qlxTestPluginThrowsRti.so", "qlxTestPluginB.so"};
  loader.loadPlugins(names.list);
  EXPECT_EQ(loader.pluginCount(), 4u) << "only the one without entries is dropped";
  EXPECT_FALSE(isLoaded(pluginDir + "/qlxTestPluginNoEntry.so"));
  EXPECT_TRUE(isLoaded(pluginDir + "/qlxTestPluginThrowsEarly.so"))
      << "what it filed before it threw may still run its code";

  int implementor = 0;
  int rtiexec = 0;
  loader.setExceptionDescriber([] { return std::string(); });  // leaves it to the loader
  initLrcPlugins(loader, &implementor);
  loader.setExceptionDescriber([] { return std::string("described by the host"); });
  initLrcPlugins(loader, &implementor);
  loader.initRtiexecPlugins(&rtiexec);
  EXPECT_EQ(calls(), (std::vector<std::string>{"A:SetPluginCreators", "ThrowsEarly:SetPluginCreators",
                                               "ThrowsRti:SetPluginCreators", "B:SetPluginCreators", "A:InitLRCPlugin",
                                               "ThrowsRti:InitLRCPlugin", "B:InitLRCPlugin", "A:InitLRCPlugin",
                                               "B:InitLRCPlugin", "A:InitRtiexecPlugin"}))
      << "a plug-in whose entry threw is not called again";
  EXPECT_EQ(capture.text(),
            "Searching for RTI plugins in directory " + dir + "\n" +  //
                "Plugin " + dir +
                "qlxTestPluginNoEntry.so exports none of SetPluginCreators, InitLRCPlugin and "
                "InitRtiexecPlugin: not used\n" +
                "Plugin " + dir +
                "qlxTestPluginThrowsEarly.so failed in SetPluginCreators (refused by the plug-in): not used "
                "further\n" +
                "Plugin " + dir +
                "qlxTestPluginThrowsRti.so failed in InitLRCPlugin (an exception of an unknown type): not "
                "used further\n");
}

TEST_F(DtPluginLoaderTest, AFileThatIsNoLibraryIsReportedAndSkipped) {
  const ScratchDirectory dir;
  dir.write("junk.so", "not a shared library\n");
  NotifyCapture capture;
  DtPluginLoader loader(dir.path().c_str());
  NameList names{"junk.so"};
  loader.loadPlugins(names.list);
  EXPECT_EQ(loader.pluginCount(), 0u);
  EXPECT_NE(capture.text().find("Unable to load plugin at: " + dir.path() + "/junk.so\n"), std::string::npos);
}

}  // namespace
