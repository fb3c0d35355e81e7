// Quorlex watching HLA radios: with HLA monitoring on, the application joins
// a federation of the test's own (serverless, on its own port and group)
// through its RPR FOM federate, and a radio federate in another process
// shows up in the tree, in its HLA detail window and in the signal part of
// that window, until its object is deleted. Without its FED file the federate
// cannot start and DIS monitoring goes on alone.
#include "AppTestSupport.h"
#include "CChildFrame.h"
#include "CHlaInputPump.h"
#include "CMainFrame.h"
#include "CQuorlexApp.h"
#include "CQuorlexHlaView.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "DialogTestSupport.h"
#include "RadioFederateProcess.h"
#include "engine/CProfile.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"
#include "hla/CHlaAppLink.h"
#include "monitor/engine/FakeHlaManager.h"
#include "monitor/hla/HlaTestSupport.h"

#include <QMdiArea>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <linux/sock_diag.h>
#include <sys/socket.h>

#include <iostream>
#include <memory>

namespace {

using namespace apptest;
using dialogtest::RecordingReporter;

class HlaRadioTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
        profile->Write(Profile::Properties::DISEnabled, 1);
        profile->Write(Profile::Properties::NetworkPort, m_disPort);
        profile->Write(Profile::Properties::HLAEnabled, 1);
        profile->Write(Profile::Properties::HLAFederation, "GuiTest");
        app = std::make_unique<CQuorlexApp>(*profile, reporter);   // with its own HLA federate
    }
    void TearDown() override
    {
        if (app->mainFrame())
            app->mainFrame()->close();
        app->ExitInstance();
    }
    CTransmitterTree* Tree() const
    {
        auto* bar = qobject_cast<CTransmitterBar*>(app->mainFrame()->transmitterDock());
        return bar ? bar->tree() : nullptr;
    }
    std::optional<CRadioReceive> HlaRadio() const
    {
        for (const CRadioReceive& radio : app->GetRadios())
            if (radio.IsHla())
                return radio;
        return std::nullopt;
    }
    std::string Cell(const CDetailView& view, std::size_t line, std::size_t cell) const
    {
        return line < view.Page().lines.size() ? view.Page().lines[line].cells[cell] : std::string();
    }

    hlatest::FederationScope federation;   // the RID file of the app and of the radio federate
    QTemporaryDir m_dir;
    std::uint16_t m_disPort = FreePort();
    std::unique_ptr<CProfile> profile;
    RecordingReporter reporter;
    std::unique_ptr<CQuorlexApp> app;
};

TEST_F(HlaRadioTest, ARadioFederatesTransmitterIsShownFollowedAndRemoved)
{
    // One radio that updates its attributes only when asked (the monitor asks
    // when it discovers it).
    RadioFederateProcess radios("GuiTest", {"--radios", "1", "--rate", "20", "--update", "0", "--prefix", "guiradio",
                                            "--name", "radio-federate@test"});
    ASSERT_TRUE(radios.WaitUntilReady());
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(reporter.errors, QStringList());
    EXPECT_TRUE(app->isHlaEnabled());
    CTransmitterTree* tree = Tree();
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(tree->hlaRoot(), nullptr);
    EXPECT_EQ(tree->hlaRoot()->itemText(), "HLA Fed: GuiTest");

    // In the tree under its host (the placeholder host until a federate host is known).
    ASSERT_TRUE(
        ProcessEventsUntil([&] { return HlaRadio() && tree->HlaRadioItem(HlaRadio()->GetObjectHandle()); }, 20000));
    const std::uint32_t object = HlaRadio()->GetObjectHandle();
    CTransmitterTreeItem* item = tree->HlaRadioItem(object);
    EXPECT_EQ(item->itemText(), "guiradio.1");
    ASSERT_NE(item->parentItem(), nullptr);
    EXPECT_EQ(item->parentItem()->itemText(), "RadioTransmitter");
    EXPECT_EQ(item->parentItem()->parentItem(), tree->hlaRoot());

    // Its detail window shows the decoded attributes.
    emit app->mainFrame()->openHlaDetail(object);
    CChildFrame* child = app->mainFrame()->ActiveChild();
    ASSERT_NE(child, nullptr);
    auto* view = dynamic_cast<CQuorlexHlaView*>(child->view());
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Cell(*view, 8, PageCell::RightValue) == "225025000"; }, 10000));
    EXPECT_EQ(Cell(*view, 0, PageCell::RightValue), "guiradio.1");            // Object Name
    EXPECT_EQ(Cell(*view, 1, PageCell::RightValue), "radio-federate@test");   // Host Object
    EXPECT_EQ(Cell(*view, 3, PageCell::LeftValue), "1");                      // Entity ID
    EXPECT_EQ(Cell(*view, 10, PageCell::RightValue), "40.00");                // Power
    EXPECT_EQ(Cell(*view, 11, PageCell::LeftValue), "2");                     // Transmit State
    EXPECT_EQ(Cell(*view, 17, PageCell::LeftValue), "0  1  2  3  ");          // Mod Parameters

    // The signal part follows the radio's signals.
    ASSERT_TRUE(ProcessEventsUntil([&] { return Cell(*view, 19, PageCell::RightValue) == "8000"; }, 10000));
    EXPECT_EQ(Cell(*view, 20, PageCell::LeftValue), "480");     // Samples
    EXPECT_EQ(Cell(*view, 20, PageCell::RightValue), "3840");   // Data Length
    const std::uint32_t signalsBefore = HlaRadio()->GetSignalCount();
    const std::string firstData = Cell(*view, 21, PageCell::LeftValue);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Cell(*view, 21, PageCell::LeftValue) != firstData; }, 10000));
    EXPECT_GT(HlaRadio()->GetSignalCount(), signalsBefore);

    // Its object deleted, the radio leaves the tree, its record and its window.
    ASSERT_TRUE(radios.Stop());
    ASSERT_TRUE(ProcessEventsUntil([&] { return !HlaRadio(); }, 10000));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->mainFrame()->mdiArea()->subWindowList().isEmpty(); }));
    EXPECT_EQ(tree->HlaRadioItem(object), nullptr);
    EXPECT_EQ(tree->hlaRoot()->childCount(), 0);
    EXPECT_EQ(reporter.errors, QStringList());
}

// What the kernel says of a socket: the datagrams it dropped because its
// receive buffer was full, and the size of that buffer.
struct SocketMemory {
    std::uint32_t drops = 0;
    std::uint32_t receiveBuffer = 0;
};

SocketMemory SocketMemoryOf(int descriptor)
{
    std::uint32_t info[SK_MEMINFO_VARS] = {};
    socklen_t size = sizeof info;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_MEMINFO, info, &size) != 0)
        return {};
    return {info[SK_MEMINFO_DROPS], info[SK_MEMINFO_RCVBUF]};
}

// 200 radios sending 50 signals a second each: the RTI is ticked as its
// input arrives, so that every radio is discovered and shown and its signals
// counted, while the event loop goes on turning between two ticks. Nothing
// is lost only when the RTI's socket can hold what arrives while the GUI
// thread does other work (a tick's budget, a repaint): a tenth of a second
// of this traffic, about a megabyte. With a smaller buffer by default only
// the turning of the loop is checked. Whether the kernel dropped datagrams
// also depends on the GUI thread being scheduled in time, which a loaded
// machine does not promise: the test prints the count, and
// bench_hla_gui_load measures it.
TEST_F(HlaRadioTest, UnderAFloodOfSignalsEveryRadioAppearsAndTheEventLoopKeepsTurning)
{
    constexpr std::size_t kRadios = 200;
    constexpr std::uint32_t kBurstBuffer = 1u << 20;
    RadioFederateProcess radios(
        "GuiTest", {"--radios", QString::number(kRadios), "--rate", "50", "--update", "0", "--prefix", "flood"});
    ASSERT_TRUE(radios.WaitUntilReady());
    ASSERT_TRUE(app->InitInstance());
    CHlaInputPump* pump = app->hlaInputPump();
    ASSERT_NE(pump, nullptr);
    const int descriptor = app->GetHlaManager()->InputDescriptors().front();
    const SocketMemory before = SocketMemoryOf(descriptor);

    // A timer that fires at every turn of the event loop: a tick that comes
    // before the loop has turned since the last one held the GUI thread.
    std::uint64_t turns = 0, turnsAtLastTick = ~std::uint64_t{0}, ticksWithoutATurn = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] { ++turns; });
    turn.start();
    QObject::connect(pump, &CHlaInputPump::ticked, [&] {
        if (turns == turnsAtLastTick)
            ++ticksWithoutATurn;
        turnsAtLastTick = turns;
    });
    if (before.receiveBuffer < kBurstBuffer) {
        EXPECT_TRUE(ProcessEventsUntil([&] { return pump->tickCount() >= 1000; }, 60000));
        EXPECT_EQ(ticksWithoutATurn, 0u);
        GTEST_SKIP() << "The RTI's socket holds " << before.receiveBuffer << " bytes by default, fewer than "
                     << kBurstBuffer << ": datagrams may be dropped, and radios with them.";
    }

    CTransmitterTree* tree = Tree();
    ASSERT_NE(tree, nullptr);
    auto radiosShown = [&](std::uint32_t leastSignals) {
        std::size_t shown = 0;
        for (const CRadioReceive& radio : app->GetRadios())
            if (radio.IsHla() && tree->HlaRadioItem(radio.GetObjectHandle()) && radio.GetSignalCount() >= leastSignals)
                ++shown;
        return shown;
    };
    EXPECT_TRUE(ProcessEventsUntil([&] { return radiosShown(0) == kRadios; }, 60000)) << radiosShown(0) << " shown";
    // A second of signals for every radio.
    EXPECT_TRUE(ProcessEventsUntil([&] { return radiosShown(50) == kRadios; }, 30000))
        << radiosShown(50) << " with a second of signals";
    const std::uint32_t dropped = SocketMemoryOf(descriptor).drops - before.drops;
    if (dropped != 0)
        std::cout << "The kernel dropped " << dropped << " datagrams of the flood (a busy machine).\n";
    EXPECT_EQ(ticksWithoutATurn, 0u);
    EXPECT_GT(pump->tickCount(), 0u);
    EXPECT_EQ(reporter.errors, QStringList());
}

TEST_F(HlaRadioTest, WithoutItsFedFileHlaFailsAndDisGoesOn)
{
    const std::string nowhere = federation.directory().path() + "/nowhere";
    app->SetHlaFedDirectories({nowhere});
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(reporter.errors,
              QStringList{QString::fromStdString("Could not find FED file " + nowhere + "/qlxRprFom10.fed")});
    EXPECT_FALSE(app->isHlaEnabled());
    EXPECT_EQ(app->GetHlaManager(), nullptr);
    ASSERT_NE(Tree(), nullptr);
    EXPECT_EQ(Tree()->hlaRoot(), nullptr);

    CUdpSender sender("127.0.0.1", m_disPort);
    ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram({1, 2, 3, 4})));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 1; }));
}

// The federate asks for a discovered radio's attributes from inside the RTI's
// tick; the request itself waits for the event loop.
TEST(HlaAppLink, AttributeRequestsWaitForTheEventLoopAndGoWithTheLink)
{
    CQuorlexAppCore core;
    auto manager = std::make_unique<FakeHlaManager>();
    FakeHlaManager& hla = *manager;
    ASSERT_TRUE(core.StartHla(std::move(manager), "DefaultFed"));
    QStringList shown;
    auto link = std::make_unique<CHlaAppLink>(
        core, [&shown](const std::string& text) { shown.append(QString::fromStdString(text)); });
    link->ShowHlaMessage("Could not find FED file x");
    EXPECT_EQ(shown, QStringList{"Could not find FED file x"});

    link->PostRequestAttributeUpdate(7, 0x3);
    EXPECT_TRUE(hla.requests.empty());
    ASSERT_TRUE(ProcessEventsUntil([&] { return !hla.requests.empty(); }));
    EXPECT_EQ(hla.requests, (std::vector<FakeHlaManager::Request>{{false, 7, {100, 101}}}));

    link->PostRequestAttributeUpdate(8, 0x3);
    link.reset();   // the federate is gone: its request with it
    QApplication::processEvents();
    EXPECT_EQ(hla.requests.size(), 1u);
}

}   // namespace
