#include "engine/CRadioReceive.h"

#include "engine/RprRadioAttribute.h"
#include "util/DtBigEndian.h"

#include <bit>
#include <cstring>

namespace {

// Big-endian reads from an attribute value whose length was checked.
std::uint16_t U16(const std::uint8_t* at) { return DtGetBigEndian<std::uint16_t>(at); }
std::uint32_t U32(const std::uint8_t* at) { return DtGetBigEndian<std::uint32_t>(at); }
float F32(const std::uint8_t* at) { return DtGetBigEndian<float>(at); }
double F64(const std::uint8_t* at) { return DtGetBigEndian<double>(at); }

// A text attribute ends at its first zero byte or at the value's end.
std::string Text(const std::uint8_t* value, std::size_t length)
{
    const auto* bytes = reinterpret_cast<const char*>(value);
    const void* zero = length ? std::memchr(bytes, 0, length) : nullptr;
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : length);
}

void SetFlag(std::uint16_t& field, std::uint16_t flag, bool on)
{
    field = static_cast<std::uint16_t>(on ? field | flag : field & ~flag);
}

}   // namespace

void CRadioReceive::UpdateFromTransmitter(const TransmitterPduView& pdu, const SenderAddress& sender)
{
    // Written out only when the radio moves to another sender.
    if (m_senderAddress.empty() || sender.Address() != m_senderIp) {
        m_senderIp = sender.Address();
        m_senderAddress.assign(sender.Text());
    }
    m_transmitter = pdu.record;
    SetModulationParameters(pdu.modulationParameters.data(), pdu.modulationParameters.size());
    ++m_transmitCount;
}

void CRadioReceive::SetModulationParameters(const std::uint8_t* bytes, std::size_t length)
{
    // assign() reuses the buffer when the length stays the same.
    m_modulationParameters.assign(bytes, bytes + length);
}

bool CRadioReceive::IsSameRadio(const TransmitterPdu& pdu) const { return DisRadioId::Of(pdu) == GetDisId(); }

bool CRadioReceive::IsSameRadio(const SignalPdu& pdu) const { return DisRadioId::Of(pdu) == GetDisId(); }

bool CRadioReceive::GetAntennaLocation(double& x, double& y, double& z) const
{
    x = m_transmitter.antennaLocation[0];
    y = m_transmitter.antennaLocation[1];
    z = m_transmitter.antennaLocation[2];
    return true;
}

bool CRadioReceive::DecodeHlaAttribute(std::uint32_t bitValue, const std::uint8_t* value, std::size_t length)
{
    using A = RprRadioAttribute;
    if (!std::has_single_bit(bitValue) || (value == nullptr && length != 0))
        return false;
    auto exactly = [length](std::size_t n) { return length == n; };
    auto atLeast = [length](std::size_t n) { return length >= n; };
    TransmitterPdu& t = m_transmitter;

    switch (static_cast<A>(std::countr_zero(bitValue))) {
    case A::EntityIdentifier:
        if (!exactly(6))
            return false;
        t.entityId = {U16(value), U16(value + 2), U16(value + 4)};
        return true;
    case A::HostObjectIdentifier:
        m_hostObjectId = Text(value, length);
        return true;
    case A::RelativePosition:
        if (!exactly(12))
            return false;
        for (std::size_t i = 0; i < 3; ++i)
            t.relativeAntennaLocation[i] = F32(value + 4 * i);
        return true;
    case A::AntennaPatternData:
        if (!atLeast(2))
            return false;
        t.antennaPatternType = U16(value);
        return true;
    case A::CryptographicMode:
        if (!exactly(4))
            return false;
        m_cryptoMode = U32(value);
        return true;
    case A::CryptoSystem:
        if (!exactly(2))
            return false;
        t.cryptoSystem = U16(value);
        return true;
    case A::EncryptionKeyIdentifier:
        if (!exactly(2))
            return false;
        t.cryptoKeyId = U16(value);
        return true;
    case A::Frequency:
        if (!exactly(8))
            return false;
        t.frequencyHigh = U32(value);
        t.frequencyLow = U32(value + 4);
        return true;
    case A::FrequencyBandwidth:
        if (!exactly(4))
            return false;
        t.transmitFrequencyBandwidth = F32(value);
        return true;
    case A::FrequencyHopInUse:
        if (!atLeast(1))
            return false;
        SetFlag(t.modulationType.spreadSpectrum, SpreadSpectrum::FrequencyHopping, value[0] != 0);
        return true;
    case A::ModulationParameters:
        SetModulationParameters(value, length);
        // The record's length field is one byte; the copy keeps every byte.
        t.modulationParameterLength = static_cast<std::uint8_t>(length & 0xFFu);
        return true;
    case A::PseudoNoiseSpectrumInUse:
        if (!atLeast(1))
            return false;
        SetFlag(t.modulationType.spreadSpectrum, SpreadSpectrum::PseudoNoise, value[0] != 0);
        return true;
    case A::RadioIndex:
        if (!exactly(2))
            return false;
        t.radioId = U16(value);
        return true;
    case A::RadioInputSource:
        if (!exactly(1))
            return false;
        t.inputSource = value[0];
        return true;
    case A::RadioSystemType:
        if (!exactly(8))
            return false;
        t.radioEntityType = {value[0], value[1], U16(value + 2), value[4], value[5], U16(value + 6)};
        return true;
    case A::RFModulationSystemType:
        if (!exactly(2))
            return false;
        t.modulationType.system = U16(value);
        return true;
    case A::RFModulationType:
        if (!exactly(4))
            return false;
        t.modulationType.majorModulation = U16(value);
        t.modulationType.detailModulation = U16(value + 2);
        return true;
    case A::TimeHopInUse:
        if (!atLeast(1))
            return false;
        SetFlag(t.modulationType.spreadSpectrum, SpreadSpectrum::TimeHopping, value[0] != 0);
        return true;
    case A::TransmittedPower:
        if (!exactly(4))
            return false;
        t.power = F32(value);
        return true;
    case A::TransmitterOperationalStatus:
        if (!exactly(1))
            return false;
        t.transmitState = value[0];
        return true;
    case A::WorldLocation:
        if (!exactly(24))
            return false;
        for (std::size_t i = 0; i < 3; ++i)
            t.antennaLocation[i] = F64(value + 8 * i);
        return true;
    case A::FederateHost:
        m_federateHost = Text(value, length);
        return true;
    case A::FederateHandle:
        return true;   // known, but nothing in the record shows it
    }
    return false;
}
