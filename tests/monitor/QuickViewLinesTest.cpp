#include "QuickViewLines.h"
#include "TreeSortKey.h"
#include "TreeTestRadios.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FrequencyCase {
    std::uint64_t hertz;
    const char* text;
};

class FrequencyText : public testing::TestWithParam<FrequencyCase> {};

TEST_P(FrequencyText, PicksTheUnitByStrictThresholds)
{
    EXPECT_EQ(QuickViewLines::FrequencyText(GetParam().hertz).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrequencyText,
    testing::Values(FrequencyCase{0, "freq: 0 Hz"}, FrequencyCase{500, "freq: 500 Hz"},
                    FrequencyCase{999, "freq: 999 Hz"}, FrequencyCase{1000, "freq:   1.000 KHz"},
                    FrequencyCase{999000, "freq: 999.000 KHz"}, FrequencyCase{999001, "freq:   0.999 MHz"},
                    FrequencyCase{251000000, "freq: 251.000 MHz"}, FrequencyCase{999000000, "freq: 999.000 MHz"},
                    FrequencyCase{999000001, "freq:   0.999 GHz"}, FrequencyCase{1000000000, "freq:   1.000 GHz"},
                    FrequencyCase{std::numeric_limits<std::uint64_t>::max(), "freq: 18446744073.710 GHz"}));

TEST(QuickViewLines, FrequencyJoinsTheHalvesHighFirst)
{
    TransmitterPdu pdu{};
    pdu.frequencyHigh = 1;
    pdu.frequencyLow = 16;
    EXPECT_EQ(QuickViewLines::Frequency(pdu), 0x100000010u);
}

TEST(QuickViewLines, TextsOfEveryLine)
{
    // testpdu::Transmitter: 4294967312 Hz, position (1234567.891, -4.5, 0.04),
    // crypto 5 / 32769, modulation {spread 5, major 2, detail 3, system 4}, 40.5 W.
    CRadioReceive radio = treetest::DisRadio({1, 3001, 17, 2}, "10.0.0.5", treetest::kOn, 3);
    radio.CountSignal();
    const char* expected[QuickViewLines::kCount] = {
        "freq:   4.295 GHz", "xmits: 3",         "sigs: 1",          "posn: (1234567.9, -4.5, 0.0)",
        "active: 1",         "crypto: 5, 32769", "modulation: 2, 3", "power: 40.5",
        "spr. spect.: 5",    "system.: 4",
    };
    for (int i = 0; i < QuickViewLines::kCount; ++i) {
        const QString text = QuickViewLines::Text(i, radio);
        EXPECT_EQ(text.toStdString(), expected[i]);
        // Each line is recognised by its own prefix, which it starts with.
        const QuickViewLines::Line& line = QuickViewLines::kLines[static_cast<std::size_t>(i)];
        EXPECT_EQ(QString(line.key).size(), line.prefixLength);
        EXPECT_TRUE(text.startsWith(line.key)) << text.toStdString();
    }
    EXPECT_EQ(QuickViewLines::Text(4, treetest::DisRadio({1, 1, 1, 1}, "10.0.0.5", treetest::kOff)).toStdString(),
              "active: 0");
    EXPECT_EQ(QuickViewLines::RadioText({65535, 3001, 17, 2}).toStdString(), "65535/3001/17/2");
}

TEST(TreeSortKey, ReadsTheFormsTheOrderUses)
{
    const TreeSortKey radio = TreeSortKey::Parse("1/3001/17/2");
    EXPECT_EQ(radio.radioFields, 4);
    EXPECT_EQ(radio.radio, (std::array<std::int64_t, 4>{1, 3001, 17, 2}));
    const TreeSortKey address = TreeSortKey::Parse("10.0.0.10");
    EXPECT_EQ(address.octetFields, 4);
    EXPECT_EQ(address.octets[3], 10);
    EXPECT_EQ(address.radioFields, 1);   // "10" before the first '.'
    const TreeSortKey entity = TreeSortKey::Parse("Entity 12");
    EXPECT_EQ(entity.group, TreeSortKey::Group::Entity);
    EXPECT_EQ(entity.groupNumber, 12);
    EXPECT_EQ(TreeSortKey::Parse("Site 3").group, TreeSortKey::Group::Site);
    EXPECT_EQ(TreeSortKey::Parse("App 3").group, TreeSortKey::Group::App);
    EXPECT_EQ(TreeSortKey::Parse("Application 3").group, TreeSortKey::Group::None);
    const TreeSortKey host = TreeSortKey::Parse("hostA");
    EXPECT_EQ(host.radioFields + host.octetFields, 0);
    // Numbers beyond 32 bits saturate instead of overflowing.
    EXPECT_EQ(TreeSortKey::Parse("99999999999/1/1/1").radio[0], std::numeric_limits<std::int32_t>::max());
}

TEST(TreeOrder, NaturalCompareOrdersDigitRunsByValue)
{
    using TreeOrder::NaturalCompare;
    EXPECT_LT(NaturalCompare("Radio 9", "Radio 10"), 0);
    EXPECT_GT(NaturalCompare("Radio 10", "Radio 9"), 0);
    EXPECT_LT(NaturalCompare("alpha", "beta"), 0);
    EXPECT_LT(NaturalCompare("host", "host2"), 0);
    EXPECT_EQ(NaturalCompare("same 1", "same 1"), 0);
    EXPECT_NE(NaturalCompare("r01", "r1"), 0);   // strict: only equal texts compare equal
    EXPECT_EQ(NaturalCompare("r01", "r1"), -NaturalCompare("r1", "r01"));
}

}   // namespace
