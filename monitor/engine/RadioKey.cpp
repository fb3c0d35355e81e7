#include "engine/RadioKey.h"

#include <charconv>
#include <cstdio>

DisRadioId DisRadioId::Of(const TransmitterPdu& pdu)
{
    return {pdu.entityId.site, pdu.entityId.application, pdu.entityId.entity, pdu.radioId};
}

DisRadioId DisRadioId::Of(const SignalPdu& pdu)
{
    return {pdu.entityId.site, pdu.entityId.application, pdu.entityId.entity, pdu.radioId};
}

std::uint64_t DisRadioId::Packed() const
{
    return (std::uint64_t{site} << 48) | (std::uint64_t{application} << 32) | (std::uint64_t{entity} << 16) | radio;
}

std::string DisRadioId::KeyText() const
{
    char text[24];
    int n =
        std::snprintf(text, sizeof text, "%u/%u/%u/%u", static_cast<unsigned>(site), static_cast<unsigned>(application),
                      static_cast<unsigned>(entity), static_cast<unsigned>(radio));
    return std::string(text, static_cast<std::size_t>(n));
}

std::optional<DisRadioId> DisRadioId::FromKeyText(std::string_view text)
{
    std::uint16_t parts[4];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at == end || *at != '/')
                return std::nullopt;
            ++at;
        }
        auto [next, error] = std::from_chars(at, end, parts[i]);
        if (error != std::errc{})
            return std::nullopt;
        at = next;
    }
    if (at != end)
        return std::nullopt;
    DisRadioId id{parts[0], parts[1], parts[2], parts[3]};
    // Leading zeros or signs would name the same numbers with another text.
    if (id.KeyText() != text)
        return std::nullopt;
    return id;
}
