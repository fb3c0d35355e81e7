#include "AppTestSupport.h"
#include "CDisplayPropsDlg.h"
#include "CMainFrame.h"
#include "CNetworkPropsDlg.h"
#include "CPreferencesSheet.h"
#include "CQuickViewPropsDlg.h"
#include "CQuorlexApp.h"
#include "CStartLogDlg.h"
#include "DialogTestSupport.h"
#include "FakeTransmitterBar.h"
#include "QuorlexCommands.h"
#include "engine/CNetMgr.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace apptest;
using namespace dialogtest;
namespace P = Profile::Properties;

class PreferencesCommand : public testing::Test {
protected:
    void Start(bool disEnabled, std::uint16_t port = 3000)
    {
        profile->Write(P::DISEnabled, disEnabled ? 1 : 0);
        profile->Write(P::NetworkPort, port);
        app = std::make_unique<CQuorlexApp>(*profile, reporter);
        ASSERT_TRUE(app->InitInstance());
        app->mainFrame()->SetTransmitterBar(new QWidget, &bar);
    }
    void TearDown() override
    {
        if (app && app->mainFrame())
            app->mainFrame()->close();
    }
    // Runs the command, changing the sheet with `edit` and pressing OK.
    void EditPreferences(const std::function<void(CPreferencesSheet&)>& edit)
    {
        OnNextModal<CPreferencesSheet>([edit](CPreferencesSheet& sheet) {
            edit(sheet);
            Press(sheet, QDialogButtonBox::Ok);
        });
        app->mainFrame()->action(QuorlexCommand::EditPreferences)->trigger();
    }
    bool Hears(std::uint16_t port, const DisRadioId& radio)
    {
        const RadioRef wanted = RadioRef::Dis(radio);
        CUdpSender sender("127.0.0.1", port);
        return sender.Send(DisTraffic::TransmitterDatagram(radio)) &&
               ProcessEventsUntil([&] { return bar.updates.contains(wanted); });
    }

    TempProfile profile;
    RecordingReporter reporter;
    FakeTransmitterBar bar;
    std::unique_ptr<CQuorlexApp> app;
};

TEST_F(PreferencesCommand, ANewPortReopensTheIntakeAndStartsTheTreeAfresh)
{
    const std::uint16_t first = FreePort();
    ASSERT_NO_FATAL_FAILURE(Start(true, first));
    ASSERT_TRUE(Hears(first, {1, 2, 3, 4}));
    emit app->mainFrame()->openDisDetail("1/2/3/4");
    ASSERT_NE(app->FindDisDetail("1/2/3/4"), nullptr);

    const std::uint16_t second = FreePort();
    EditPreferences([second](CPreferencesSheet& sheet) {
        Child<QLineEdit>(sheet.disPage(), "NetworkPort").setText(QString::number(second));
    });

    EXPECT_EQ(profile->Read(P::NetworkPort), second);
    EXPECT_EQ(app->netManager()->BoundPort(), second);
    EXPECT_EQ(app->FindDisDetail("1/2/3/4"), nullptr);   // documents closed
    EXPECT_EQ(app->GetRadioCount(), 0u);                 // and the old port's radios released
    EXPECT_EQ(bar.resets, 1);
    EXPECT_EQ(bar.recreates, 0);
    EXPECT_TRUE(Hears(second, {5, 6, 7, 8}));
    EXPECT_TRUE(reporter.errors.isEmpty());
}

TEST_F(PreferencesCommand, APortThatCannotBeOpenedIsReported)
{
    ASSERT_NO_FATAL_FAILURE(Start(true, FreePort()));
    PortHolder taken;
    EditPreferences([&taken](CPreferencesSheet& sheet) {
        Child<QLineEdit>(sheet.disPage(), "NetworkPort").setText(QString::number(taken.port()));
    });
    EXPECT_EQ(reporter.errors, QStringList({CQuorlexApp::kIntakeReopenFailed}));
    EXPECT_FALSE(app->netManager()->IsSocketOpen());
}

TEST_F(PreferencesCommand, DisplayAndQuickViewChangesAreTakenAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    EditPreferences([](CPreferencesSheet& sheet) {
        Child<QLineEdit>(sheet.disPage(), "NetworkPort").setText("3100");   // no intake runs
        sheet.tabs().setCurrentWidget(&sheet.quickViewPage());
        Child<QCheckBox>(sheet.quickViewPage(), "ShowPower").setChecked(true);
        sheet.tabs().setCurrentWidget(&sheet.displayPage());
        Child<QLineEdit>(sheet.displayPage(), "Timeout").setText("30");
        Child<QComboBox>(sheet.displayPage(), "TreeType").setCurrentIndex(1);
    });
    EXPECT_EQ(app->netManager(), nullptr);
    EXPECT_EQ(app->GetTimeout(), 30);
    EXPECT_EQ(app->treeType(), 1);
    EXPECT_TRUE(app->quickView().showPower);
    EXPECT_EQ(bar.recreates, 1);
    EXPECT_EQ(bar.resets, 1);

    // Cancel leaves everything as it is.
    OnNextModal<CPreferencesSheet>([](CPreferencesSheet& sheet) {
        sheet.tabs().setCurrentWidget(&sheet.displayPage());
        Child<QLineEdit>(sheet.displayPage(), "Timeout").setText("5");
        Press(sheet, QDialogButtonBox::Cancel);
    });
    app->mainFrame()->action(QuorlexCommand::EditPreferences)->trigger();
    EXPECT_EQ(app->GetTimeout(), 30);
    EXPECT_EQ(profile->Read(P::Timeout), 30);
}

TEST_F(PreferencesCommand, StartLoggingCommandAsksForTheFile)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    bool asked = false;
    OnNextModal<CStartLogDlg>([&asked](CStartLogDlg& dialog) {
        asked = true;
        Press(dialog, QDialogButtonBox::Cancel);
    });
    app->mainFrame()->action(QuorlexCommand::LogStartLogging)->trigger();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(app->logging().IsLogging());
}

}   // namespace
