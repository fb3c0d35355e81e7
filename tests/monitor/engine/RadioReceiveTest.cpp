#include "engine/CRadioReceive.h"
#include "engine/RprRadioAttribute.h"

#include "TestPdus.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using A = RprRadioAttribute;
using Bytes = std::vector<std::uint8_t>;

struct AttributeCase {
    const char* name;
    A attribute;
    Bytes value;
    bool accepted;
    std::function<void(const CRadioReceive&)> check;   // what the record shows afterwards
};

// The values are big-endian as RPR sends them.
Bytes Be32(float f)
{
    auto bits = std::bit_cast<std::uint32_t>(f);
    return {Bytes::value_type(bits >> 24), Bytes::value_type(bits >> 16), Bytes::value_type(bits >> 8),
            Bytes::value_type(bits)};
}

Bytes Be64(double d)
{
    auto bits = std::bit_cast<std::uint64_t>(d);
    Bytes out;
    for (int shift = 56; shift >= 0; shift -= 8)
        out.push_back(Bytes::value_type(bits >> shift));
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

const TransmitterPdu& T(const CRadioReceive& r) { return r.GetTransmitter(); }

// Every attribute with a value of the right length, and the wrong lengths
// that must leave the record as it was.
// clang-format off
const std::vector<AttributeCase> kAttributeCases = {
    {"EntityIdentifier", A::EntityIdentifier, {0, 1, 0x0B, 0xB9, 0, 17}, true,
     [](auto& r) { EXPECT_EQ(r.GetDisId(), (DisRadioId{1, 3001, 17, 0})); }},
    {"EntityIdentifierShort", A::EntityIdentifier, {0, 1, 0x0B, 0xB9, 0}, false, nullptr},
    {"HostObjectIdentifierToZero", A::HostObjectIdentifier, {'a', 'b', 0, 'c'}, true,
     [](auto& r) { EXPECT_EQ(r.GetHostObjectId(), "ab"); }},
    {"HostObjectIdentifierToEnd", A::HostObjectIdentifier, {'x', 'y', 'z'}, true,
     [](auto& r) { EXPECT_EQ(r.GetHostObjectId(), "xyz"); }},
    {"RelativePosition", A::RelativePosition, Cat({Be32(1.5f), Be32(-2.0f), Be32(3.25f)}), true,
     [](auto& r) {
         EXPECT_EQ(T(r).relativeAntennaLocation[0], 1.5f);
         EXPECT_EQ(T(r).relativeAntennaLocation[1], -2.0f);
         EXPECT_EQ(T(r).relativeAntennaLocation[2], 3.25f);
     }},
    {"RelativePositionLong", A::RelativePosition, Bytes(13, 1), false, nullptr},
    {"AntennaPatternData", A::AntennaPatternData, {0, 7, 9, 9, 9}, true,
     [](auto& r) { EXPECT_EQ(T(r).antennaPatternType, 7); }},
    {"AntennaPatternDataShort", A::AntennaPatternData, {7}, false, nullptr},
    {"CryptographicMode", A::CryptographicMode, {0, 0, 1, 2}, true, [](auto& r) { EXPECT_EQ(r.GetCryptoMode(), 258u); }},
    {"CryptographicModeShort", A::CryptographicMode, {0, 0, 1}, false, nullptr},
    {"CryptoSystem", A::CryptoSystem, {0x12, 0x34}, true, [](auto& r) { EXPECT_EQ(T(r).cryptoSystem, 0x1234); }},
    {"CryptoSystemLong", A::CryptoSystem, {0, 0, 1}, false, nullptr},
    {"EncryptionKeyIdentifier", A::EncryptionKeyIdentifier, {0x80, 0x01}, true,
     [](auto& r) { EXPECT_EQ(T(r).cryptoKeyId, 0x8001); }},
    {"Frequency", A::Frequency, {0, 0, 0, 0, 0x0B, 0xEB, 0xC2, 0x00}, true,
     [](auto& r) {
         EXPECT_EQ(T(r).frequencyHigh, 0u);
         EXPECT_EQ(T(r).frequencyLow, 200000000u);
     }},
    {"FrequencyShort", A::Frequency, {0, 0, 0, 0, 0x0B, 0xEB, 0xC2}, false, nullptr},
    {"FrequencyBandwidth", A::FrequencyBandwidth, Be32(25000.0f), true,
     [](auto& r) { EXPECT_EQ(T(r).transmitFrequencyBandwidth, 25000.0f); }},
    {"FrequencyHopInUseOn", A::FrequencyHopInUse, {1}, true,
     [](auto& r) { EXPECT_EQ(T(r).modulationType.spreadSpectrum, 0x7); }},
    {"FrequencyHopInUseOff", A::FrequencyHopInUse, {0, 1}, true,
     [](auto& r) { EXPECT_EQ(T(r).modulationType.spreadSpectrum, 0x6); }},
    {"FrequencyHopInUseEmpty", A::FrequencyHopInUse, {}, false, nullptr},
    {"ModulationParameters", A::ModulationParameters, {9, 8, 7}, true,
     [](auto& r) {
         EXPECT_EQ(r.GetModulationParameters(), (Bytes{9, 8, 7}));
         EXPECT_EQ(T(r).modulationParameterLength, 3);
     }},
    {"ModulationParametersLong", A::ModulationParameters, Bytes(300, 5), true,
     [](auto& r) {
         EXPECT_EQ(r.GetModulationParameters().size(), 300u);
         EXPECT_EQ(T(r).modulationParameterLength, 300 & 0xFF);
     }},
    {"ModulationParametersEmpty", A::ModulationParameters, {}, true,
     [](auto& r) {
         EXPECT_TRUE(r.GetModulationParameters().empty());
         EXPECT_EQ(T(r).modulationParameterLength, 0);
     }},
    {"PseudoNoiseOff", A::PseudoNoiseSpectrumInUse, {0}, true,
     [](auto& r) { EXPECT_EQ(T(r).modulationType.spreadSpectrum, 0x5); }},
    {"RadioIndex", A::RadioIndex, {0, 4}, true, [](auto& r) { EXPECT_EQ(T(r).radioId, 4); }},
    {"RadioIndexLong", A::RadioIndex, {0, 0, 4}, false, nullptr},
    {"RadioInputSource", A::RadioInputSource, {3}, true, [](auto& r) { EXPECT_EQ(T(r).inputSource, 3); }},
    {"RadioInputSourceLong", A::RadioInputSource, {3, 3}, false, nullptr},
    {"RadioSystemType", A::RadioSystemType, {7, 2, 0, 225, 3, 1, 0x12, 0x34}, true,
     [](auto& r) {
         const RadioEntityType& e = T(r).radioEntityType;
         EXPECT_EQ(e.kind, 7);
         EXPECT_EQ(e.domain, 2);
         EXPECT_EQ(e.country, 225);
         EXPECT_EQ(e.category, 3);
         EXPECT_EQ(e.nomenclatureVersion, 1);
         EXPECT_EQ(e.nomenclature, 0x1234);
     }},
    {"RFModulationSystemType", A::RFModulationSystemType, {0, 9}, true,
     [](auto& r) { EXPECT_EQ(T(r).modulationType.system, 9); }},
    {"RFModulationType", A::RFModulationType, {0, 2, 0, 3}, true,
     [](auto& r) {
         EXPECT_EQ(T(r).modulationType.majorModulation, 2);
         EXPECT_EQ(T(r).modulationType.detailModulation, 3);
     }},
    {"RFModulationTypeShort", A::RFModulationType, {0, 2}, false, nullptr},
    {"TimeHopInUseOff", A::TimeHopInUse, {0}, true,
     [](auto& r) { EXPECT_EQ(T(r).modulationType.spreadSpectrum, 0x3); }},
    {"TransmittedPower", A::TransmittedPower, Be32(40.5f), true, [](auto& r) { EXPECT_EQ(T(r).power, 40.5f); }},
    {"TransmitterOperationalStatus", A::TransmitterOperationalStatus, {2}, true,
     [](auto& r) { EXPECT_TRUE(r.IsActive()); }},
    {"WorldLocation", A::WorldLocation, Cat({Be64(1234567.891), Be64(-4.5), Be64(6e6)}), true,
     [](auto& r) {
         double x, y, z;
         ASSERT_TRUE(r.GetAntennaLocation(x, y, z));
         EXPECT_EQ(x, 1234567.891);
         EXPECT_EQ(y, -4.5);
         EXPECT_EQ(z, 6e6);
     }},
    {"WorldLocationShort", A::WorldLocation, Bytes(23, 0), false, nullptr},
    {"FederateHost", A::FederateHost, {'h', 'o', 's', 't', 0}, true,
     [](auto& r) { EXPECT_EQ(r.GetFederateHost(), "host"); }},
    {"FederateHandle", A::FederateHandle, {0, 0, 0, 1}, true, nullptr},
};
// clang-format on

void PrintTo(const AttributeCase& c, std::ostream* out) { *out << c.name; }

class AttributeTable : public testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeTable, DecodesOrLeavesTheRecordUnchanged)
{
    const AttributeCase& c = GetParam();
    CRadioReceive record;
    // Start from a record with all three spread-spectrum bits set, so that
    // clearing one shows.
    ASSERT_TRUE(record.DecodeHlaAttribute(AttributeBit(A::FrequencyHopInUse), Bytes{1}.data(), 1));
    ASSERT_TRUE(record.DecodeHlaAttribute(AttributeBit(A::PseudoNoiseSpectrumInUse), Bytes{1}.data(), 1));
    ASSERT_TRUE(record.DecodeHlaAttribute(AttributeBit(A::TimeHopInUse), Bytes{1}.data(), 1));
    const CRadioReceive before = record;

    EXPECT_EQ(record.DecodeHlaAttribute(AttributeBit(c.attribute), c.value.data(), c.value.size()), c.accepted);
    if (c.check)
        c.check(record);
    if (!c.accepted) {
        EXPECT_EQ(std::memcmp(&record.GetTransmitter(), &before.GetTransmitter(), sizeof(TransmitterPdu)), 0);
        EXPECT_EQ(record.GetCryptoMode(), before.GetCryptoMode());
    }
}

INSTANTIATE_TEST_SUITE_P(RadioReceive, AttributeTable, testing::ValuesIn(kAttributeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RadioReceive, CoversEveryAttributeBitAndRefusesOthers)
{
    std::uint32_t covered = 0;
    for (const auto& c : kAttributeCases)
        covered |= AttributeBit(c.attribute);
    EXPECT_EQ(covered, (1u << kRprRadioAttributeCount) - 1);

    CRadioReceive record;
    Bytes value{1, 2};
    EXPECT_FALSE(record.DecodeHlaAttribute(1u << 23, value.data(), value.size()));
    EXPECT_FALSE(record.DecodeHlaAttribute(0x3, value.data(), value.size()));   // two attributes at once
    EXPECT_FALSE(record.DecodeHlaAttribute(0, value.data(), value.size()));
}

TEST(RadioReceive, StartsAsTheUnnamedRadioTransmitter)
{
    CRadioReceive record;
    EXPECT_EQ(record.GetObjectName(), "***invalid***");
    EXPECT_EQ(record.GetHostObjectId(), "***invalid***");
    EXPECT_EQ(record.GetFederateHost(), "RadioTransmitter");
    EXPECT_FALSE(record.IsHla());
    EXPECT_EQ(record.GetTransmitCount(), 0u);
    EXPECT_TRUE(record.GetModulationParameters().empty());
}

TEST(RadioReceive, UpdateFromTransmitterTakesRecordParametersAndSender)
{
    CRadioReceive record;
    auto four = testpdu::Buffer(testpdu::Bytes(testpdu::Transmitter(), {1, 2, 3, 4}));
    record.UpdateFromTransmitter(*ViewTransmitterPdu(four.data.get(), four.size), "10.0.0.5");
    EXPECT_EQ(record.GetSenderAddress(), "10.0.0.5");
    EXPECT_EQ(record.GetModulationParameters(), (Bytes{1, 2, 3, 4}));
    EXPECT_TRUE(record.IsSameRadio(testpdu::Transmitter()));
    EXPECT_TRUE(record.IsSameRadio(testpdu::Signal()));
    EXPECT_FALSE(record.IsSameRadio(testpdu::Signal({1, 3001, 17, 3})));

    auto none = testpdu::Buffer(testpdu::Bytes(testpdu::Transmitter(), {}));
    record.UpdateFromTransmitter(*ViewTransmitterPdu(none.data.get(), none.size), "10.0.0.6");
    EXPECT_TRUE(record.GetModulationParameters().empty());
    EXPECT_EQ(record.GetTransmitter().modulationParameterLength, 0);
    EXPECT_EQ(record.GetTransmitCount(), 2u);
}

TEST(RadioKey, KeyTextRoundTripsAndRefusesOtherSpellings)
{
    DisRadioId id{1, 3001, 17, 2};
    EXPECT_EQ(id.KeyText(), "1/3001/17/2");
    EXPECT_EQ(DisRadioId::FromKeyText("1/3001/17/2"), id);
    EXPECT_EQ((DisRadioId{65535, 0, 65535, 0}.KeyText()), "65535/0/65535/0");
    for (const char* bad : {"", "1/2/3", "1/2/3/4/5", "01/2/3/4", "+1/2/3/4", "1/2/3/65536", "1/2/3/4 ", "a/b/c/d"})
        EXPECT_FALSE(DisRadioId::FromKeyText(bad)) << bad;
}

}   // namespace
