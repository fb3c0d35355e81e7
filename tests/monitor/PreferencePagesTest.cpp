#include "CDisplayPropsDlg.h"
#include "CIpAddressEdit.h"
#include "CNetworkPropsDlg.h"
#include "CPreferencesSheet.h"
#include "CQuickViewPropsDlg.h"
#include "DecimalText.h"
#include "DialogTestSupport.h"
#include "DisplayPageLogic.h"
#include "HlaPageLogic.h"
#include "NetworkPageLogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace dialogtest;
namespace P = Profile::Properties;

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return a << 24 | b << 16 | c << 8 | d;
}

TEST(ReadDecimal, ReadsLikeAtoiButSaturates)
{
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"3000", 3000},
        {"  42abc", 42},
        {"abc", 0},
        {"", 0},
        {"-7", -7},
        {"+5", 5},
        {"4 2", 4},
        {"99999999999", std::numeric_limits<std::int32_t>::max()},
        {"-99999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(IpAddressEdit, TakesOnlyWhatCanBecomeAnAddress)
{
    CIpAddressEdit edit;
    const struct {
        const char* typed;
        bool taken;
    } cases[] = {{"239.0.0.1", true},  {"10.0", true}, {"255.255.255.255", true}, {"256.0.0.1", false},
                 {"1.2.3.4.5", false}, {"1a", false},  {"+1.2.3.4", false},       {"1234", false}};
    for (const auto& c : cases) {
        edit.clear();
        QString text = c.typed;
        int position = 0;
        EXPECT_EQ(edit.validator()->validate(text, position) != QValidator::Invalid, c.taken) << c.typed;
    }
    // Blank fields read as 0; the text the filter compares is canonical.
    edit.setText("10..7");
    EXPECT_EQ(edit.address(), Ip(10, 0, 7, 0));
    EXPECT_EQ(edit.addressText(), "10.0.7.0");
    edit.setAddress(Ip(239, 1, 2, 3));
    EXPECT_EQ(edit.text(), "239.1.2.3");
    edit.clear();
    EXPECT_EQ(edit.addressText(), "");
}

// --- DIS page -------------------------------------------------------------------------------------------------

NetworkPageControls Dis(bool useMulticast, std::uint32_t address, const char* port = "3000", bool enabled = true)
{
    return {enabled, port, useMulticast, address};
}

TEST(DisPage, MulticastAddressMustBeAGroup)
{
    const struct {
        std::uint32_t address;
        bool taken;
    } cases[] = {
        {Ip(224, 0, 0, 0), false},       {Ip(224, 0, 0, 1), true},    {Ip(239, 255, 255, 255), true},
        {Ip(240, 0, 0, 0), false},       {Ip(192, 168, 1, 1), false}, {Ip(239, 0, 0, 1), true},
        {Ip(223, 255, 255, 255), false},
    };
    for (const auto& c : cases) {
        const QString refusal = NetworkPageLogic::Refusal(Dis(true, c.address));
        EXPECT_EQ(refusal.isEmpty(), c.taken) << std::hex << c.address;
        if (!c.taken) {
            EXPECT_EQ(refusal, "Mutlicast address must be between 224.0.0.1 and 239.255.255.255");
        }
    }
    // Without the multicast box the address is not looked at.
    EXPECT_EQ(NetworkPageLogic::Refusal(Dis(false, Ip(192, 168, 1, 1))), "");
}

TEST(DisPage, PortMustBeUsableWhileMonitoringIsOn)
{
    for (const char* port : {"0", "abc", "65536", "-1", ""})
        EXPECT_EQ(NetworkPageLogic::Refusal(Dis(false, 0, port)), NetworkPageLogic::kPortRangeMessage) << port;
    for (const char* port : {"1", "65535", "3001 "})
        EXPECT_EQ(NetworkPageLogic::Refusal(Dis(false, 0, port)), "") << port;
    EXPECT_EQ(NetworkPageLogic::Refusal(Dis(false, 0, "abc", false)), "");
}

TEST(DisPage, ShowsTheProfileAndTheSuggestedGroup)
{
    TempProfile profile;
    NetworkPageLogic page(*profile);
    NetworkPageControls shown = page.Init();
    EXPECT_TRUE(shown.disEnabled);
    EXPECT_EQ(shown.portText, "3000");
    EXPECT_FALSE(shown.useMulticast);
    EXPECT_EQ(shown.multicastAddress, Ip(239, 0, 0, 1));
    EXPECT_EQ(page.multicastAddress(), 0u);

    profile->Write(P::UseMulticast, 1);
    profile->Write(P::MulticastAdx, Ip(225, 1, 2, 3));
    profile->Write(P::NetworkPort, 4000);
    shown = page.Init();
    EXPECT_TRUE(shown.useMulticast);
    EXPECT_EQ(shown.multicastAddress, Ip(225, 1, 2, 3));
    EXPECT_EQ(shown.portText, "4000");
}

TEST(DisPage, OkReportsWhatChanged)
{
    TempProfile profile;
    NetworkPageLogic page(*profile);
    page.Init();
    page.Ok(Dis(false, Ip(239, 0, 0, 1)));   // as shown
    EXPECT_FALSE(page.portChanged());
    EXPECT_FALSE(page.multicastChanged());

    page.Init();
    page.Ok(Dis(true, Ip(239, 1, 1, 1), "3100"));
    EXPECT_TRUE(page.portChanged());
    EXPECT_EQ(page.port(), 3100);
    EXPECT_TRUE(page.multicastChanged());
    EXPECT_EQ(page.multicastAddress(), Ip(239, 1, 1, 1));
    EXPECT_EQ(profile->Read(P::NetworkPort), 3100);
    EXPECT_EQ(profile->Read(P::UseMulticast), 1);
    EXPECT_EQ(profile->Read(P::MulticastAdx), Ip(239, 1, 1, 1));

    // Leaving multicast keeps the stored group for the next time.
    page.Init();
    page.Ok(Dis(false, Ip(239, 1, 1, 1), "3100"));
    EXPECT_FALSE(page.portChanged());
    EXPECT_TRUE(page.multicastChanged());
    EXPECT_EQ(page.multicastAddress(), 0u);
    EXPECT_EQ(profile->Read(P::UseMulticast), 0);
    EXPECT_EQ(profile->Read(P::MulticastAdx), Ip(239, 1, 1, 1));
}

TEST(DisPage, SwitchedOffWritesDisabledAndLeavesThePort)
{
    TempProfile profile;
    profile->Write(P::NetworkPort, 4000);
    CNetworkPropsDlg page(*profile);
    page.InitPage();
    auto& enabled = Child<QCheckBox>(page, "DISEnabled");
    auto& port = Child<QLineEdit>(page, "NetworkPort");
    auto& useMulticast = Child<QCheckBox>(page, "UseMulticast");
    auto& address = Child<CIpAddressEdit>(page, "MulticastAdx");
    EXPECT_TRUE(port.isEnabled());
    EXPECT_TRUE(useMulticast.isEnabled());
    EXPECT_FALSE(address.isEnabled());
    useMulticast.setChecked(true);
    EXPECT_TRUE(address.isEnabled());

    enabled.setChecked(false);
    EXPECT_FALSE(port.isEnabled());
    EXPECT_FALSE(useMulticast.isEnabled());
    EXPECT_FALSE(address.isEnabled());
    useMulticast.setChecked(false);
    port.setText("5000");
    ASSERT_EQ(page.Refusal(), "");
    page.OkPage();

    EXPECT_EQ(profile->Read(P::DISEnabled), 0);
    EXPECT_EQ(profile->Read(P::NetworkPort), 4000);
    EXPECT_FALSE(page.result().disEnabled());
    EXPECT_EQ(page.result().port(), 0);
}

// --- Display and HLA pages ------------------------------------------------------------------------------------

TEST(DisplayPage, OkStoresTimeoutAndGrouping)
{
    TempProfile profile;
    DisplayPageLogic page(*profile);
    const DisplayPageControls shown = page.Init();
    EXPECT_EQ(shown.timeoutText, "10");
    EXPECT_EQ(shown.grouping, TreeGrouping::IpAddress);

    // Text that is no number keeps radios for ever.
    EXPECT_EQ(DisplayPageLogic::Refusal({"never", TreeGrouping::IpAddress}), "");
    EXPECT_NE(DisplayPageLogic::Refusal({"-1", TreeGrouping::IpAddress}), "");
    EXPECT_NE(DisplayPageLogic::Refusal({"999999999", TreeGrouping::IpAddress}), "");

    page.Ok({"25s", TreeGrouping::DisEntity});
    EXPECT_EQ(profile->Read(P::Timeout), 25);
    EXPECT_EQ(profile->Read(P::TreeType), 1);
    EXPECT_TRUE(page.timeoutChanged());
    EXPECT_TRUE(page.treeTypeChanged());
    EXPECT_EQ(page.timeout(), 25);
    EXPECT_EQ(page.treeType(), 1);

    EXPECT_EQ(page.Init().grouping, TreeGrouping::DisEntity);
    page.Ok({"25", TreeGrouping::DisEntity});
    EXPECT_FALSE(page.timeoutChanged());
    EXPECT_FALSE(page.treeTypeChanged());
}

TEST(HlaPage, OkStoresTheFederation)
{
    TempProfile profile;
    profile->Write(P::HLAFOMVersion, "RPR FOM 2.0");
    HlaPageLogic page(*profile);
    const HlaPageControls shown = page.Init();
    EXPECT_FALSE(shown.hlaEnabled);
    EXPECT_FALSE(HlaPageLogic::IsFederationEnabled(shown));
    EXPECT_EQ(shown.federation, "DefaultFed");
    EXPECT_EQ(shown.fomVersion, "RPR FOM 1.0");   // the list offers no other

    page.Ok({true, "Exercise7", "RPR FOM 1.0"});
    EXPECT_EQ(profile->Read(P::HLAEnabled), 1);
    EXPECT_EQ(profile->Read(P::HLAFederation), "Exercise7");
    EXPECT_EQ(profile->Read(P::HLAFOMVersion), "RPR FOM 1.0");
    EXPECT_TRUE(page.federationChanged());
}

// --- The sheet ------------------------------------------------------------------------------------------------

class PreferencesSheet : public testing::Test {
protected:
    TempProfile profile;
    RecordingReporter reporter;
    CPreferencesSheet sheet{*profile, reporter};
};

TEST_F(PreferencesSheet, OkAtOnceWritesOnlyTheDisPage)
{
    EXPECT_EQ(sheet.windowTitle(), "Preferences");
    ASSERT_EQ(sheet.tabs().count(), 4);
    EXPECT_EQ(sheet.tabs().tabText(0), "DIS");
    EXPECT_EQ(sheet.tabs().tabText(1), "HLA");
    EXPECT_EQ(sheet.tabs().tabText(2), "Quick View");
    EXPECT_EQ(sheet.tabs().tabText(3), "Display");

    Press(sheet, QDialogButtonBox::Ok);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(sheet.WasShown(sheet.disPage()));
    EXPECT_FALSE(sheet.WasShown(sheet.displayPage()));
    EXPECT_EQ(profile.StoredKeys(),
              QStringList({"Properties/DISEnabled", "Properties/NetworkPort", "Properties/UseMulticast"}));
}

TEST_F(PreferencesSheet, ShownPagesWriteTheirValues)
{
    sheet.tabs().setCurrentIndex(2);   // Quick View
    Child<QCheckBox>(sheet.quickViewPage(), "ShowPower").setChecked(true);
    Child<QCheckBox>(sheet.quickViewPage(), "ShowFreq").setChecked(false);
    Press(sheet, QDialogButtonBox::Ok);
    EXPECT_EQ(profile->Read(P::ShowPower), 1);
    EXPECT_EQ(profile->Read(P::ShowFreq), 0);
    EXPECT_EQ(profile->Read(P::ShowXmits), 1);
    EXPECT_EQ(profile.StoredKeys().size(), 3 + 10);
}

TEST_F(PreferencesSheet, CancelWritesNothing)
{
    for (int i = 0; i < sheet.tabs().count(); ++i)
        sheet.tabs().setCurrentIndex(i);
    Child<QLineEdit>(sheet.displayPage(), "Timeout").setText("30");
    Child<QLineEdit>(sheet.disPage(), "NetworkPort").setText("3100");
    Press(sheet, QDialogButtonBox::Cancel);
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(profile.StoredKeys(), QStringList());
}

TEST_F(PreferencesSheet, RefusedValuesKeepTheSheetOpenAndWriteNothing)
{
    sheet.show();
    Child<QCheckBox>(sheet.disPage(), "UseMulticast").setChecked(true);
    Child<CIpAddressEdit>(sheet.disPage(), "MulticastAdx").setText("192.168.1.1");
    sheet.tabs().setCurrentIndex(3);
    Child<QLineEdit>(sheet.displayPage(), "Timeout").setText("30");

    Press(sheet, QDialogButtonBox::Ok);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.tabs().currentIndex(), 0);
    EXPECT_EQ(reporter.warnings, QStringList({NetworkPageLogic::kMulticastRangeMessage}));
    EXPECT_EQ(profile.StoredKeys(), QStringList());

    Child<CIpAddressEdit>(sheet.disPage(), "MulticastAdx").setText("224.0.0.1");
    Press(sheet, QDialogButtonBox::Ok);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(profile->Read(P::MulticastAdx), Ip(224, 0, 0, 1));
    EXPECT_EQ(profile->Read(P::Timeout), 30);
}

}   // namespace
