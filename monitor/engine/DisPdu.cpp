#include "engine/DisPdu.h"

#include "util/DtBigEndian.h"

#include <cstring>

namespace {

// Walks the fields of a record in wire order. The same walk serves both
// directions, so reading and writing cannot disagree on the layout.
template <typename Record, typename Visitor>
void VisitHeader(Record& h, Visitor& v)
{
    v(h.protocolVersion);
    v(h.exerciseId);
    v(h.pduType);
    v(h.protocolFamily);
    v(h.timestamp);
    v(h.length);
    v(h.padding);
}

template <typename Record, typename Visitor>
void VisitTransmitter(Record& t, Visitor& v)
{
    VisitHeader(t.header, v);
    v(t.entityId.site);
    v(t.entityId.application);
    v(t.entityId.entity);
    v(t.radioId);
    v(t.radioEntityType.kind);
    v(t.radioEntityType.domain);
    v(t.radioEntityType.country);
    v(t.radioEntityType.category);
    v(t.radioEntityType.nomenclatureVersion);
    v(t.radioEntityType.nomenclature);
    v(t.transmitState);
    v(t.inputSource);
    v(t.padding1);
    for (auto& c : t.antennaLocation)
        v(c);
    for (auto& c : t.relativeAntennaLocation)
        v(c);
    v(t.antennaPatternType);
    v(t.antennaPatternLength);
    v(t.frequencyHigh);
    v(t.frequencyLow);
    v(t.transmitFrequencyBandwidth);
    v(t.power);
    v(t.modulationType.spreadSpectrum);
    v(t.modulationType.majorModulation);
    v(t.modulationType.detailModulation);
    v(t.modulationType.system);
    v(t.cryptoSystem);
    v(t.cryptoKeyId);
    v(t.modulationParameterLength);
    for (auto& b : t.padding2)
        v(b);
}

template <typename Record, typename Visitor>
void VisitSignal(Record& s, Visitor& v)
{
    VisitHeader(s.header, v);
    v(s.entityId.site);
    v(s.entityId.application);
    v(s.entityId.entity);
    v(s.radioId);
    v(s.encodingScheme);
    v(s.tdlType);
    v(s.sampleRate);
    v(s.dataLength);
    v(s.samples);
}

// Reads big-endian fields from a buffer whose length was checked beforehand.
struct BigEndianReader {
    const std::uint8_t* at;
    template <typename T>
    void operator()(T& field)
    {
        field = DtGetBigEndian<T>(at);
        at += sizeof(T);
    }
};

struct BigEndianWriter {
    std::uint8_t* at;
    template <typename T>
    void operator()(const T& field)
    {
        DtPutBigEndian(field, at);
        at += sizeof(T);
    }
};

}   // namespace

PduConversion NetToHostTransmitterPdu(const std::uint8_t* source, std::size_t length, TransmitterPdu& destination)
{
    if (length < kTransmitterPduSize)
        return PduConversion::TooShort;
    TransmitterPdu record{};
    BigEndianReader reader{source};
    VisitTransmitter(record, reader);
    if (kTransmitterPduSize + record.modulationParameterLength > length)
        return PduConversion::TooShort;
    destination = record;
    return PduConversion::Ok;
}

PduConversion NetToHostSignalPdu(const std::uint8_t* source, std::size_t length, SignalPdu& destination)
{
    if (length < kSignalPduSize)
        return PduConversion::TooShort;
    SignalPdu record{};
    BigEndianReader reader{source};
    VisitSignal(record, reader);
    if (kSignalPduSize + SignalDataBytes(record) > length)
        return PduConversion::TooShort;
    destination = record;
    return PduConversion::Ok;
}

void HostToNetTransmitterPdu(const TransmitterPdu& source, std::uint8_t* destination)
{
    BigEndianWriter writer{destination};
    VisitTransmitter(source, writer);
}

void HostToNetSignalPdu(const SignalPdu& source, std::uint8_t* destination)
{
    BigEndianWriter writer{destination};
    VisitSignal(source, writer);
}

float NetToHostFloat(std::uint32_t bits)
{
    // The bits as they lay in the buffer, read as the buffer's bytes.
    std::uint8_t bytes[sizeof bits];
    std::memcpy(bytes, &bits, sizeof bits);
    return DtGetBigEndian<float>(bytes);
}

double NetToHostDouble(std::uint64_t bits)
{
    std::uint8_t bytes[sizeof bits];
    std::memcpy(bytes, &bits, sizeof bits);
    return DtGetBigEndian<double>(bytes);
}
