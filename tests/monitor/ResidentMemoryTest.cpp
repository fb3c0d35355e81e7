// Quorlex gives back to the system what a crowd of radios took once the
// sweeps have dropped them: after 80,000 distinct DIS radios and two sweeps,
// the process's resident memory is within 2x of what it was before.
//
// What a process holds resident depends on its allocator: a sanitizer's keeps
// freed memory in quarantine and returns it on its own schedule, so the test
// is a program of its own, built only without a sanitizer
// (test_monitor_unsanitized; build-and-test.sh runs it from the release
// build). The benchmark bench_radio_memory shows the figures. Whether the trim
// is asked for after such sweeps is tested everywhere (AppCoreRouting).
#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CQuorlexApp.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "DialogTestSupport.h"
#include "engine/CProfile.h"
#include "monitor/engine/TestPdus.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace {

using namespace apptest;

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

TEST(ResidentMemory, ReturnsNearTheBaselineAfterTwoSweepsOfManyRadios)
{
    constexpr std::uint16_t kRadios = 80;   // thousand
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    profile.Write(Profile::Properties::DISEnabled, 1);   // the radios' root in the tree
    profile.Write(Profile::Properties::NetworkPort, FreePort());
    profile.Write(Profile::Properties::Timeout, 1);
    dialogtest::RecordingReporter reporter;
    CQuorlexApp app(profile, reporter);
    ASSERT_TRUE(app.InitInstance());
    ProcessEventsUntil([] { return false; }, 200);
    const double baseline = ResidentMegabytes();

    // The transmitter worker's part: one PDU per radio, on a thread of its own.
    std::thread worker([&app] {
        for (std::uint16_t thousand = 0; thousand < kRadios; ++thousand)
            for (std::uint16_t radio = 1; radio <= 1000; ++radio) {
                testpdu::Buffer pdu(testpdu::Bytes(testpdu::Transmitter({7, thousand, radio, 1}), {}));
                app.OnTransmitterPdu(pdu.data.get(), pdu.size, "10.0.0.5");
            }
    });
    worker.join();
    ASSERT_EQ(app.GetRadioCount(), kRadios * 1000u);
    ProcessEventsUntil([] { return false; }, 500);   // the tree takes them in
    const double peak = ResidentMegabytes();
    ASSERT_GT(peak, 3 * baseline) << "too few radios to tell";

    // Timeout 1: a sweep every fourth tick; the first finds them heard, the
    // second drops them.
    for (int tick = 0; tick < 8; ++tick) {
        app.OnTick();
        QApplication::processEvents();
    }
    // The sweep and the deletion of the tree's items run in slices; the
    // trim after them on a thread of its own.
    CTransmitterTree* tree = qobject_cast<CTransmitterBar*>(app.mainFrame()->transmitterDock())->tree();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !tree->IsSweeping() && tree->disposal().isIdle(); }, 60000));
    app.WaitForMemoryTrim();
    EXPECT_EQ(app.GetRadioCount(), 0u);
    const double after = ResidentMegabytes();
    EXPECT_LE(after, 2 * baseline) << "baseline " << baseline << " MB, peak " << peak << " MB, after " << after
                                   << " MB";
    app.mainFrame()->close();
    app.ExitInstance();
}

}   // namespace
