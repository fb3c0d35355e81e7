// Quorlex watching a federation run by the real rtiexec program, with a
// radio federate's radios in its tree, when the rtiexec is killed: the
// monitor stops ticking the lost federation (its input pump stops, the CPU
// rests), tells the operator once (a message and a notice that stays in the
// status bar), drops the federation's radios and goes on with DIS; the RTI
// says the connection broke once, and its log stops growing.
#include "AppTestSupport.h"
#include "CHlaInputPump.h"
#include "CMainFrame.h"
#include "CQuorlexApp.h"
#include "CStatusNotices.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "DialogTestSupport.h"
#include "RadioFederateProcess.h"
#include "engine/CProfile.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"
#include "monitor/hla/RtiExecFederation.h"

#include <QEventLoop>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

using namespace apptest;

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int CountOf(const std::string& text, const std::string& what)
{
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST(HlaFederationLost, TheMonitorStopsTicksTellsOnceDropsItsRadiosAndGoesOnWithDis)
{
    hlatest::RtiExecFederation federation;
    ASSERT_TRUE(federation.exec) << federation.failures;
    RtiExecProcess& exec = *federation.exec;

    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    const std::uint16_t disPort = FreePort();
    profile.Write(Profile::Properties::DISEnabled, 1);
    profile.Write(Profile::Properties::NetworkPort, disPort);
    profile.Write(Profile::Properties::HLAEnabled, 1);
    profile.Write(Profile::Properties::HLAFederation, "LostFed");
    dialogtest::RecordingReporter reporter;
    CQuorlexApp app(profile, reporter);

    RadioFederateProcess radios("LostFed", {"--radios", "2", "--rate", "4", "--update", "0", "--prefix", "lost"});
    ASSERT_TRUE(radios.WaitUntilReady());
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.hlaInputPump(), nullptr);
    auto* bar = qobject_cast<CTransmitterBar*>(app.mainFrame()->transmitterDock());
    CTransmitterTree* tree = bar->tree();
    auto hlaRadios = [&] {
        int count = 0;
        for (const CRadioReceive& radio : app.GetRadios())
            count += radio.IsHla();
        return count;
    };
    ASSERT_TRUE(ProcessEventsUntil([&] { return hlaRadios() == 2 && tree->hlaRoot()->childCount() > 0; }, 20000));

    QtMessages log;
    const std::string rtiLog = federation.scope->directory().path() + "/orvekRti.log";
    exec.signal(SIGKILL);
    ASSERT_EQ(exec.waitExit(10), -2);
    ASSERT_TRUE(ProcessEventsUntil([&] { return app.IsHlaLost(); }, 20000));

    // Several seconds with the federation lost: the monitor rests.
    const std::uint64_t pumpTicks = app.hlaInputPump()->tickCount();
    const std::size_t logSize = ReadFile(rtiLog).size();
    const double cpuBefore = ProcessCpuSeconds();
    {
        // The event loop itself, which sleeps while no event comes (a loop
        // of processEvents calls would spin a core of its own).
        QEventLoop window;
        QTimer::singleShot(3000, &window, &QEventLoop::quit);
        window.exec();
    }
    const double cpuUsed = ProcessCpuSeconds() - cpuBefore;
    EXPECT_TRUE(app.hlaInputPump()->isStopped());
    EXPECT_EQ(app.hlaInputPump()->tickCount(), pumpTicks) << "the pump ticks no more";
    EXPECT_LT(cpuUsed, 1.0) << "a monitor ticking a closed connection spins a core";
    const std::string logText = ReadFile(rtiLog);
    EXPECT_LT(logText.size(), logSize + 2048) << "the RTI's log stops growing";
    EXPECT_EQ(CountOf(logText, "TCP connection has been broken"), 1) << logText.substr(logSize);

    // Told once: a message, a line in the log, a notice that stays.
    const QString told = CQuorlexApp::HlaLostText("LostFed", true);
    EXPECT_EQ(reporter.warnings, QStringList{told});
    EXPECT_EQ(log.Taken().filter("is lost"), QStringList{"Quorlex: " + told});
    CStatusNotices* notices = app.mainFrame()->statusNotices();
    EXPECT_EQ(notices->Text(CQuorlexApp::kHlaLostNotice), CQuorlexApp::kHlaLostPane);
    app.mainFrame()->statusBar()->showMessage("Ready");   // a toolbar tip, say
    EXPECT_TRUE(notices->Pane(CQuorlexApp::kHlaLostNotice)->isVisible());

    // Its radios are gone; DIS goes on.
    EXPECT_EQ(hlaRadios(), 0);
    EXPECT_EQ(tree->hlaRoot()->childCount(), 0);
    CUdpSender sender("127.0.0.1", disPort);
    ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram({1, 2, 3, 4})));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app.GetRadioCount() == 1; }));

    // The monitor still leaves the lost federation when it ends.
    app.mainFrame()->close();
    app.ExitInstance();
    EXPECT_EQ(reporter.errors, QStringList());
}

}   // namespace
