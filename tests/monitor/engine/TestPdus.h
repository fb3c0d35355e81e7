// Host-order PDU buffers as the intake hands them to the handlers, each on
// the heap with exactly its own size, so that AddressSanitizer catches a read
// behind its end.
#pragma once

#include "engine/DisPdu.h"
#include "engine/IPduHandler.h"
#include "engine/RadioKey.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace testpdu {

struct Buffer {
    explicit Buffer(const std::vector<std::uint8_t>& bytes)
        : size(bytes.size()), data(new std::uint8_t[bytes.size() ? bytes.size() : 1])
    {
        if (size)
            std::memcpy(data.get(), bytes.data(), size);
    }
    std::size_t size;
    std::unique_ptr<std::uint8_t[]> data;
};

inline TransmitterPdu Transmitter(const DisRadioId& id = {1, 3001, 17, 2})
{
    TransmitterPdu t{};
    t.header = {6, 1, DisPduType::Transmitter, 4, 123456789u, 104, 0};
    t.entityId = {id.site, id.application, id.entity};
    t.radioId = id.radio;
    t.radioEntityType = {7, 2, 225, 3, 1, 4660};
    t.transmitState = TransmitStateOnAndTransmitting;
    t.inputSource = 1;
    t.antennaLocation[0] = 1234567.891;
    t.antennaLocation[1] = -4.5;
    t.antennaLocation[2] = 0.04;
    t.relativeAntennaLocation[0] = 25.5f;
    t.relativeAntennaLocation[1] = -1.3f;
    t.relativeAntennaLocation[2] = 0.0f;
    t.antennaPatternType = 1;
    t.frequencyHigh = 1;
    t.frequencyLow = 16;
    t.transmitFrequencyBandwidth = 25000.0f;
    t.power = 40.5f;
    t.modulationType = {5, 2, 3, 4};
    t.cryptoSystem = 5;
    t.cryptoKeyId = 32769;
    return t;
}

// The record with its modulation parameters behind it; the length byte
// follows the parameters unless `announced` says otherwise.
inline std::vector<std::uint8_t> Bytes(TransmitterPdu t, const std::vector<std::uint8_t>& parameters,
                                       int announced = -1)
{
    t.modulationParameterLength = static_cast<std::uint8_t>(announced < 0 ? parameters.size() : announced);
    t.header.length = static_cast<std::uint16_t>(kTransmitterPduSize + parameters.size());
    std::vector<std::uint8_t> bytes(kTransmitterPduSize + parameters.size());
    StoreRecord(t, bytes.data());
    if (!parameters.empty())
        std::memcpy(bytes.data() + kTransmitterPduSize, parameters.data(), parameters.size());
    return bytes;
}

inline SignalPdu Signal(const DisRadioId& id = {1, 3001, 17, 2}, std::uint32_t sampleRate = 8000,
                        std::uint16_t samples = 480)
{
    SignalPdu s{};
    s.header = {6, 1, DisPduType::Signal, 4, 1000u, 32, 0};
    s.entityId = {id.site, id.application, id.entity};
    s.radioId = id.radio;
    s.encodingScheme = 4;
    s.tdlType = 0;
    s.sampleRate = sampleRate;
    s.samples = samples;
    return s;
}

// Data bytes 0, 1, 2, ... (mod 256).
inline std::vector<std::uint8_t> Counting(std::size_t count)
{
    std::vector<std::uint8_t> data(count);
    for (std::size_t i = 0; i < count; ++i)
        data[i] = static_cast<std::uint8_t>(i);
    return data;
}

// The header with its data behind it; the data length in bits follows the
// data unless `bits` says otherwise.
inline std::vector<std::uint8_t> Bytes(SignalPdu s, const std::vector<std::uint8_t>& data, int bits = -1)
{
    s.dataLength = static_cast<std::uint16_t>(bits < 0 ? data.size() * 8 : bits);
    s.header.length = static_cast<std::uint16_t>(kSignalPduSize + data.size());
    std::vector<std::uint8_t> bytes(kSignalPduSize + data.size());
    StoreRecord(s, bytes.data());
    if (!data.empty())
        std::memcpy(bytes.data() + kSignalPduSize, data.data(), data.size());
    return bytes;
}

}   // namespace testpdu
