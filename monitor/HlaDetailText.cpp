#include "HlaDetailText.h"

#include "DetailText.h"

namespace HlaDetailText {

namespace {

using namespace DetailText;

std::string Bit(std::uint16_t field, std::uint16_t bit) { return Signed((field & bit) != 0 ? 1 : 0); }

}   // namespace

std::vector<PageLine> TransmitterGrid(const CRadioReceive& radio, std::span<const std::uint8_t> parameters)
{
    const TransmitterPdu& t = radio.GetTransmitter();
    const RadioEntityType& type = t.radioEntityType;
    const ModulationType& modulation = t.modulationType;
    const std::uint16_t spread = modulation.spreadSpectrum;
    return {
        Row("Object Handle", Unsigned(radio.GetObjectHandle()), "Object Name", radio.GetObjectName()),
        Row("Site ID", Signed(t.entityId.site), "Host Object", radio.GetHostObjectId()),
        Row("Application ID", Signed(t.entityId.application), "Antenna X", Float(t.antennaLocation[0])),
        Row("Entity ID", Signed(t.entityId.entity), "Antenna Y", Float(t.antennaLocation[1])),
        Row("Radio ID", Signed(t.radioId), "Antenna Z", Float(t.antennaLocation[2])),
        Row("Entity Kind", Signed(type.kind), "Ant Relative x", Float(t.relativeAntennaLocation[0])),
        Row("Domain", Signed(type.domain), "Ant Relative y", Float(t.relativeAntennaLocation[1])),
        Row("Country", Signed(type.country), "Ant Relative z", Float(t.relativeAntennaLocation[2])),
        Row("Category", Signed(type.category), "Frequency", Unsigned(t.frequencyLow)),
        Row("Nomen Version", Signed(type.nomenclatureVersion), "Bandwidth", Float(t.transmitFrequencyBandwidth)),
        Row("Nomenclature", Signed(type.nomenclature), "Power", Float(t.power)),
        Row("Transmit State", Signed(t.transmitState), "Major Modulation", Signed(modulation.majorModulation)),
        Row("Input Source", Signed(t.inputSource), "Detail Modulation", Signed(modulation.detailModulation)),
        Row("Freq Hopping", Bit(spread, SpreadSpectrum::FrequencyHopping), "Modulation System",
            Signed(modulation.system)),
        Row("Pseudo Noise", Bit(spread, SpreadSpectrum::PseudoNoise), "Crypto Mode", Unsigned(radio.GetCryptoMode())),
        Row("Time Hopping", Bit(spread, SpreadSpectrum::TimeHopping), "Crypto System", Signed(t.cryptoSystem)),
        Row("Ant Pattern Type", Signed(t.antennaPatternType), "Crypto Key", Signed(t.cryptoKeyId)),
        Row("Mod Parameters", DecimalBytes(parameters)),
    };
}

std::vector<PageLine> SignalGrid(const SignalPdu& s, std::span<const std::uint8_t> data)
{
    std::vector<PageLine> lines{
        Row("Encoding", Signed(s.encodingScheme), "Sample Rate", Unsigned(s.sampleRate)),
        Row("Samples", Signed(s.samples), "Data Length", Signed(s.dataLength)),
    };
    for (PageLine& line : SignalDataLines(AnnouncedData(s, data)))
        lines.push_back(std::move(line));
    return lines;
}

DetailPage Page(const CQuorlexHlaDoc::Snapshot& snapshot)
{
    DetailPage page;
    if (snapshot.radio)
        page.AppendPart(TransmitterGrid(*snapshot.radio, snapshot.modulationParameters));
    if (HasSignalData(snapshot.signal, snapshot.signalData))
        page.AppendPart(SignalGrid(*snapshot.signal, snapshot.signalData));
    return page;
}

DetailPage WholePage(CQuorlexHlaDoc::Snapshot snapshot)
{
    ReserveSignalRoom(snapshot);
    return Page(snapshot);
}

}   // namespace HlaDetailText
