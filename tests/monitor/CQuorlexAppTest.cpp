#include "CQuorlexApp.h"
#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CStatusNotices.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "FakeTransmitterBar.h"
#include "IMessageReporter.h"
#include "engine/CNetMgr.h"
#include "engine/CProfile.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"
#include "monitor/engine/TestPdus.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

using namespace apptest;

// Records what the application would show in message boxes.
class RecordingReporter : public IMessageReporter {
public:
    struct Message {
        QString text, details;
    };
    QList<Message> errors, warnings;
    void ShowError(const QString& text, const QString& details) override { errors.append({text, details}); }
    void ShowWarning(const QString& text, const QString& details) override { warnings.append({text, details}); }
};

// An HLA manager whose join the test decides; it reports what it is asked.
class FakeHlaManager : public IHlaManager {
public:
    struct Calls {
        std::string joinedFederation;
        int joins = 0, resigns = 0, ticks = 0;
        std::function<void()> onJoin, onResign;
        bool joinSucceeds = true;
        bool tickThrows = false;
    };
    explicit FakeHlaManager(Calls& calls) : m_calls(calls) {}
    bool JoinFederation(const std::string& federation) override
    {
        ++m_calls.joins;
        m_calls.joinedFederation = federation;
        if (m_calls.onJoin)
            m_calls.onJoin();
        return m_calls.joinSucceeds;
    }
    bool ResignFederation() override
    {
        ++m_calls.resigns;
        if (m_calls.onResign)
            m_calls.onResign();
        return true;
    }
    std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t) override { return std::nullopt; }
    std::optional<std::uint32_t> GetClassHandle(HlaClassKind) override { return std::nullopt; }
    bool Tick(double) override
    {
        ++m_calls.ticks;
        if (m_calls.tickThrows)
            throw HlaError("the RTI went away");
        return false;
    }
    void RequestObjectAttributeValueUpdate(std::uint32_t, const HlaAttributeHandles&) override {}
    void RequestClassAttributeValueUpdate(std::uint32_t, const HlaAttributeHandles&) override {}
    std::string GetObjectInstanceName(std::uint32_t) override { throw HlaError("unknown object"); }

private:
    Calls& m_calls;
};

class QuorlexAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
    }

    // The application, with the fake HLA manager.
    std::unique_ptr<CQuorlexApp> MakeApp()
    {
        return std::make_unique<CQuorlexApp>(*profile, reporter, [this](const QString& fomVersion) {
            fomVersions.append(fomVersion);
            return std::make_unique<FakeHlaManager>(hla);
        });
    }
    void EnableDis(std::uint16_t port)
    {
        profile->Write(Profile::Properties::DISEnabled, 1);
        profile->Write(Profile::Properties::NetworkPort, port);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CProfile> profile;
    RecordingReporter reporter;
    FakeHlaManager::Calls hla;
    QStringList fomVersions;
};

TEST_F(QuorlexAppTest, ASocketThatCannotOpenEndsTheStartAtOnce)
{
    PortHolder taken;
    EnableDis(taken.port());
    profile->Write(Profile::Properties::HLAEnabled, 1);

    auto app = MakeApp();
    EXPECT_FALSE(app->InitInstance());
    ASSERT_EQ(reporter.errors.size(), 1);
    EXPECT_EQ(reporter.errors[0].text, "Timed out waiting for net manager to initialize.");
    EXPECT_FALSE(reporter.errors[0].details.isEmpty());   // why the socket would not open
    // Nothing after the failed step ran, and nothing is left running.
    EXPECT_EQ(hla.joins, 0);
    EXPECT_EQ(app->mainFrame(), nullptr);
    EXPECT_EQ(app->netManager(), nullptr);
    EXPECT_FALSE(app->tickTimer().isActive());
}

// A second program on the DIS port takes some of the unicast PDUs: a notice
// stays in the status bar for as long as the port is shared (a status
// message, a toolbar tip say, does not replace it), the log says it once, and
// the broadcasts still arrive. The program that was there first learns of
// the second one at its next look.
TEST_F(QuorlexAppTest, ASharedPortIsShownForAsLongAsItIsSharedAndBroadcastsGoOn)
{
    auto otherProgram = std::make_unique<PortHolder>(true);
    const std::uint16_t port = otherProgram->port();
    EnableDis(port);
    auto app = MakeApp();
    QtMessages log;
    ASSERT_TRUE(app->InitInstance());
    const QString notice =
        QString("Port %1 is also in use by another program: unicast PDUs reach only one of them").arg(port);
    CStatusNotices* notices = app->mainFrame()->statusNotices();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !notices->Text(CQuorlexApp::kSharedPortNotice).isEmpty(); }));
    EXPECT_EQ(notices->Text(CQuorlexApp::kSharedPortNotice), notice);
    app->mainFrame()->statusBar()->showMessage("Ready");
    EXPECT_TRUE(notices->Pane(CQuorlexApp::kSharedPortNotice)->isVisible());
    EXPECT_EQ(log.Taken().filter("is also in use"), QStringList{"Quorlex: " + notice});
    EXPECT_TRUE(reporter.warnings.isEmpty());
    EXPECT_TRUE(reporter.errors.isEmpty());

    CUdpSender broadcast("127.255.255.255", port);
    ASSERT_TRUE(broadcast.Send(DisTraffic::TransmitterDatagram({1, 2, 3, 4})));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 1; }));
    auto look = [&] {
        for (std::uint32_t tick = 0; tick < CQuorlexApp::kSharedPortCheckTicks; ++tick)
            app->OnTick();
    };
    look();
    EXPECT_EQ(notices->Text(CQuorlexApp::kSharedPortNotice), notice);
    EXPECT_EQ(log.Taken().filter("is also in use").size(), 1) << "once";

    // The other program ends: the notice goes at the next look.
    otherProgram.reset();
    look();
    EXPECT_EQ(notices->Pane(CQuorlexApp::kSharedPortNotice), nullptr);

    // Another one comes, after Quorlex: it is shown again.
    const PortHolder later(true, port);
    look();
    EXPECT_EQ(notices->Text(CQuorlexApp::kSharedPortNotice), notice);
    app->mainFrame()->close();
    app->ExitInstance();
}

TEST_F(QuorlexAppTest, AFailedJoinLeavesDisMonitoringRunning)
{
    EnableDis(FreePort());
    profile->Write(Profile::Properties::HLAEnabled, 1);
    profile->Write(Profile::Properties::HLAFederation, "Exercise7");
    hla.joinSucceeds = false;
    auto app = MakeApp();
    bool intakeRanAtJoin = false;
    hla.onJoin = [&] { intakeRanAtJoin = app->netManager() && app->netManager()->IsRunning(); };

    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(hla.joins, 1);
    EXPECT_EQ(hla.joinedFederation, "Exercise7");
    EXPECT_EQ(fomVersions, QStringList({"RPR FOM 1.0"}));
    EXPECT_TRUE(intakeRanAtJoin);   // DIS starts first
    // The manager has shown its own message; the application adds none.
    EXPECT_TRUE(reporter.errors.isEmpty());
    EXPECT_EQ(app->GetHlaManager(), nullptr);
    EXPECT_FALSE(app->isHlaEnabled());
    ASSERT_NE(app->netManager(), nullptr);
    EXPECT_TRUE(app->netManager()->IsRunning());
    ASSERT_NE(app->mainFrame(), nullptr);
    EXPECT_TRUE(app->mainFrame()->isVisible());
    EXPECT_EQ(profile->Read(Profile::Properties::HLAEnabled), 1);   // the user's choice stays
    app->mainFrame()->close();
    app->ExitInstance();
    EXPECT_EQ(hla.resigns, 0);   // never joined
}

TEST_F(QuorlexAppTest, AFailedJoinWithoutDisEndsTheProgramWithoutAWindow)
{
    profile->Write(Profile::Properties::DISEnabled, 0);
    profile->Write(Profile::Properties::HLAEnabled, 1);
    hla.joinSucceeds = false;
    auto app = MakeApp();

    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(hla.joins, 1);
    EXPECT_EQ(app->mainFrame(), nullptr);
    EXPECT_EQ(app->GetHlaManager(), nullptr);
    EXPECT_FALSE(app->tickTimer().isActive());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

TEST_F(QuorlexAppTest, StartsReceivesAndShutsDownInOrder)
{
    const std::uint16_t port = FreePort();
    EnableDis(port);
    profile->Write(Profile::Properties::HLAEnabled, 1);
    profile->Write(Profile::Properties::ShowPower, 1);
    profile->Write(Profile::Frame::Max, 1);
    auto app = MakeApp();

    ASSERT_TRUE(app->InitInstance());
    CMainFrame* frame = app->mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(app->IsFrameReady());
    EXPECT_TRUE(app->tickTimer().isActive());
    EXPECT_EQ(app->tickTimer().interval(), 250);
    EXPECT_TRUE(app->quickView().showPower);
    EXPECT_TRUE(app->quickView().showFreq);
    EXPECT_FALSE(app->quickView().showSigs);
    EXPECT_EQ(hla.joinedFederation, "DefaultFed");

    FakeTransmitterBar bar;
    frame->SetTransmitterBar(new QWidget, &bar);

    // A Transmitter PDU on the wire becomes a radio record and a tree update.
    CUdpSender sender("127.0.0.1", port);
    const DisRadioId radio{1, 2, 3, 4};
    ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram(radio, 4)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return !bar.updates.isEmpty(); }));
    EXPECT_EQ(app->GetRadioCount(), 1u);
    EXPECT_EQ(bar.updates[0], RadioRef::Dis({1, 2, 3, 4}));

    // Its detail window opens from the tree's Details command.
    emit frame->openDisDetail("1/2/3/4");
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame->ActiveChild()->windowTitle(), "127.0.0.1 - 1/2/3/4");
    EXPECT_NE(app->FindDisDetail("1/2/3/4"), nullptr);
    emit frame->openDisDetail("1/2/3/4");   // the open window comes to the front
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    // Closing the window forgets the document; Close All closes the rest.
    frame->ActiveChild()->close();
    EXPECT_EQ(app->FindDisDetail("1/2/3/4"), nullptr);
    emit frame->openDisDetail("1/2/3/4");
    ASSERT_NE(app->FindDisDetail("1/2/3/4"), nullptr);
    app->OnWindowCloseAll();
    EXPECT_EQ(app->FindDisDetail("1/2/3/4"), nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));

    // The RTI's failures stay inside the tick.
    hla.tickThrows = true;
    EXPECT_NO_THROW(app->OnTick());
    EXPECT_GE(hla.ticks, 1);

    bool orderKept = false;
    hla.onResign = [&] { orderKept = !app->tickTimer().isActive() && app->netManager() == nullptr; };
    frame->close();
    EXPECT_EQ(hla.resigns, 1);
    EXPECT_TRUE(orderKept);   // tick stopped, intake joined, then the resign
    EXPECT_FALSE(app->IsFrameReady());
    EXPECT_EQ(profile->Read(Profile::Frame::Max), 1);

    app->ExitInstance();
    EXPECT_EQ(app->mainFrame(), nullptr);
    EXPECT_EQ(app->GetRadioCount(), 0u);
}

TEST_F(QuorlexAppTest, TheTickSweepsEveryTimeoutSeconds)
{
    profile->Write(Profile::Properties::DISEnabled, 0);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    FakeTransmitterBar bar;
    app->mainFrame()->SetTransmitterBar(new QWidget, &bar);

    struct Step {
        std::int32_t timeout;
        int ticks;
        int sweepsAfter;
    };
    // Ticks count from the start; the divisor is read at every tick.
    const Step steps[] = {
        {10, 39, 0}, {10, 1, 1},   // tick 40: the first sweep, 10 s after start
        {10, 40, 2},               // tick 80
        {0, 400, 2},               // Timeout 0: radios never expire
        {1, 4, 3},                 // ticks 481..484: 484 is a multiple of 4
        {5, 16, 4},                // ticks 485..500: 500 is a multiple of 20
    };
    for (const Step& step : steps) {
        app->SetTimeout(step.timeout);
        for (int i = 0; i < step.ticks; ++i)
            app->OnTick();
        EXPECT_EQ(bar.sweeps, step.sweepsAfter) << "at tick " << app->GetTickCount();
    }
    EXPECT_EQ(app->GetTickCount(), 500u);
}

// A flood of distinct radios (a hostile or broken sender) is held only until
// the sweep drops them: the record count falls back.
TEST_F(QuorlexAppTest, RadiosTheSweepDropsAreReleased)
{
    EnableDis(FreePort());   // the tree has its DIS root; the PDUs come straight to the handler
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    auto* bar = qobject_cast<CTransmitterBar*>(app->mainFrame()->transmitterDock());
    ASSERT_NE(bar, nullptr);
    auto transmit = [&](std::uint16_t entity, std::uint16_t radio) {
        testpdu::Buffer pdu(testpdu::Bytes(testpdu::Transmitter({1, 1, entity, radio}), {}));
        app->OnTransmitterPdu(pdu.data.get(), pdu.size, "10.0.0.5");
    };
    constexpr int kRadios = 5000;
    for (int i = 0; i < kRadios; ++i)
        transmit(static_cast<std::uint16_t>(i / 100), static_cast<std::uint16_t>(i % 100));
    ASSERT_EQ(app->GetRadioCount(), std::size_t{kRadios});
    auto sweepPeriod = [&] {
        for (int tick = 0; tick < 40; ++tick)   // Timeout 10 s
            app->OnTick();
        // A sweep of this many radios runs in slices.
        ASSERT_TRUE(ProcessEventsUntil([&] { return !bar->tree()->IsSweeping(); }, 60000));
    };
    sweepPeriod();   // heard since the start: all stay
    ASSERT_EQ(bar->tree()->disRoot()->childItem(0)->childCount(), kRadios);
    EXPECT_EQ(app->GetRadioCount(), std::size_t{kRadios});

    transmit(0, 7);
    sweepPeriod();
    EXPECT_EQ(app->GetRadioCount(), 1u);
    EXPECT_EQ(bar->tree()->disRoot()->childItem(0)->childCount(), 1);
    app->mainFrame()->close();
    app->ExitInstance();
}

TEST_F(QuorlexAppTest, WithoutDisAndHlaNothingIsStartedButTheWindow)
{
    profile->Write(Profile::Properties::DISEnabled, 0);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->netManager(), nullptr);
    EXPECT_EQ(app->GetHlaManager(), nullptr);
    EXPECT_TRUE(fomVersions.isEmpty());
    EXPECT_NO_THROW(app->OnTick());
    app->mainFrame()->close();
    EXPECT_EQ(app->ExitInstance(), 0);
}

TEST_F(QuorlexAppTest, UnusableProfileValuesAreShownOnceTheWindowIsUp)
{
    profile->Write(Profile::Properties::DISEnabled, 0);
    profile->Write(Profile::Properties::Timeout, -5);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(reporter.warnings.isEmpty());   // not before the window shows
    ASSERT_TRUE(ProcessEventsUntil([&] { return !reporter.warnings.isEmpty(); }));
    EXPECT_TRUE(reporter.warnings[0].details.contains("Timeout"));
}

// A receive buffer the kernel grants smaller than the profile asks for is
// told once the window is up, with both sizes.
TEST_F(QuorlexAppTest, AReceiveBufferTheKernelCutsIsToldOnce)
{
    std::ifstream limitFile("/proc/sys/net/core/rmem_max");
    std::int64_t limit = 0;
    if (!(limitFile >> limit) || limit > (1 << 28))
        GTEST_SKIP() << "no rmem_max below what can be asked for";
    EnableDis(FreePort());
    profile->Write(Profile::Network::RecvBuf, static_cast<std::int32_t>(4 * limit));
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    ASSERT_TRUE(ProcessEventsUntil([&] { return !reporter.warnings.isEmpty(); }));
    ASSERT_EQ(reporter.warnings.size(), 1);
    EXPECT_TRUE(reporter.warnings[0].text.contains(QString::number(4 * limit)))
        << reporter.warnings[0].text.toStdString();
    app->mainFrame()->close();
    app->ExitInstance();
}

}   // namespace
