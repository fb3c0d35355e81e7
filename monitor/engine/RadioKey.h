// How a radio is named across the monitor: a DIS radio by its site,
// application, entity and radio identifier, an HLA radio by its object
// instance handle. Messages that cross threads carry these values, never a
// pointer to a record, because records may be removed before the message is
// handled.
#pragma once

#include "engine/DisPdu.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The receiver-update kind: 0 for a DIS radio, 1 for an HLA radio.
enum class RadioKind : std::uint32_t {
    Dis = 0,
    Hla = 1,
};

// The object handle of a record that is not an HLA radio.
inline constexpr std::uint32_t kNoObjectHandle = 0xFFFFFFFFu;

struct DisRadioId {
    std::uint16_t site = 0;
    std::uint16_t application = 0;
    std::uint16_t entity = 0;
    std::uint16_t radio = 0;

    static DisRadioId Of(const TransmitterPdu& pdu);
    static DisRadioId Of(const SignalPdu& pdu);

    // The four numbers in one integer, for hashing and ordering.
    std::uint64_t Packed() const;

    // The key text "site/application/entity/radio" in unsigned decimals, as
    // the tree shows it and the detail documents carry it.
    std::string KeyText() const;

    // Reads a key text; only the exact form KeyText() writes is accepted, so
    // that two texts name the same radio exactly when they are equal.
    static std::optional<DisRadioId> FromKeyText(std::string_view text);

    bool operator==(const DisRadioId&) const = default;
};

// A radio as named in a receiver update.
struct RadioRef {
    RadioKind kind = RadioKind::Dis;
    DisRadioId dis{};                               // for a DIS radio
    std::uint32_t objectHandle = kNoObjectHandle;   // for an HLA radio

    static RadioRef Dis(const DisRadioId& id) { return {RadioKind::Dis, id, kNoObjectHandle}; }
    static RadioRef Hla(std::uint32_t handle) { return {RadioKind::Hla, {}, handle}; }

    bool operator==(const RadioRef&) const = default;
};
