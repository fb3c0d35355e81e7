#include "DisDetailText.h"

#include "DetailText.h"

#include <algorithm>
#include <array>
#include <bit>

namespace DisDetailText {

namespace {

using namespace DetailText;

template <typename Record>
std::array<std::uint8_t, sizeof(Record)> ImageOf(const Record& record)
{
    return std::bit_cast<std::array<std::uint8_t, sizeof(Record)>>(record);
}

// The padding fields show as the bytes they hold in the stored record.
template <typename Record>
std::string PaddingBytes(const Record& record, std::size_t offset, std::size_t count)
{
    const auto image = ImageOf(record);
    return DecimalBytes(std::span(image).subspan(offset, count));
}

std::span<const std::uint8_t> ShownParameters(const TransmitterPdu& record, std::span<const std::uint8_t> parameters)
{
    return parameters.first(std::min<std::size_t>(parameters.size(), record.modulationParameterLength));
}

template <typename Record>
std::vector<std::uint8_t> RecordFollowedBy(const Record& record, std::span<const std::uint8_t> tail)
{
    const auto image = ImageOf(record);
    std::vector<std::uint8_t> bytes(image.size() + tail.size());
    std::copy(image.begin(), image.end(), bytes.begin());
    std::copy(tail.begin(), tail.end(), bytes.begin() + static_cast<std::ptrdiff_t>(image.size()));
    return bytes;
}

constexpr std::size_t kHeaderPaddingOffset = offsetof(PduHeader, padding);
constexpr std::size_t kInputPaddingOffset = offsetof(TransmitterPdu, padding1);
constexpr std::size_t kLengthPaddingOffset = offsetof(TransmitterPdu, padding2);

}   // namespace

std::vector<PageLine> TransmitterGrid(const TransmitterPdu& t, std::span<const std::uint8_t> parameters)
{
    const PduHeader& h = t.header;
    const RadioEntityType& type = t.radioEntityType;
    const ModulationType& modulation = t.modulationType;
    return {
        Row("Protocol Version", Signed(h.protocolVersion), "Padding[2]", PaddingBytes(t, kInputPaddingOffset, 2)),
        Row("Exercise ID", Signed(h.exerciseId), "Antenna X", Float(t.antennaLocation[0])),
        Row("PDU Type", Signed(h.pduType), "Antenna Y", Float(t.antennaLocation[1])),
        Row("Protocol Family", Signed(h.protocolFamily), "Antenna Z", Float(t.antennaLocation[2])),
        Row("Timestamp", Unsigned(h.timestamp), "Ant Relative x", Float(t.relativeAntennaLocation[0])),
        Row("PDU Length", Signed(h.length), "Ant Relative y", Float(t.relativeAntennaLocation[1])),
        Row("Padding[2]", PaddingBytes(t, kHeaderPaddingOffset, 2), "Ant Relative z",
            Float(t.relativeAntennaLocation[2])),
        Row("Site ID", Unsigned(t.entityId.site), "Ant Pattern Type", Signed(t.antennaPatternType)),
        Row("Application ID", Unsigned(t.entityId.application), "Ant Pattern Length", Signed(t.antennaPatternLength)),
        Row("Entity ID", Unsigned(t.entityId.entity), "Frequency", Unsigned(t.frequencyLow)),
        Row("Radio ID", Unsigned(t.radioId), "Bandwidth", Float(t.transmitFrequencyBandwidth)),
        Row("Entity Kind", Signed(type.kind), "Power", Float(t.power)),
        Row("Domain", Signed(type.domain), "Spread Spectrum", Signed(modulation.spreadSpectrum)),
        Row("Country", Signed(type.country), "Major Modulation", Signed(modulation.majorModulation)),
        Row("Category", Signed(type.category), "Detail Modulation", Signed(modulation.detailModulation)),
        Row("Nomen Version", Signed(type.nomenclatureVersion), "Modulation System", Signed(modulation.system)),
        Row("Nomenclature", Signed(type.nomenclature), "Crypto System", Signed(t.cryptoSystem)),
        Row("Transmit State", Signed(t.transmitState), "Crypto Key", Signed(t.cryptoKeyId)),
        Row("Input Source", Signed(t.inputSource), "Mod Parms Length", Signed(t.modulationParameterLength)),
        Row("Padding[3]", PaddingBytes(t, kLengthPaddingOffset, 3)),
        Row("Mod Parameters", DecimalBytes(ShownParameters(t, parameters))),
    };
}

std::vector<PageLine> SignalGrid(const SignalPdu& s, std::span<const std::uint8_t> data)
{
    const PduHeader& h = s.header;
    std::vector<PageLine> lines{
        Row("Protocol Version", Signed(h.protocolVersion), "Site ID", Unsigned(s.entityId.site)),
        Row("Exercise ID", Signed(h.exerciseId), "Application ID", Unsigned(s.entityId.application)),
        Row("PDU Type", Signed(h.pduType), "Entity ID", Unsigned(s.entityId.entity)),
        Row("Protocol Family", Signed(h.protocolFamily), "Radio ID", Unsigned(s.radioId)),
        Row("Timestamp", Unsigned(h.timestamp), "Encoding", Signed(s.encodingScheme)),
        Row("Length", Signed(h.length), "TDL Type", Signed(s.tdlType)),
        Row("Padding[2]", PaddingBytes(s, kHeaderPaddingOffset, 2), "Sample Rate", Unsigned(s.sampleRate)),
        Row("Samples", Signed(s.samples), "Data Length", Signed(s.dataLength)),
    };
    for (PageLine& line : SignalDataLines(AnnouncedData(s, data)))
        lines.push_back(std::move(line));
    return lines;
}

std::vector<std::uint8_t> TransmitterBytes(const TransmitterPdu& record, std::span<const std::uint8_t> parameters)
{
    return RecordFollowedBy(record, ShownParameters(record, parameters));
}

std::vector<std::uint8_t> SignalBytes(const SignalPdu& header, std::span<const std::uint8_t> data)
{
    return RecordFollowedBy(header, AnnouncedData(header, data));
}

DetailPage Page(const CQuorlexDoc::Snapshot& snapshot, DisDisplay display)
{
    DetailPage page;
    if (display == DisDisplay::Raw) {
        page.style = PageStyle::Dump;
        page.AppendPart(HexDumpLines(TransmitterBytes(snapshot.transmitter, snapshot.modulationParameters)));
        if (HasSignalData(snapshot.signal, snapshot.signalData))
            page.AppendPart(HexDumpLines(SignalBytes(*snapshot.signal, snapshot.signalData)));
    } else {
        page.AppendPart(TransmitterGrid(snapshot.transmitter, snapshot.modulationParameters));
        if (HasSignalData(snapshot.signal, snapshot.signalData))
            page.AppendPart(SignalGrid(*snapshot.signal, snapshot.signalData));
    }
    return page;
}

DetailPage WholePage(CQuorlexDoc::Snapshot snapshot, DisDisplay display)
{
    ReserveSignalRoom(snapshot);
    return Page(snapshot, display);
}

}   // namespace DisDetailText
