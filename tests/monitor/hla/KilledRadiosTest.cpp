// Quorlex's HLA federate in a federation run by the rtiexec: the radios of
// a radio-federate process that is killed (it never deletes them) leave the
// monitor, because the rtiexec resigns the lost federate deleting its
// objects. (Without the rtiexec nobody notices the loss, and the radios
// stay, as the README says.)
#include "HlaTestSupport.h"
#include "RtiExecFederation.h"
#include "hla/CHLAMgrRpr10.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>

namespace {

using namespace hlatest;

TEST(KilledRadioFederate, ItsRadiosLeaveTheMonitorThroughTheRtiexec)
{
    RtiExecFederation federation;
    ASSERT_TRUE(federation.exec) << federation.failures;
    RtiExecProcess& exec = *federation.exec;

    auto app = std::make_shared<RecordingApplication>();
    CHLAMgrRpr10 monitor(app);
    monitor.SetFedDirectories({FedDirectory()});
    ASSERT_TRUE(monitor.JoinFederation("KilledRadios")) << testing::PrintToString(app->messages);
    // The application watches the reliable connection to the rtiexec beside the best-effort one.
    EXPECT_EQ(monitor.InputDescriptors().size(), 2u);

    ChildProcess radios({QLX_RADIO_FEDERATE, "--federation", "KilledRadios", "--fed",
                         FedDirectory() + "/" + CHLAMgr::kFedFileName, "--radios", "2", "--rate", "0", "--update", "0"},
                        {});
    ASSERT_NE(radios.waitFor("ready"), "") << testing::PrintToString(radios.lines());
    // The discovery of each radio asks for its attributes.
    ASSERT_TRUE(waitUntil([&] { return app->requests.size() == 2; }, pausing([&] { monitor.Tick(0.01); })));
    std::set<std::uint32_t> discovered;
    for (const auto& request : app->requests)
        discovered.insert(request.object);

    radios.signal(SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return app->removed.size() == 2; }, pausing([&] { monitor.Tick(0.01); })));
    EXPECT_EQ(std::set<std::uint32_t>(app->removed.begin(), app->removed.end()), discovered);
    EXPECT_NE(exec.waitFor("Lost connection to federate radio-federate", 10, true), "") << exec.text();
    EXPECT_TRUE(monitor.ResignFederation());
}

// The rtiexec itself killed: the federate's next tick fails, and from then
// on the manager says the federation is lost; it still resigns, quietly and
// at once (no destroy that would wait for an answer).
TEST(KilledRtiExec, TheFederationIsLostAndTheFederateCanStillResign)
{
    // A service that waited for the rtiexec would take this long.
    RtiExecFederation federation("(setq RTI_responseInterval 30)\n");
    ASSERT_TRUE(federation.exec) << federation.failures;
    RtiExecProcess& started = *federation.exec;

    auto app = std::make_shared<RecordingApplication>();
    CHLAMgrRpr10 monitor(app);
    monitor.SetFedDirectories({FedDirectory()});
    ASSERT_TRUE(monitor.JoinFederation("LostExec")) << testing::PrintToString(app->messages);
    monitor.Tick(0.01);
    EXPECT_FALSE(monitor.IsFederationLost());

    started.signal(SIGKILL);
    EXPECT_EQ(started.waitExit(10), -2);
    bool failed = false;
    ASSERT_TRUE(waitUntil([&] { return failed; }, pausing([&] {
                              try {
                                  monitor.Tick(0.01);
                              } catch (const HlaError& error) {
                                  failed = true;
                                  EXPECT_NE(std::string(error.what()).find("RTIinternalError"), std::string::npos)
                                      << error.what();
                              }
                          })));
    EXPECT_TRUE(monitor.IsFederationLost());
    EXPECT_THROW(monitor.Tick(0.01), HlaError) << "every tick fails from now on";

    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(monitor.ResignFederation());
    EXPECT_FALSE(monitor.IsJoined());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(15)) << "no wait for a lost rtiexec";
    EXPECT_TRUE(app->messages.empty()) << testing::PrintToString(app->messages);
}

}   // namespace
