#include "RprRadioValues.h"

#include "util/DtBigEndian.h"

#include <cmath>

namespace {

class Value {
public:
    template <typename T>
    Value& Put(T number)
    {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + sizeof(T));
        DtPutBigEndian(number, m_bytes.data() + at);
        return *this;
    }
    Value& Text(const std::string& text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

std::uint8_t Flag(bool on) { return on ? 1 : 0; }

}   // namespace

RprRadio RprRadio::Numbered(std::uint16_t number)
{
    RprRadio radio;
    radio.entity = number;
    radio.radioIndex = number;
    radio.frequencyHz = 225'000'000ull + 25'000ull * number;
    radio.worldLocation[0] += 10.0 * number;
    return radio;
}

std::vector<std::uint8_t> EncodeRprAttribute(const RprRadio& r, RprRadioAttribute attribute)
{
    using A = RprRadioAttribute;
    Value v;
    switch (attribute) {
    case A::EntityIdentifier:
        return v.Put(r.site).Put(r.application).Put(r.entity).Take();
    case A::HostObjectIdentifier:
        return v.Text(r.hostObject).Take();
    case A::RelativePosition:
        return v.Put(r.relativePosition[0]).Put(r.relativePosition[1]).Put(r.relativePosition[2]).Take();
    case A::AntennaPatternData:
        return v.Put(r.antennaPattern).Take();
    case A::CryptographicMode:
        return v.Put(r.cryptoMode).Take();
    case A::CryptoSystem:
        return v.Put(r.cryptoSystem).Take();
    case A::EncryptionKeyIdentifier:
        return v.Put(r.cryptoKey).Take();
    case A::Frequency:
        // The two 32-bit halves of the frequency, high half first.
        return v.Put(static_cast<std::uint32_t>(r.frequencyHz >> 32))
            .Put(static_cast<std::uint32_t>(r.frequencyHz))
            .Take();
    case A::FrequencyBandwidth:
        return v.Put(r.bandwidthHz).Take();
    case A::FrequencyHopInUse:
        return v.Put(Flag(r.frequencyHop)).Take();
    case A::ModulationParameters:
        return r.modulationParameters;
    case A::PseudoNoiseSpectrumInUse:
        return v.Put(Flag(r.pseudoNoise)).Take();
    case A::RadioIndex:
        return v.Put(r.radioIndex).Take();
    case A::RadioInputSource:
        return v.Put(r.inputSource).Take();
    case A::RadioSystemType:
        return v.Put(r.kind)
            .Put(r.domain)
            .Put(r.country)
            .Put(r.category)
            .Put(r.nomenclatureVersion)
            .Put(r.nomenclature)
            .Take();
    case A::RFModulationSystemType:
        return v.Put(r.modulationSystem).Take();
    case A::RFModulationType:
        return v.Put(r.majorModulation).Put(r.detailModulation).Take();
    case A::TimeHopInUse:
        return v.Put(Flag(r.timeHop)).Take();
    case A::TransmittedPower:
        return v.Put(r.powerDbm).Take();
    case A::TransmitterOperationalStatus:
        return v.Put(r.operationalStatus).Take();
    case A::WorldLocation:
        return v.Put(r.worldLocation[0]).Put(r.worldLocation[1]).Put(r.worldLocation[2]).Take();
    case A::FederateHost:
    case A::FederateHandle:
        break;   // Manager.Federate's, not the radio's
    }
    return {};
}

RprSignal RprSignal::Tone(std::uint32_t sequence, std::uint16_t samples, std::uint32_t sampleRate)
{
    RprSignal signal;
    signal.samples = samples;
    signal.sampleRate = sampleRate;
    signal.data.resize(samples);
    constexpr double kPi = 3.14159265358979323846;
    for (std::uint16_t i = 0; i < samples; ++i) {
        const double t = (static_cast<double>(sequence) * samples + i) / sampleRate;
        signal.data[i] = static_cast<std::uint8_t>(128.0 + 100.0 * std::sin(2.0 * kPi * 440.0 * t));
    }
    return signal;
}
