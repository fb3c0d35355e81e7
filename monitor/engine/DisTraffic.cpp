#include "engine/DisTraffic.h"

namespace {

constexpr std::uint8_t kProtocolVersion = 6;   // IEEE 1278.1-1995
constexpr std::uint8_t kRadioFamily = 4;       // radio communications
constexpr std::uint8_t kExercise = 1;

PduHeader Header(std::uint8_t type, std::size_t length)
{
    return {kProtocolVersion, kExercise, type, kRadioFamily, 0, static_cast<std::uint16_t>(length), 0};
}

std::vector<std::uint8_t> Pattern(std::size_t length)
{
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

template <typename Record>
std::vector<std::uint8_t> EncodeWith(const Record& record, void (*encode)(const Record&, std::uint8_t*),
                                     const std::vector<std::uint8_t>& trailing)
{
    std::vector<std::uint8_t> datagram(sizeof(Record));
    encode(record, datagram.data());
    datagram.insert(datagram.end(), trailing.begin(), trailing.end());
    return datagram;
}

}   // namespace

namespace DisTraffic {

TransmitterPdu TransmitterRecord(const DisRadioId& radio, std::uint8_t modulationParameters)
{
    TransmitterPdu t{};
    t.header = Header(DisPduType::Transmitter, kTransmitterPduSize + modulationParameters);
    t.entityId = {radio.site, radio.application, radio.entity};
    t.radioId = radio.radio;
    t.radioEntityType = {7, 1, 225, 1, 1, 1};
    t.transmitState = TransmitStateOnAndTransmitting;
    t.inputSource = 1;
    t.antennaLocation[0] = 4000000.0 + radio.entity;
    t.antennaLocation[1] = 300000.0;
    t.antennaLocation[2] = 4800000.0;
    t.relativeAntennaLocation[2] = 2.5f;
    t.frequencyLow = 30000000u + 25000u * radio.radio;
    t.transmitFrequencyBandwidth = 25000.0f;
    t.power = 40.0f;
    t.modulationType = {0, 1, 2, 1};
    t.modulationParameterLength = modulationParameters;
    return t;
}

SignalPdu SignalRecord(const DisRadioId& radio, std::uint16_t samples, std::uint16_t dataBytes)
{
    SignalPdu s{};
    s.header = Header(DisPduType::Signal, kSignalPduSize + dataBytes);
    s.entityId = {radio.site, radio.application, radio.entity};
    s.radioId = radio.radio;
    s.encodingScheme = 1;   // 8-bit mu-law
    s.sampleRate = 8000;
    s.dataLength = static_cast<std::uint16_t>(dataBytes * 8u);
    s.samples = samples;
    return s;
}

std::vector<std::uint8_t> Encode(const TransmitterPdu& record, const std::vector<std::uint8_t>& trailing)
{
    return EncodeWith(record, HostToNetTransmitterPdu, trailing);
}

std::vector<std::uint8_t> Encode(const SignalPdu& record, const std::vector<std::uint8_t>& trailing)
{
    return EncodeWith(record, HostToNetSignalPdu, trailing);
}

std::vector<std::uint8_t> TransmitterDatagram(const DisRadioId& radio, std::uint8_t modulationParameters)
{
    return Encode(TransmitterRecord(radio, modulationParameters), Pattern(modulationParameters));
}

std::vector<std::uint8_t> SignalDatagram(const DisRadioId& radio, std::uint16_t samples, std::uint16_t dataBytes)
{
    return Encode(SignalRecord(radio, samples, dataBytes), Pattern(dataBytes));
}

std::vector<std::uint8_t> OtherDatagram(std::uint8_t pduType, std::size_t length)
{
    std::vector<std::uint8_t> datagram(length);
    const PduHeader header = Header(pduType, length);
    if (length >= 4) {
        datagram[0] = header.protocolVersion;
        datagram[1] = header.exerciseId;
        datagram[2] = header.pduType;
        datagram[3] = header.protocolFamily;
    }
    return datagram;
}

}   // namespace DisTraffic
