// Every value of Quorlex's profile, spelled once: its section, its name, its
// type, its default and what counts as a sound value. Code reads and writes
// the profile only through these keys and CProfile.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

// An integer value. A stored value outside [min, max] (or not a number) is
// reported and the default is used in its place.
struct IntSetting {
    const char* section;
    const char* name;
    std::int32_t fallback;
    std::int32_t min = std::numeric_limits<std::int32_t>::min();
    std::int32_t max = std::numeric_limits<std::int32_t>::max();
};

// What a text value must look like to be used.
enum class TextRule {
    Any,
    Path,            // a file name; '\' from older profiles becomes '/'
    Ipv4OrEmpty,     // dotted IPv4 address, or empty for "none"
    SignalPortion,   // one of kSignalPortionChoices
};

struct TextSetting {
    const char* section;
    const char* name;
    const char* fallback;
    TextRule rule = TextRule::Any;
};

// An IPv4 address kept as a 32-bit number whose high byte is the first octet.
// Older profiles hold it as a signed int, so negative numbers are read too.
struct AddressSetting {
    const char* section;
    const char* name;
    std::uint32_t fallback;
};

// Opaque bytes (a saved window layout); empty when absent.
struct BytesSetting {
    const char* section;
    const char* name;
};

// The part of each Signal PDU's data that a text log shows, in the order the
// Start Logging dialog lists them.
inline constexpr std::array<const char*, 7> kSignalPortionChoices = {
    "first 5% of", "first quarter of", "first half of", "last half of", "last quarter of", "last 5% of", "entire",
};

namespace Profile {

inline constexpr std::int32_t kMaxPort = 65535;
inline constexpr std::int32_t kMaxU16 = 65535;
// The expiry sweep runs every Timeout x 4 ticks in 32-bit unsigned
// arithmetic; a larger Timeout would wrap that period (even to 0).
inline constexpr std::int32_t kMaxTimeout = std::numeric_limits<std::int32_t>::max() / 4;

namespace Properties {
inline constexpr IntSetting TreeType{"Properties", "TreeType", 0, 0, 1};   // 0 by IP, 1 by DIS entity
inline constexpr IntSetting DISEnabled{"Properties", "DISEnabled", 1};
inline constexpr IntSetting HLAEnabled{"Properties", "HLAEnabled", 0};
inline constexpr IntSetting NetworkPort{"Properties", "NetworkPort", 3000, 1, kMaxPort};
inline constexpr IntSetting UseMulticast{"Properties", "UseMulticast", 0};
// 239.0.0.1: the address the DIS page shows is also the one the intake uses.
inline constexpr AddressSetting MulticastAdx{"Properties", "MulticastAdx", 0xEF000001u};
// Seconds of silence before a radio leaves the tree; 0 = never.
inline constexpr IntSetting Timeout{"Properties", "Timeout", 10, 0, kMaxTimeout};
inline constexpr TextSetting HLAFederation{"Properties", "HLAFederation", "DefaultFed"};
inline constexpr TextSetting HLAFOMVersion{"Properties", "HLAFOMVersion", "RPR FOM 1.0"};
// Quick-view lines of the transmitter tree.
inline constexpr IntSetting ShowFreq{"Properties", "ShowFreq", 1};
inline constexpr IntSetting ShowXmits{"Properties", "ShowXmits", 1};
inline constexpr IntSetting ShowSigs{"Properties", "ShowSigs", 0};
inline constexpr IntSetting ShowWorldPosn{"Properties", "ShowWorldPosn", 0};
inline constexpr IntSetting ShowXmitState{"Properties", "ShowXmitState", 0};
inline constexpr IntSetting ShowCrypto{"Properties", "ShowCrypto", 0};
inline constexpr IntSetting ShowModulation{"Properties", "ShowModulation", 0};
inline constexpr IntSetting ShowPower{"Properties", "ShowPower", 0};
inline constexpr IntSetting ShowSpreadSpectrum{"Properties", "ShowSpreadSpectrum", 0};
inline constexpr IntSetting ShowSystem{"Properties", "ShowSystem", 0};
}   // namespace Properties

namespace Settings {
// Relative to the program's directory.
inline constexpr TextSetting HelpIndex{"Settings", "HelpIndex", "help/Main.html", TextRule::Path};
}   // namespace Settings

// Read by the DIS intake's socket; no dialog writes them.
namespace Network {
inline constexpr TextSetting BindAdx{"Network", "BindAdx", "", TextRule::Ipv4OrEmpty};
// 4 MiB: a burst of 100,000 PDUs a second fits while a worker catches up
// (64 KiB did not). A value stored by the operator stays.
inline constexpr IntSetting RecvBuf{"Network", "RecvBuf", 4 * 1024 * 1024, 1};
inline constexpr IntSetting QFlush{"Network", "QFlush", 1};
}   // namespace Network

namespace Logging {
inline constexpr TextSetting Filename{"Logging", "Filename", "", TextRule::Path};
inline constexpr IntSetting FileMode{"Logging", "FileMode", 0, 0, 1};   // 0 text, 1 binary
inline constexpr TextSetting SignalPortion{"Logging", "SignalPortion", "first 5% of", TextRule::SignalPortion};
inline constexpr IntSetting FilterByEntity{"Logging", "FilterByEntity", 0};
// DIS identifiers are 16-bit: a larger number could never match a radio.
inline constexpr IntSetting FilterSiteID{"Logging", "FilterSiteID", 0, 0, kMaxU16};
inline constexpr IntSetting FilterAppID{"Logging", "FilterAppID", 0, 0, kMaxU16};
inline constexpr IntSetting FilterEntityID{"Logging", "FilterEntityID", 0, 0, kMaxU16};
inline constexpr IntSetting FilterRadioID{"Logging", "FilterRadioID", 0, 0, kMaxU16};
inline constexpr IntSetting FilterByIP{"Logging", "FilterByIP", 0};
inline constexpr TextSetting FilterIPAddress{"Logging", "FilterIPAddress", "", TextRule::Ipv4OrEmpty};
}   // namespace Logging

// The main window's normal placement.
namespace Frame {
inline constexpr IntSetting Max{"Frame", "Max", 0};
inline constexpr IntSetting x{"Frame", "x", 0};
inline constexpr IntSetting y{"Frame", "y", 0};
inline constexpr IntSetting cx{"Frame", "cx", 0, 0};
inline constexpr IntSetting cy{"Frame", "cy", 0, 0};
}   // namespace Frame

namespace BarState {
// The saved docking layout of the main window's bars.
inline constexpr BytesSetting Layout{"BarState", "Layout"};
// A sizing bar keeps its own sizes in the section "<prefix>-SCBar-<bar id>".
inline constexpr const char* kPrefix = "BarState";
}   // namespace BarState

}   // namespace Profile
