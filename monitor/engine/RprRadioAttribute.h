// The RPR FOM radio-transmitter attributes the monitor reads, numbered by the
// bit that names each one in an attribute mask. Bits 0 to 20 are the
// attributes of EmbeddedSystem.RadioTransmitter; bits 21 and 22 come from
// Manager.Federate. The HLA manager maps the same bits to attribute handles.
#pragma once

#include <array>
#include <cstdint>

enum class RprRadioAttribute : std::uint32_t {
    EntityIdentifier = 0,
    HostObjectIdentifier,
    RelativePosition,
    AntennaPatternData,
    CryptographicMode,
    CryptoSystem,
    EncryptionKeyIdentifier,
    Frequency,
    FrequencyBandwidth,
    FrequencyHopInUse,
    ModulationParameters,
    PseudoNoiseSpectrumInUse,
    RadioIndex,
    RadioInputSource,
    RadioSystemType,
    RFModulationSystemType,
    RFModulationType,
    TimeHopInUse,
    TransmittedPower,
    TransmitterOperationalStatus,
    WorldLocation,
    FederateHost,
    FederateHandle,
};

inline constexpr std::uint32_t kRprRadioAttributeCount = 23;

constexpr std::uint32_t AttributeBit(RprRadioAttribute attribute)
{
    return 1u << static_cast<std::uint32_t>(attribute);
}

// The 21 attributes of the radio-transmitter class (what a refresh requests).
inline constexpr std::uint32_t kAllRadioTransmitterAttributes = 0x1FFFFFu;

// The attribute names as the FOM spells them (including its own spelling of
// "Psuedo"), in bit order.
inline constexpr std::array<const char*, kRprRadioAttributeCount> kRprRadioAttributeNames = {
    "EntityIdentifier",   "HostObjectIdentifier", "RelativePosition",        "AntennaPatternData",
    "CryptographicMode",  "CryptoSystem",         "EncryptionKeyIdentifier", "Frequency",
    "FrequencyBandwidth", "FrequencyHopInUse",    "ModulationParameters",    "PsuedoNoiseSpectrumInUse",
    "RadioIndex",         "RadioInputSource",     "RadioSystemType",         "RFModulationSystemType",
    "RFModulationType",   "TimeHopInUse",         "TransmittedPower",        "TransmitterOperationalStatus",
    "WorldLocation",      "FederateHost",         "FederateHandle",
};
