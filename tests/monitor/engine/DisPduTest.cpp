#include "engine/DisPdu.h"
#include "util/DtBigEndian.h"

#include "TestPdus.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TransmitterPdu SampleTransmitter()
{
    TransmitterPdu t{};
    t.header = {6, 1, DisPduType::Transmitter, 4, 0x01020304u, 104, 0};
    t.entityId = {10, 20, 30};
    t.radioId = 4;
    t.radioEntityType = {7, 2, 225, 3, 1, 0x1234};
    t.transmitState = TransmitStateOnAndTransmitting;
    t.inputSource = 1;
    t.antennaLocation[0] = 1234567.891;
    t.antennaLocation[1] = -4.5;
    t.antennaLocation[2] = 1e-3;
    t.relativeAntennaLocation[0] = 25.5f;
    t.relativeAntennaLocation[1] = -1.25f;
    t.relativeAntennaLocation[2] = 0.0f;
    t.antennaPatternType = 1;
    t.antennaPatternLength = 0;
    t.frequencyHigh = 0;
    t.frequencyLow = 30000000u;
    t.transmitFrequencyBandwidth = 25000.0f;
    t.power = 40.0f;
    t.modulationType = {SpreadSpectrum::FrequencyHopping | SpreadSpectrum::TimeHopping, 2, 3, 4};
    t.cryptoSystem = 5;
    t.cryptoKeyId = 0x8001;
    t.modulationParameterLength = 0;
    return t;
}

std::vector<std::uint8_t> Encode(const TransmitterPdu& t, std::size_t extra = 0)
{
    std::vector<std::uint8_t> bytes(kTransmitterPduSize + extra, 0xAB);
    HostToNetTransmitterPdu(t, bytes.data());
    return bytes;
}

std::vector<std::uint8_t> Encode(const SignalPdu& s, std::size_t extra = 0)
{
    std::vector<std::uint8_t> bytes(kSignalPduSize + extra, 0xCD);
    HostToNetSignalPdu(s, bytes.data());
    return bytes;
}

TEST(DisPdu, TransmitterRoundTripKeepsEveryField)
{
    TransmitterPdu sent = SampleTransmitter();
    sent.modulationParameterLength = 3;
    testpdu::Buffer datagram(Encode(sent, 3));

    TransmitterPdu received{};
    ASSERT_EQ(NetToHostTransmitterPdu(datagram.data.get(), datagram.size, received), PduConversion::Ok);
    EXPECT_EQ(std::memcmp(&sent, &received, sizeof sent), 0);
}

TEST(DisPdu, WireLayoutIsBigEndianAtTheFixedOffsets)
{
    TransmitterPdu t = SampleTransmitter();
    auto bytes = Encode(t);
    EXPECT_EQ(bytes[2], 25);
    EXPECT_EQ((std::vector<std::uint8_t>{bytes[4], bytes[5], bytes[6], bytes[7]}),
              (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(bytes[12], 0);
    EXPECT_EQ(bytes[13], 10);   // site
    EXPECT_EQ(bytes[19], 4);    // radio identifier
    EXPECT_EQ(bytes[28], 2);    // transmit state
    // relative x = 25.5f = 0x41CC0000
    EXPECT_EQ(bytes[56], 0x41);
    EXPECT_EQ(bytes[57], 0xCC);
    EXPECT_EQ(bytes[98], 0x80);   // crypto key, high byte first
}

TEST(DisPdu, FrequencyHalvesStayInPlace)
{
    std::vector<std::uint8_t> bytes = Encode(SampleTransmitter());
    const std::uint8_t frequency[8] = {0, 0, 0, 1, 0, 0, 0, 0x10};   // 0x00000001_00000010
    std::memcpy(&bytes[72], frequency, sizeof frequency);

    TransmitterPdu t{};
    ASSERT_EQ(NetToHostTransmitterPdu(bytes.data(), bytes.size(), t), PduConversion::Ok);
    EXPECT_EQ(t.frequencyHigh, 1u);
    EXPECT_EQ(t.frequencyLow, 16u);
}

TEST(DisPdu, ZeroLengthModulationParametersNeedNoBytesBehindTheFixedPart)
{
    testpdu::Buffer datagram(Encode(SampleTransmitter()));
    ASSERT_EQ(datagram.size, 104u);
    TransmitterPdu t{};
    EXPECT_EQ(NetToHostTransmitterPdu(datagram.data.get(), datagram.size, t), PduConversion::Ok);
    EXPECT_EQ(t.modulationParameterLength, 0);
}

TEST(DisPdu, SignalDataLengthIsRoundedDownToWholeBytes)
{
    SignalPdu s{};
    s.header.pduType = DisPduType::Signal;
    s.entityId = {1, 2, 3};
    s.radioId = 9;
    s.encodingScheme = 0x0004;
    s.tdlType = 0;
    s.sampleRate = 8000;
    s.dataLength = 12;
    s.samples = 1;
    testpdu::Buffer datagram(Encode(s, 1));

    SignalPdu received{};
    ASSERT_EQ(NetToHostSignalPdu(datagram.data.get(), datagram.size, received), PduConversion::Ok);
    EXPECT_EQ(std::memcmp(&s, &received, sizeof s), 0);
    EXPECT_EQ(SignalDataBytes(received), 1u);
}

TEST(DisPdu, FloatsAndDoublesFromNetworkOrderBits)
{
    const std::uint8_t f[4] = {0x41, 0xCC, 0x00, 0x00};                           // 25.5f
    const std::uint8_t d[8] = {0x40, 0x39, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00};   // 25.5
    std::uint32_t fbits;
    std::uint64_t dbits;
    std::memcpy(&fbits, f, 4);
    std::memcpy(&dbits, d, 8);
    EXPECT_FLOAT_EQ(NetToHostFloat(fbits), 25.5f);
    EXPECT_DOUBLE_EQ(NetToHostDouble(dbits), 25.5);

    // The toolkit's big-endian reader and writer serve the monitor's records
    // as they serve the RTI's messages: one byte order, written once.
    EXPECT_FLOAT_EQ(DtGetBigEndian<float>(f), 25.5f);
    EXPECT_DOUBLE_EQ(DtGetBigEndian<double>(d), 25.5);
    std::uint8_t written[8] = {};
    DtPutBigEndian(25.5, written);
    EXPECT_EQ(std::memcmp(written, d, 8), 0);
    DtPutBigEndian(std::uint16_t{0x0BB9}, written);
    EXPECT_EQ(written[0], 0x0B);
    EXPECT_EQ(written[1], 0xB9);
}

struct TruncatedCase {
    const char* name;
    bool transmitter;
    std::size_t length;        // bytes actually received
    std::uint16_t announced;   // modulation-parameter length or signal data length in bits
};

class TruncatedDatagram : public testing::TestWithParam<TruncatedCase> {};

TEST_P(TruncatedDatagram, IsRefusedWithoutReadingPastItsEnd)
{
    const TruncatedCase& c = GetParam();
    std::vector<std::uint8_t> full;
    if (c.transmitter) {
        TransmitterPdu t = SampleTransmitter();
        t.modulationParameterLength = static_cast<std::uint8_t>(c.announced);
        full = Encode(t, 255);
    } else {
        SignalPdu s{};
        s.header.pduType = DisPduType::Signal;
        s.dataLength = c.announced;
        full = Encode(s, 8192 / 8);
    }
    full.resize(c.length);
    testpdu::Buffer datagram(full);

    if (c.transmitter) {
        TransmitterPdu untouched{};
        untouched.radioId = 0x7777;
        TransmitterPdu t = untouched;
        EXPECT_EQ(NetToHostTransmitterPdu(datagram.data.get(), datagram.size, t), PduConversion::TooShort);
        EXPECT_EQ(t.radioId, 0x7777);
    } else {
        SignalPdu s{};
        s.radioId = 0x7777;
        EXPECT_EQ(NetToHostSignalPdu(datagram.data.get(), datagram.size, s), PduConversion::TooShort);
        EXPECT_EQ(s.radioId, 0x7777);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DisPdu, TruncatedDatagram,
    testing::Values(TruncatedCase{"EmptyTransmitter", true, 0, 0}, TruncatedCase{"HeaderOnlyTransmitter", true, 12, 0},
                    TruncatedCase{"TransmitterOneByteShort", true, 103, 0},
                    TruncatedCase{"ModulationParametersMissing", true, 104, 1},
                    TruncatedCase{"ModulationParametersCut", true, 110, 7},
                    TruncatedCase{"LongestModulationParametersCut", true, 358, 255},
                    TruncatedCase{"EmptySignal", false, 0, 0}, TruncatedCase{"SignalOneByteShort", false, 31, 0},
                    TruncatedCase{"SignalDataMissing", false, 32, 8}, TruncatedCase{"SignalDataCut", false, 40, 72},
                    TruncatedCase{"LargestSignalDataCut", false, 8222, 65535}),
    [](const testing::TestParamInfo<TruncatedCase>& info) { return std::string(info.param.name); });

TEST(DisPdu, DatagramLongerThanAnnouncedIsAccepted)
{
    // Antenna-pattern bytes may follow the modulation parameters.
    TransmitterPdu t = SampleTransmitter();
    t.modulationParameterLength = 4;
    testpdu::Buffer datagram(Encode(t, 20));
    TransmitterPdu received{};
    EXPECT_EQ(NetToHostTransmitterPdu(datagram.data.get(), datagram.size, received), PduConversion::Ok);
    EXPECT_EQ(received.modulationParameterLength, 4);
}

}   // namespace
