// Quorlex's HLA federate in a federation run by the rtiexec: the radios of
// a radio-federate process that is killed (it never deletes them) leave the
// monitor, because the rtiexec resigns the lost federate deleting its
// objects. (Without the rtiexec nobody notices the loss, and the radios
// stay, as the README says.)
#include "HlaTestSupport.h"
#include "hla/CHLAMgrRpr10.h"
#include "support/RtiExecProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

using namespace hlatest;

TEST(KilledRadioFederate, ItsRadiosLeaveTheMonitorThroughTheRtiexec)
{
    // The federation's port may be taken for TCP by another test's
    // connection: then the federation moves to another port.
    std::unique_ptr<FederationScope> federation;
    std::unique_ptr<RtiExecProcess> started;
    std::string failures;
    for (int attempt = 0; attempt < 10 && !started; ++attempt) {
        federation.reset();   // its environment goes before the next one's comes
        federation = std::make_unique<FederationScope>(
            "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n");
        started = std::make_unique<RtiExecProcess>();
        if (!started->waitReady()) {
            failures += started->text();
            started.reset();
        }
    }
    ASSERT_TRUE(started) << failures;
    RtiExecProcess& exec = *started;

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

}   // namespace
