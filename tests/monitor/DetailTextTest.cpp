// The texts of the detail windows, checked as tables without pixels.
#include "DetailText.h"
#include "DisDetailText.h"
#include "HlaDetailText.h"
#include "engine/RprRadioAttribute.h"

#include "engine/TestPdus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using DetailText::Row;
using Bytes = std::vector<std::uint8_t>;

TransmitterPdu TestTransmitter(std::uint8_t parameterLength)
{
    TransmitterPdu t = testpdu::Transmitter();
    t.header.padding = 0x0303;
    t.modulationParameterLength = parameterLength;
    t.padding2[0] = 9;
    t.padding2[1] = 8;
    t.padding2[2] = 7;
    return t;
}

TEST(DetailText, FloatsShowInSinglePrecisionWithTwoDecimals)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {25.5, "25.50"},
        {1234567.891, "1234567.88"},   // a float holds 1234567.875
        {0.0, "0.00"},
        {-4.5, "-4.50"},
        {0.04, "0.04"},
        {123456789.0, "123456792.00"},
        {1e10, "10000000000.00"},
        {1e300, "inf"},   // beyond single precision
        {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetailText::Float(c.value), c.text) << c.value;
    EXPECT_NE(DetailText::Float(std::nan("")).find("nan"), std::string::npos);
}

TEST(DetailText, ByteListsAndNumbers)
{
    EXPECT_EQ(DetailText::DecimalBytes(Bytes{0, 9, 255}), "0  9  255  ");
    EXPECT_EQ(DetailText::DecimalBytes(Bytes{}), "");
    EXPECT_EQ(DetailText::HexBytes(Bytes{0, 0x0A, 0xFF}), "00 0A FF ");
    EXPECT_EQ(DetailText::Signed(65535), "65535");
    EXPECT_EQ(DetailText::Unsigned(4294967295u), "4294967295");
}

TEST(DisDetailText, TransmitterGridShowsEveryFieldInItsRow)
{
    const TransmitterPdu t = TestTransmitter(3);
    const std::vector<PageLine> expected{
        Row("Protocol Version", "6", "Padding[2]", "0  0  "),
        Row("Exercise ID", "1", "Antenna X", "1234567.88"),
        Row("PDU Type", "25", "Antenna Y", "-4.50"),
        Row("Protocol Family", "4", "Antenna Z", "0.04"),
        Row("Timestamp", "123456789", "Ant Relative x", "25.50"),
        Row("PDU Length", "104", "Ant Relative y", "-1.30"),
        Row("Padding[2]", "3  3  ", "Ant Relative z", "0.00"),
        Row("Site ID", "1", "Ant Pattern Type", "1"),
        Row("Application ID", "3001", "Ant Pattern Length", "0"),
        Row("Entity ID", "17", "Frequency", "16"),
        Row("Radio ID", "2", "Bandwidth", "25000.00"),
        Row("Entity Kind", "7", "Power", "40.50"),
        Row("Domain", "2", "Spread Spectrum", "5"),
        Row("Country", "225", "Major Modulation", "2"),
        Row("Category", "3", "Detail Modulation", "3"),
        Row("Nomen Version", "1", "Modulation System", "4"),
        Row("Nomenclature", "4660", "Crypto System", "5"),
        Row("Transmit State", "2", "Crypto Key", "32769"),
        Row("Input Source", "1", "Mod Parms Length", "3"),
        Row("Padding[3]", "9  8  7  "),
        Row("Mod Parameters", "10  0  200  "),
    };
    EXPECT_EQ(DisDetailText::TransmitterGrid(t, Bytes{10, 0, 200}), expected);
}

TEST(DisDetailText, ModulationParametersAreBoundedByTheBytesHeld)
{
    const struct {
        std::uint8_t announced;
        Bytes held;
        const char* shown;
        std::size_t dumped;
    } cases[] = {
        {0, {}, "", 104},   // none: "Mod Parms Length" 0, an empty row
        {3, {1, 2, 3}, "1  2  3  ", 107},
        {8, {1, 2, 3}, "1  2  3  ", 107},   // the length byte promises more than was kept
        {2, {1, 2, 3}, "1  2  ", 106},
    };
    for (const auto& c : cases) {
        const TransmitterPdu t = TestTransmitter(c.announced);
        const auto grid = DisDetailText::TransmitterGrid(t, c.held);
        EXPECT_EQ(grid[18].cells[PageCell::RightValue], std::to_string(c.announced));
        EXPECT_EQ(grid[20].cells[PageCell::LeftValue], c.shown);
        EXPECT_EQ(DisDetailText::TransmitterBytes(t, c.held).size(), c.dumped);
    }
}

TEST(DisDetailText, SignalGridShowsTheHeaderAndAtMost32DataBytes)
{
    SignalPdu s = testpdu::Signal();
    s.header.padding = 0x0101;
    s.dataLength = 320;   // 40 bytes
    const std::vector<PageLine> expected{
        Row("Protocol Version", "6", "Site ID", "1"),
        Row("Exercise ID", "1", "Application ID", "3001"),
        Row("PDU Type", "26", "Entity ID", "17"),
        Row("Protocol Family", "4", "Radio ID", "2"),
        Row("Timestamp", "1000", "Encoding", "4"),
        Row("Length", "32", "TDL Type", "0"),
        Row("Padding[2]", "1  1  ", "Sample Rate", "8000"),
        Row("Samples", "480", "Data Length", "320"),
        Row("Data", "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F "),
        Row("", "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F "),
    };
    EXPECT_EQ(DisDetailText::SignalGrid(s, testpdu::Counting(40)), expected);
}

TEST(DisDetailText, SignalDataLinesFollowTheBytesAnnouncedAndHeld)
{
    const struct {
        int bits;
        std::size_t held;
        std::vector<std::string> lines;
    } cases[] = {
        {0, 0, {""}},
        {12, 4, {"00 "}},   // 12 bits: one byte
        {96, 12, {"00 01 02 03 04 05 06 07 08 09 0A 0B "}},
        {256, 4, {"00 01 02 03 "}},   // announces 32 bytes, holds 4
        {136, 17, {"00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ", "10 "}},
    };
    for (const auto& c : cases) {
        SignalPdu s = testpdu::Signal();
        s.dataLength = static_cast<std::uint16_t>(c.bits);
        const auto grid = DisDetailText::SignalGrid(s, testpdu::Counting(c.held));
        ASSERT_EQ(grid.size(), 8 + c.lines.size()) << c.bits;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(grid[8 + i].cells[PageCell::LeftValue], c.lines[i]) << c.bits;
        EXPECT_EQ(grid[8].cells[PageCell::LeftLabel], "Data");
    }
}

CQuorlexDoc::Snapshot DisSnapshot(std::optional<SignalPdu> signal, Bytes data = {})
{
    CQuorlexDoc::Snapshot snapshot;
    snapshot.transmitter = TestTransmitter(0);
    snapshot.signal = signal;
    snapshot.signalData = std::move(data);
    return snapshot;
}

TEST(DisDetailText, PageShowsTheSignalPartOnlyOnceASignalWasShown)
{
    // No signal yet: the transmitter grid alone.
    const DetailPage before = DisDetailText::Page(DisSnapshot(std::nullopt), DisDisplay::Grid);
    EXPECT_EQ(before.style, PageStyle::Grid);
    EXPECT_EQ(before.lines.size(), 21u);

    SignalPdu s = testpdu::Signal();
    s.dataLength = 96;
    const DetailPage after = DisDetailText::Page(DisSnapshot(s, testpdu::Counting(12)), DisDisplay::Grid);
    ASSERT_EQ(after.lines.size(), 21u + 1 + 9);
    EXPECT_EQ(after.lines[21], PageLine{});   // one blank line between the parts
    EXPECT_EQ(after.lines[22].cells[PageCell::LeftLabel], "Protocol Version");
    EXPECT_EQ(after.lines[22].cells[PageCell::LeftValue], "6");
}

// The whole page, which a new window opens at, has a signal part of the
// largest size before any signal came, and is the page itself once one did.
TEST(DisDetailText, TheWholePageHasRoomForTheLargestSignalPart)
{
    const DetailPage room = DisDetailText::WholePage(DisSnapshot(std::nullopt), DisDisplay::Grid);
    ASSERT_EQ(room.lines.size(), 21u + 1 + 10);
    EXPECT_EQ(room.lines[29].cells[PageCell::RightValue], "65535");   // Data Length at its widest
    EXPECT_EQ(room.lines[30].cells[PageCell::LeftValue].size(), 16u * 3);
    EXPECT_EQ(DisDetailText::WholePage(DisSnapshot(std::nullopt), DisDisplay::Raw).lines.size(), 7u + 1 + 4);

    SignalPdu s = testpdu::Signal();
    s.dataLength = 96;
    const auto shown = DisSnapshot(s, testpdu::Counting(12));
    EXPECT_EQ(DisDetailText::WholePage(shown, DisDisplay::Grid).lines,
              DisDetailText::Page(shown, DisDisplay::Grid).lines);
}

// The signal part is drawn only when signal data exists: a Signal PDU that
// carries no data bytes (or none of those it announces) adds nothing.
TEST(DetailText, ASignalWithoutDataAddsNoSignalPart)
{
    const struct {
        const char* what;
        std::uint32_t dataLength;
        Bytes data;
    } cases[] = {
        {"no data announced or held", 0, {}},
        {"data announced, none held", 96, {}},
        {"bytes held, none announced", 0, testpdu::Counting(12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SignalPdu s = testpdu::Signal();
        s.dataLength = c.dataLength;
        EXPECT_EQ(DisDetailText::Page(DisSnapshot(s, c.data), DisDisplay::Grid).lines.size(), 21u);
        EXPECT_EQ(DisDetailText::Page(DisSnapshot(s, c.data), DisDisplay::Raw).lines.size(), 7u);
        CQuorlexHlaDoc::Snapshot hla;
        hla.signal = s;
        hla.signalData = c.data;
        EXPECT_TRUE(HlaDetailText::Page(hla).lines.empty());
    }
}

TEST(DisDetailText, DumpHasALinePer16BytesOfTheStoredRecords)
{
    const DetailPage transmitterOnly = DisDetailText::Page(DisSnapshot(std::nullopt), DisDisplay::Raw);
    EXPECT_EQ(transmitterOnly.style, PageStyle::Dump);
    ASSERT_EQ(transmitterOnly.lines.size(), 7u);   // 104 bytes
    EXPECT_EQ(transmitterOnly.lines[0].cells[PageCell::Offset], "0000");
    EXPECT_EQ(transmitterOnly.lines[0].cells[PageCell::Bytes].substr(0, 12), "06 01 19 04 ");
    EXPECT_EQ(transmitterOnly.lines[6].cells[PageCell::Offset], "0060");
    EXPECT_EQ(transmitterOnly.lines[6].cells[PageCell::Bytes].size(), 8u * 3);

    // A signal of 96 bits: 32 + 12 bytes, 3 lines, one blank line below the
    // transmitter's. A data length beyond the bytes held dumps what is held.
    SignalPdu s = testpdu::Signal();
    s.dataLength = 96;
    const DetailPage both = DisDetailText::Page(DisSnapshot(s, testpdu::Counting(12)), DisDisplay::Raw);
    ASSERT_EQ(both.lines.size(), 7u + 1 + 3);
    EXPECT_EQ(both.lines[7], PageLine{});
    EXPECT_EQ(both.lines[8].cells[PageCell::Offset], "0000");
    EXPECT_EQ(both.lines[10].cells[PageCell::Offset], "0020");
    EXPECT_EQ(both.lines[10].cells[PageCell::Bytes], "00 01 02 03 04 05 06 07 08 09 0A 0B ");

    s.dataLength = 8000;
    EXPECT_EQ(DisDetailText::Page(DisSnapshot(s, testpdu::Counting(12)), DisDisplay::Raw).lines.size(), 11u);
}

TEST(DetailText, HexDumpLineCounts)
{
    const struct {
        std::size_t bytes;
        std::size_t lines;
    } cases[] = {{0, 0}, {1, 1}, {16, 1}, {17, 2}, {104, 7}, {107, 7}, {112, 7}, {113, 8}, {44, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(DetailText::HexDumpLines(testpdu::Counting(c.bytes)).size(), c.lines) << c.bytes;
    const auto lines = DetailText::HexDumpLines(testpdu::Counting(300));
    EXPECT_EQ(lines.back().cells[PageCell::Offset], "0120");
}

CRadioReceive HlaRadio(std::uint8_t frequencyHop, std::uint8_t pseudoNoise, std::uint8_t timeHop)
{
    CRadioReceive radio;
    radio.SetObjectHandle(42);
    radio.SetObjectName("radio-42");
    auto decode = [&radio](RprRadioAttribute attribute, const Bytes& value) {
        EXPECT_TRUE(radio.DecodeHlaAttribute(AttributeBit(attribute), value.data(), value.size()));
    };
    decode(RprRadioAttribute::FrequencyHopInUse, {frequencyHop});
    decode(RprRadioAttribute::PseudoNoiseSpectrumInUse, {pseudoNoise});
    decode(RprRadioAttribute::TimeHopInUse, {timeHop});
    decode(RprRadioAttribute::HostObjectIdentifier, {'h', 'o', 's', 't', '.', '7', 0});
    decode(RprRadioAttribute::CryptographicMode, {0, 0, 1, 0});
    decode(RprRadioAttribute::EntityIdentifier, {0, 1, 0x0B, 0xB9, 0, 17});
    decode(RprRadioAttribute::TransmittedPower, {0x41, 0xCC, 0, 0});   // 25.5f
    decode(RprRadioAttribute::Frequency, {0, 0, 0, 0, 0x0B, 0xEB, 0xC2, 0});
    return radio;
}

TEST(HlaDetailText, SpreadSpectrumBitsShowAsThreeFlags)
{
    const struct {
        std::uint8_t hop, noise, time;
        const char* shown[3];
    } cases[] = {
        {1, 0, 1, {"1", "0", "1"}},   // spread spectrum 5
        {0, 1, 0, {"0", "1", "0"}},
        {1, 1, 1, {"1", "1", "1"}},
        {0, 0, 0, {"0", "0", "0"}},
    };
    for (const auto& c : cases) {
        const auto grid = HlaDetailText::TransmitterGrid(HlaRadio(c.hop, c.noise, c.time), {});
        const std::pair<const char*, std::size_t> rows[] = {
            {"Freq Hopping", 13}, {"Pseudo Noise", 14}, {"Time Hopping", 15}};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(grid[rows[i].second].cells[PageCell::LeftLabel], rows[i].first);
            EXPECT_EQ(grid[rows[i].second].cells[PageCell::LeftValue], c.shown[i]) << rows[i].first;
        }
    }
    EXPECT_EQ(HlaRadio(1, 0, 1).GetTransmitter().modulationType.spreadSpectrum, 5u);
}

TEST(HlaDetailText, TransmitterGridShowsTheRadiosValues)
{
    const auto grid = HlaDetailText::TransmitterGrid(HlaRadio(0, 0, 0), Bytes{4, 5});
    ASSERT_EQ(grid.size(), 18u);
    EXPECT_EQ(grid[0], Row("Object Handle", "42", "Object Name", "radio-42"));
    EXPECT_EQ(grid[1], Row("Site ID", "1", "Host Object", "host.7"));
    EXPECT_EQ(grid[2].cells[PageCell::LeftValue], "3001");
    EXPECT_EQ(grid[8], Row("Category", "0", "Frequency", "200000000"));
    EXPECT_EQ(grid[10], Row("Nomenclature", "0", "Power", "25.50"));
    EXPECT_EQ(grid[14], Row("Pseudo Noise", "0", "Crypto Mode", "256"));
    EXPECT_EQ(grid[17], Row("Mod Parameters", "4  5  "));
}

TEST(HlaDetailText, PageHasTheSignalPartBelowTheTransmitterOnceASignalArrived)
{
    CQuorlexHlaDoc::Snapshot snapshot;
    snapshot.radio = HlaRadio(0, 0, 0);
    EXPECT_EQ(HlaDetailText::Page(snapshot).lines.size(), 18u);   // no signal yet

    SignalPdu s = testpdu::Signal();
    s.dataLength = 24 * 8;
    snapshot.signal = s;
    snapshot.signalData = testpdu::Counting(24);
    const DetailPage page = HlaDetailText::Page(snapshot);
    ASSERT_EQ(page.lines.size(), 18u + 1 + 4);
    EXPECT_EQ(page.lines[19], Row("Encoding", "4", "Sample Rate", "8000"));
    EXPECT_EQ(page.lines[20], Row("Samples", "480", "Data Length", "192"));
    EXPECT_EQ(page.lines[22], Row("", "10 11 12 13 14 15 16 17 "));

    // The radio is gone: the signal part alone.
    snapshot.radio.reset();
    EXPECT_EQ(HlaDetailText::Page(snapshot).lines.size(), 4u);
}

}   // namespace
