#include "engine/PduLogSettings.h"
#include "engine/CProfile.h"
#include "engine/CQuorlexAppCore.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PduLogProfile : public testing::Test {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("profile.ini")); }
    QTemporaryDir m_dir;
};

PduLogSettings Everything()
{
    PduLogSettings settings;
    settings.fileName = "/var/log/radios.log";
    settings.binary = false;
    settings.signalPortion = "last quarter of";
    settings.filterByEntity = true;
    settings.entity = {1, 3001, 17, 2};
    settings.filterByIp = true;
    settings.ipAddress = "10.0.0.5";
    return settings;
}

void ExpectSame(const PduLogSettings& a, const PduLogSettings& b)
{
    EXPECT_EQ(a.fileName, b.fileName);
    EXPECT_EQ(a.binary, b.binary);
    EXPECT_EQ(a.signalPortion, b.signalPortion);
    EXPECT_EQ(a.filterByEntity, b.filterByEntity);
    EXPECT_EQ(a.entity, b.entity);
    EXPECT_EQ(a.filterByIp, b.filterByIp);
    EXPECT_EQ(a.ipAddress, b.ipAddress);
}

TEST_F(PduLogProfile, EmptyProfileGivesTheDefaults)
{
    CProfile profile(Path());
    ExpectSame(PduLogSettings::ReadProfile(profile), PduLogSettings{});
    EXPECT_EQ(PduLogSettings{}.signalPortion, "first 5% of");
    EXPECT_TRUE(profile.TakeProblems().isEmpty());
}

TEST_F(PduLogProfile, WrittenSettingsReadBack)
{
    CProfile profile(Path());
    Everything().WriteProfile(profile);
    ExpectSame(PduLogSettings::ReadProfile(profile), Everything());
}

TEST_F(PduLogProfile, SwitchedOffChoicesKeepTheirStoredValues)
{
    CProfile profile(Path());
    Everything().WriteProfile(profile);

    PduLogSettings binary = Everything();
    binary.binary = true;
    binary.signalPortion = "entire";   // what the dialog shows in binary mode
    binary.filterByEntity = false;
    binary.entity = {};
    binary.filterByIp = false;
    binary.ipAddress.clear();
    binary.WriteProfile(profile);

    PduLogSettings read = PduLogSettings::ReadProfile(profile);
    EXPECT_TRUE(read.binary);
    EXPECT_EQ(read.signalPortion, "last quarter of");
    EXPECT_FALSE(read.filterByEntity);
    EXPECT_EQ(read.entity, (DisRadioId{1, 3001, 17, 2}));
    EXPECT_FALSE(read.filterByIp);
    EXPECT_EQ(read.ipAddress, "10.0.0.5");
}

TEST_F(PduLogProfile, TimeoutComesFromTheProfile)
{
    {
        QSettings raw(Path(), QSettings::IniFormat);
        raw.setValue("Properties/Timeout", 3);
    }
    CProfile profile(Path());
    CQuorlexAppCore app;
    EXPECT_EQ(app.GetTimeout(), 10);
    app.ReadTimeout(profile);
    EXPECT_EQ(app.GetTimeout(), 3);
}

}   // namespace
