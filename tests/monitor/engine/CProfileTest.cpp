#include "engine/CProfile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <variant>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("profile.ini")); }

    // Stores raw text as a user or an older version might have left it.
    void StoreRaw(const char* section, const char* name, const QVariant& value)
    {
        QSettings raw(Path(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("%1/%2").arg(QLatin1String(section), QLatin1String(name)), value);
    }

    QTemporaryDir m_dir;
};

using AnyKey = std::variant<IntSetting, TextSetting, AddressSetting>;
using AnyValue = std::variant<std::int32_t, QString, std::uint32_t>;

AnyValue ReadAny(const CProfile& profile, const AnyKey& key)
{
    return std::visit([&](const auto& k) -> AnyValue { return profile.Read(k); }, key);
}

struct DefaultCase {
    AnyKey key;
    AnyValue expected;
};

TEST_F(ProfileTest, EmptyProfileReadsEveryDefaultWithoutComplaint)
{
    namespace P = Profile;
    const DefaultCase cases[] = {
        {P::Properties::TreeType, 0},
        {P::Properties::DISEnabled, 1},
        {P::Properties::HLAEnabled, 0},
        {P::Properties::NetworkPort, 3000},
        {P::Properties::UseMulticast, 0},
        {P::Properties::MulticastAdx, 0xEF000001u},
        {P::Properties::Timeout, 10},
        {P::Properties::HLAFederation, QStringLiteral("DefaultFed")},
        {P::Properties::HLAFOMVersion, QStringLiteral("RPR FOM 1.0")},
        {P::Properties::ShowFreq, 1},
        {P::Properties::ShowXmits, 1},
        {P::Properties::ShowSigs, 0},
        {P::Properties::ShowWorldPosn, 0},
        {P::Properties::ShowXmitState, 0},
        {P::Properties::ShowCrypto, 0},
        {P::Properties::ShowModulation, 0},
        {P::Properties::ShowPower, 0},
        {P::Properties::ShowSpreadSpectrum, 0},
        {P::Properties::ShowSystem, 0},
        {P::Settings::HelpIndex, QStringLiteral("help/Main.html")},
        {P::Network::BindAdx, QString()},
        {P::Network::RecvBuf, 4 * 1024 * 1024},
        {P::Network::QFlush, 1},
        {P::Logging::Filename, QString()},
        {P::Logging::FileMode, 0},
        {P::Logging::SignalPortion, QStringLiteral("first 5% of")},
        {P::Logging::FilterByEntity, 0},
        {P::Logging::FilterSiteID, 0},
        {P::Logging::FilterAppID, 0},
        {P::Logging::FilterEntityID, 0},
        {P::Logging::FilterRadioID, 0},
        {P::Logging::FilterByIP, 0},
        {P::Logging::FilterIPAddress, QString()},
        {P::Frame::Max, 0},
        {P::Frame::x, 0},
        {P::Frame::y, 0},
        {P::Frame::cx, 0},
        {P::Frame::cy, 0},
    };
    CProfile profile(Path());
    for (const auto& c : cases) {
        const auto name = std::visit([](const auto& k) { return std::string(k.section) + "/" + k.name; }, c.key);
        EXPECT_EQ(ReadAny(profile, c.key), c.expected) << name;
    }
    EXPECT_TRUE(profile.Read(P::BarState::Layout).isEmpty());
    const BarSizes current{200, 200, 200, 200, 200, 200};
    EXPECT_EQ(profile.ReadBarSizes(101, current), current);
    EXPECT_TRUE(profile.TakeProblems().isEmpty());
}

TEST_F(ProfileTest, WrittenValuesReadBackFromAFreshProfile)
{
    namespace P = Profile;
    const BarSizes sizes{310, 33, 180, 620, 37, 250};
    const QByteArray layout("\x00\x01layout\xFF", 10);
    {
        CProfile profile(Path());
        profile.Write(P::Properties::NetworkPort, 65535);
        profile.Write(P::Properties::Timeout, 0);
        profile.Write(P::Properties::MulticastAdx, 0xEFFFFFFFu);
        profile.Write(P::Properties::HLAFederation, QStringLiteral("Exercise, 2"));
        profile.Write(P::Logging::SignalPortion, QStringLiteral("last 5% of"));
        profile.Write(P::Logging::FilterIPAddress, QStringLiteral("192.168.100.200"));
        profile.Write(P::Frame::x, -8);
        profile.Write(P::BarState::Layout, layout);
        profile.WriteBarSizes(101, sizes);
        profile.Sync();
    }
    CProfile profile(Path());
    EXPECT_EQ(profile.Read(P::Properties::NetworkPort), 65535);
    EXPECT_EQ(profile.Read(P::Properties::Timeout), 0);
    EXPECT_EQ(profile.Read(P::Properties::MulticastAdx), 0xEFFFFFFFu);
    EXPECT_EQ(profile.Read(P::Properties::HLAFederation), QStringLiteral("Exercise, 2"));
    EXPECT_EQ(profile.Read(P::Logging::SignalPortion), QStringLiteral("last 5% of"));
    EXPECT_EQ(profile.Read(P::Logging::FilterIPAddress), QStringLiteral("192.168.100.200"));
    EXPECT_EQ(profile.Read(P::Frame::x), -8);
    EXPECT_EQ(profile.Read(P::BarState::Layout), layout);
    EXPECT_EQ(profile.ReadBarSizes(101, BarSizes{}), sizes);
    EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).value(QStringLiteral("BarState-SCBar-101/sizeVertCY")).toInt(),
              620);
    EXPECT_TRUE(profile.TakeProblems().isEmpty());
}

TEST_F(ProfileTest, OlderSpellingsOfSoundValuesAreAccepted)
{
    namespace P = Profile;
    StoreRaw("Properties", "MulticastAdx", QStringLiteral("-285212671"));   // 239.0.0.1 as a signed int
    StoreRaw("Properties", "NetworkPort", QStringLiteral(" 3001 "));
    StoreRaw("Network", "RecvBuf", QStringLiteral("0x20000"));
    StoreRaw("Settings", "HelpIndex", QStringLiteral("help\\Main.html"));
    StoreRaw("Logging", "Filename", QStringLiteral("logs\\today.txt"));
    CProfile profile(Path());
    EXPECT_EQ(profile.Read(P::Properties::MulticastAdx), 0xEF000001u);
    EXPECT_EQ(profile.Read(P::Properties::NetworkPort), 3001);
    EXPECT_EQ(profile.Read(P::Network::RecvBuf), 0x20000);
    EXPECT_EQ(profile.Read(P::Settings::HelpIndex), QStringLiteral("help/Main.html"));
    EXPECT_EQ(profile.Read(P::Logging::Filename), QStringLiteral("logs/today.txt"));
    EXPECT_TRUE(profile.TakeProblems().isEmpty());
}

struct BadCase {
    AnyKey key;
    const char* stored;
    AnyValue expected;
};

TEST_F(ProfileTest, ValuesThatCannotBeRightAreReportedAndTheDefaultIsUsed)
{
    namespace P = Profile;
    const BadCase cases[] = {
        {P::Properties::NetworkPort, "0", 3000},
        {P::Properties::NetworkPort, "65536", 3000},
        {P::Properties::NetworkPort, "-3000", 3000},
        {P::Properties::NetworkPort, "port", 3000},
        {P::Properties::NetworkPort, "", 3000},
        {P::Properties::Timeout, "-1", 10},
        {P::Properties::Timeout, "536870912", 10},
        {P::Properties::TreeType, "2", 0},
        {P::Properties::DISEnabled, "yes", 1},
        {P::Properties::ShowFreq, "99999999999", 1},
        {P::Properties::MulticastAdx, "4294967296", 0xEF000001u},
        {P::Properties::MulticastAdx, "-2147483649", 0xEF000001u},
        {P::Properties::MulticastAdx, "239.0.0.1", 0xEF000001u},
        {P::Network::RecvBuf, "0", 4 * 1024 * 1024},
        {P::Network::BindAdx, "10.0.0", QString()},
        {P::Network::BindAdx, "eth0", QString()},
        {P::Logging::FileMode, "2", 0},
        {P::Logging::FilterSiteID, "65536", 0},
        {P::Logging::FilterRadioID, "-1", 0},
        {P::Logging::SignalPortion, "middle of", QStringLiteral("first 5% of")},
        {P::Logging::FilterIPAddress, "10.0.0.256", QString()},
        {P::Frame::cx, "-640", 0},
    };
    for (const auto& c : cases) {
        const auto [section, name] = std::visit([](const auto& k) { return std::pair(k.section, k.name); }, c.key);
        const QString where = QStringLiteral("%1/%2").arg(QLatin1String(section), QLatin1String(name));
        SCOPED_TRACE(where.toStdString() + " = \"" + c.stored + "\"");
        QFile::remove(Path());
        StoreRaw(section, name, QString::fromLatin1(c.stored));
        CProfile profile(Path());
        EXPECT_EQ(ReadAny(profile, c.key), c.expected);
        const QStringList problems = profile.TakeProblems();
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(where)) << problems[0].toStdString();
        EXPECT_TRUE(problems[0].contains(QString::fromLatin1(c.stored))) << problems[0].toStdString();
        // The user's value stays for them to mend.
        EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).value(where).toString(), QString::fromLatin1(c.stored));
    }
}

TEST_F(ProfileTest, ProblemsGoToTheSinkOnceOneIsSet)
{
    StoreRaw("Properties", "NetworkPort", QStringLiteral("70000"));
    CProfile profile(Path());
    EXPECT_EQ(profile.Read(Profile::Properties::NetworkPort), 3000);   // kept until a sink appears
    QStringList shown;
    profile.SetProblemSink([&](const QString& text) { shown.append(text); });
    EXPECT_EQ(profile.Read(Profile::Properties::NetworkPort), 3000);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringLiteral("The profile value Properties/NetworkPort is \"70000\", which is not a whole "
                                       "number from 1 to 65535; 3000 is used instead."));
    EXPECT_EQ(profile.TakeProblems().size(), 1);
}

TEST_F(ProfileTest, AProfileThatCannotBeSavedIsReported)
{
    // The profile's folder is an ordinary file, so nothing can be written below it.
    const QString blocker = m_dir.filePath(QStringLiteral("not-a-folder"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    CProfile profile(blocker + QStringLiteral("/profile.ini"));
    profile.Write(Profile::Properties::NetworkPort, 3001);
    EXPECT_FALSE(profile.Sync());
    const QStringList problems = profile.TakeProblems();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith(QStringLiteral("The settings could not be saved to ")))
        << problems[0].toStdString();

    CProfile writable(Path());
    writable.Write(Profile::Properties::NetworkPort, 3001);
    EXPECT_TRUE(writable.Sync());
    EXPECT_TRUE(writable.TakeProblems().isEmpty());
}

}   // namespace
