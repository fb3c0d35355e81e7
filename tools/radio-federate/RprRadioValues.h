// The values of one simulated radio transmitter and their RPR FOM 1.0
// encoding: each of the 21 RadioTransmitter attributes as the bytes an update
// carries (big-endian numbers, IEEE floats and doubles, texts without a
// terminating zero), and the encoded audio signal the radio sends.
#pragma once

#include "engine/RprRadioAttribute.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct RprRadio {
    std::uint16_t site = 1, application = 1, entity = 1;
    std::uint16_t radioIndex = 1;
    std::string hostObject = "radio-federate";
    std::array<float, 3> relativePosition{0.0f, 0.0f, 1.5f};
    std::uint16_t antennaPattern = 0;
    std::uint32_t cryptoMode = 0;
    std::uint16_t cryptoSystem = 0, cryptoKey = 0;
    std::uint64_t frequencyHz = 225'000'000;
    float bandwidthHz = 25'000.0f;
    bool frequencyHop = false, pseudoNoise = false, timeHop = false;
    std::vector<std::uint8_t> modulationParameters{0x00, 0x01, 0x02, 0x03};
    std::uint8_t inputSource = 1;
    // Entity kind, domain, country, category, nomenclature version, nomenclature.
    std::uint8_t kind = 7, domain = 1;
    std::uint16_t country = 225;
    std::uint8_t category = 1, nomenclatureVersion = 1;
    std::uint16_t nomenclature = 1;
    std::uint16_t modulationSystem = 1;
    std::uint16_t majorModulation = 1, detailModulation = 2;
    float powerDbm = 40.0f;
    std::uint8_t operationalStatus = 2;   // on and transmitting
    std::array<double, 3> worldLocation{3'900'000.0, 300'000.0, 5'000'000.0};

    // The radio's i-th of n: its own entity, index and frequency.
    static RprRadio Numbered(std::uint16_t number);
};

// The value of one of the 21 attributes (bit 0 to 20 of the mask).
std::vector<std::uint8_t> EncodeRprAttribute(const RprRadio& radio, RprRadioAttribute attribute);

// One encoded audio signal: 8-bit mu-law samples at a sample rate.
struct RprSignal {
    std::uint32_t encodingType = 1;   // encoded audio, 8-bit mu-law
    std::uint32_t sampleRate = 8000;
    std::uint16_t samples = 480;
    std::vector<std::uint8_t> data;   // one byte a sample

    // `samples` bytes of a tone that moves on with `sequence`.
    static RprSignal Tone(std::uint32_t sequence, std::uint16_t samples = 480, std::uint32_t sampleRate = 8000);
    std::uint16_t DataLengthBits() const { return static_cast<std::uint16_t>(data.size() * 8); }
};
