#include "engine/PduTextLog.h"

#include "engine/LogLine.h"

#include <algorithm>

namespace {

using U = LogLine::Unsigned;
using D = LogLine::Signed;
using F = LogLine::Fixed;

constexpr std::string_view kEnd = "\r\n";
constexpr std::string_view kRule =
    "-----------------------------------------------------------------------------------\r\n";
static_assert(kRule.size() == 83 + 2);

constexpr std::string_view kDataIndent = "           ";   // 11 blanks: where continued data lines start
constexpr std::string_view kMore = "            . . .\r\n";

// Lines 1 to 4 of both blocks.
void AppendIdentity(LogLine& line, std::string_view kind, const PduHeader& header, const DisRadioId& radio,
                    std::string_view sender)
{
    line << kind << " PDU at timestamp: " << U{header.timestamp} << kEnd;
    line << "   From IP Address:   " << sender << kEnd;
    line << "   Site/App/Entity/Radio, Exercise:   " << U{radio.site} << "/" << U{radio.application} << "/"
         << U{radio.entity} << "/" << U{radio.radio} << ", " << D{header.exerciseId} << kEnd;
    line << "   Version, Family, PDU Type, PDU Length:   " << D{header.protocolVersion} << ", "
         << D{header.protocolFamily} << ", " << D{header.pduType} << ", " << D{header.length} << kEnd;
}

// Data bytes as " XX", sixteen to a line; the first line starts with
// `firstPrefix`, the others with the data indent.
void AppendDataLines(LogLine& line, std::string_view firstPrefix, std::span<const std::uint8_t> bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0)
            line << (i == 0 ? firstPrefix : kDataIndent);
        line << " " << LogLine::Hex2{bytes[i]};
        if (i % 16 == 15 || i + 1 == bytes.size())
            line << kEnd;
    }
}

}   // namespace

void AppendTransmitterText(std::string& out, const TransmitterPduView& pdu, std::string_view sender)
{
    const TransmitterPdu& t = pdu.record;
    const RadioEntityType& type = t.radioEntityType;
    const ModulationType& modulation = t.modulationType;
    LogLine line(out);
    AppendIdentity(line, "Transmit", t.header, DisRadioId::Of(t), sender);
    line << "   Country, Category, Domain, Kind, Nom. Version, Nomenclature:   " << D{type.country} << ", "
         << D{type.category} << ", " << D{type.domain} << ", " << D{type.kind} << ", " << D{type.nomenclatureVersion}
         << ", " << D{type.nomenclature} << kEnd;
    line << "   Frequency, Bandwidth, Power:   " << U{t.frequencyLow} << ", " << F{t.transmitFrequencyBandwidth, 6, 1}
         << ", " << F{t.power, 7, 2} << kEnd;
    line << "   Abs. Pos. (X, Y, Z):   (" << F{t.antennaLocation[0], 10, 1} << ", " << F{t.antennaLocation[1], 10, 1}
         << ", " << F{t.antennaLocation[2], 10, 1} << ")" << kEnd;
    line << "   Rel. Pos. (x, y, z):   (" << F{t.relativeAntennaLocation[0], 10, 1} << ", "
         << F{t.relativeAntennaLocation[1], 10, 1} << ", " << F{t.relativeAntennaLocation[2], 10, 1} << ")" << kEnd;
    line << "   Antenna Type, Pattern Length:   " << D{t.antennaPatternType} << ", " << D{t.antennaPatternLength}
         << kEnd;
    line << "   System, Major Mod., Detail Mod., Spread Spectrum:   " << D{modulation.system} << ", "
         << D{modulation.majorModulation} << ", " << D{modulation.detailModulation} << ", "
         << D{modulation.spreadSpectrum} << kEnd;
    line << "   Crypto System, Crypto Key:   " << D{t.cryptoSystem} << ", " << U{t.cryptoKeyId} << kEnd;
    line << "   Transmit State, Source:   " << D{t.transmitState} << ", " << D{t.inputSource} << kEnd;
    line << "   Mod. Length, Mod. Parms:   " << D{t.modulationParameterLength} << ",";
    for (std::uint8_t byte : pdu.modulationParameters)
        line << " " << D{byte};
    line << kEnd << kRule;
}

void AppendSignalText(std::string& out, const SignalPduView& pdu, std::string_view sender, SignalPortion portion)
{
    const SignalPdu& s = pdu.record;
    LogLine line(out);
    AppendIdentity(line, "Signal", s.header, DisRadioId::Of(s), sender);
    line << "   Sample Rate, Samples, Data Length:   " << U{s.sampleRate} << ", " << U{s.samples} << ", "
         << U{s.dataLength} << kEnd;
    line << "   Encoding, TDL:   " << D{s.encodingScheme} << ", " << D{s.tdlType} << kEnd;

    std::size_t count = std::min(SignalPortionBytes(portion, s.dataLength), pdu.data.size());
    if (IsFirstPart(portion)) {
        AppendDataLines(line, "   Data:   ", pdu.data.first(count));
        if (portion != SignalPortion::Entire)
            line << kMore;
    } else {
        line << "   Data:    . . .\r\n";
        AppendDataLines(line, kDataIndent, pdu.data.last(count));
    }
    line << kRule;
}
