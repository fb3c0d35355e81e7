// DIS Transmitter (type 25) and Signal (type 26) PDU records.
//
// The records keep the wire offsets and widths of the PDUs' fixed parts; only
// the byte order changes on conversion. They are written to the binary log
// as they stand, so their layout is checked at compile time below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace DisPduType {
inline constexpr std::uint8_t Transmitter = 25;
inline constexpr std::uint8_t Signal = 26;
}   // namespace DisPduType

struct PduHeader {
    std::uint8_t protocolVersion;
    std::uint8_t exerciseId;
    std::uint8_t pduType;
    std::uint8_t protocolFamily;
    std::uint32_t timestamp;
    std::uint16_t length;   // PDU length in bytes
    std::uint16_t padding;
};

struct EntityId {
    std::uint16_t site;
    std::uint16_t application;
    std::uint16_t entity;
};

struct RadioEntityType {
    std::uint8_t kind;
    std::uint8_t domain;
    std::uint16_t country;
    std::uint8_t category;
    std::uint8_t nomenclatureVersion;
    std::uint16_t nomenclature;
};

// Bits of ModulationType::spreadSpectrum.
namespace SpreadSpectrum {
inline constexpr std::uint16_t FrequencyHopping = 1u << 0;
inline constexpr std::uint16_t PseudoNoise = 1u << 1;
inline constexpr std::uint16_t TimeHopping = 1u << 2;
}   // namespace SpreadSpectrum

struct ModulationType {
    std::uint16_t spreadSpectrum;
    std::uint16_t majorModulation;
    std::uint16_t detailModulation;
    std::uint16_t system;
};

// The 104-byte fixed part of a Transmitter PDU. In a buffer it is followed by
// modulationParameterLength bytes of modulation parameters (and possibly by
// antenna-pattern bytes that nobody interprets).
struct TransmitterPdu {
    PduHeader header;
    EntityId entityId;
    std::uint16_t radioId;
    RadioEntityType radioEntityType;
    std::uint8_t transmitState;   // 2 = on and transmitting
    std::uint8_t inputSource;
    std::uint16_t padding1;
    double antennaLocation[3];          // world coordinates X, Y, Z
    float relativeAntennaLocation[3];   // x, y, z
    std::uint16_t antennaPatternType;
    std::uint16_t antennaPatternLength;
    // The 64-bit frequency in hertz stays two halves, high half first, each in
    // host order; the log and the detail views show the low half alone.
    std::uint32_t frequencyHigh;
    std::uint32_t frequencyLow;
    float transmitFrequencyBandwidth;
    float power;
    ModulationType modulationType;
    std::uint16_t cryptoSystem;
    std::uint16_t cryptoKeyId;
    std::uint8_t modulationParameterLength;
    std::uint8_t padding2[3];   // a u16 and a u8 on the wire, copied unchanged
};

inline constexpr std::uint8_t TransmitStateOnAndTransmitting = 2;

// The 32-byte fixed part of a Signal PDU, followed in a buffer by
// dataLength / 8 bytes of signal data.
struct SignalPdu {
    PduHeader header;
    EntityId entityId;
    std::uint16_t radioId;
    std::uint16_t encodingScheme;
    std::uint16_t tdlType;
    std::uint32_t sampleRate;
    std::uint16_t dataLength;   // in bits
    std::uint16_t samples;
};

inline constexpr std::size_t kPduHeaderSize = 12;
inline constexpr std::size_t kTransmitterPduSize = 104;
inline constexpr std::size_t kSignalPduSize = 32;

static_assert(sizeof(PduHeader) == kPduHeaderSize);
static_assert(sizeof(EntityId) == 6);
static_assert(sizeof(RadioEntityType) == 8);
static_assert(sizeof(ModulationType) == 8);
static_assert(sizeof(TransmitterPdu) == kTransmitterPduSize);
static_assert(sizeof(SignalPdu) == kSignalPduSize);
static_assert(offsetof(TransmitterPdu, entityId) == 12);
static_assert(offsetof(TransmitterPdu, radioId) == 18);
static_assert(offsetof(TransmitterPdu, radioEntityType) == 20);
static_assert(offsetof(TransmitterPdu, transmitState) == 28);
static_assert(offsetof(TransmitterPdu, antennaLocation) == 32);
static_assert(offsetof(TransmitterPdu, relativeAntennaLocation) == 56);
static_assert(offsetof(TransmitterPdu, antennaPatternType) == 68);
static_assert(offsetof(TransmitterPdu, frequencyHigh) == 72);
static_assert(offsetof(TransmitterPdu, frequencyLow) == 76);
static_assert(offsetof(TransmitterPdu, transmitFrequencyBandwidth) == 80);
static_assert(offsetof(TransmitterPdu, power) == 84);
static_assert(offsetof(TransmitterPdu, modulationType) == 88);
static_assert(offsetof(TransmitterPdu, cryptoSystem) == 96);
static_assert(offsetof(TransmitterPdu, modulationParameterLength) == 100);
static_assert(offsetof(SignalPdu, entityId) == 12);
static_assert(offsetof(SignalPdu, encodingScheme) == 20);
static_assert(offsetof(SignalPdu, sampleRate) == 24);
static_assert(offsetof(SignalPdu, dataLength) == 28);
static_assert(offsetof(SignalPdu, samples) == 30);

// Number of signal data bytes behind the fixed part: the bit count / 8, rounded down.
inline std::size_t SignalDataBytes(const SignalPdu& signal) { return signal.dataLength / 8u; }

enum class PduConversion {
    Ok,
    TooShort,   // the datagram cannot hold the fixed part or what its lengths announce
};

// Convert the fixed part of a received datagram of `length` bytes from network
// order into `destination`. The bytes behind the fixed part (modulation
// parameters, signal data) are not part of the record and stay where they
// are. A datagram that is too short for the fixed part, or whose
// modulation-parameter length / signal data length runs past its end, is
// refused with TooShort; nothing is read beyond `length` and `destination`
// is left untouched.
PduConversion NetToHostTransmitterPdu(const std::uint8_t* source, std::size_t length, TransmitterPdu& destination);
PduConversion NetToHostSignalPdu(const std::uint8_t* source, std::size_t length, SignalPdu& destination);

// The reverse: write the 104 or 32 bytes of the fixed part in network order.
// Used to build PDUs for sending (tools, tests).
void HostToNetTransmitterPdu(const TransmitterPdu& source, std::uint8_t* destination);
void HostToNetSignalPdu(const SignalPdu& source, std::uint8_t* destination);

// An IEEE 754 value whose bits were loaded from network-order memory.
float NetToHostFloat(std::uint32_t bits);
double NetToHostDouble(std::uint64_t bits);
