#include "DetailText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>

namespace DetailText {

std::string Signed(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string Unsigned(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u", value);
    return text;
}

std::string Float(double value)
{
    // A float holds at most 39 integer digits; the buffer takes every value,
    // infinities and NaN included.
    char text[64];
    std::snprintf(text, sizeof text, "%10.2f", static_cast<double>(static_cast<float>(value)));
    std::string result(text);
    result.erase(0, result.find_first_not_of(' '));
    return result;
}

std::string DecimalBytes(std::span<const std::uint8_t> bytes)
{
    std::string result;
    result.reserve(bytes.size() * 5);
    for (std::uint8_t byte : bytes) {
        result += Signed(byte);
        result += "  ";
    }
    return result;
}

std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    std::string result;
    result.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X ", static_cast<unsigned>(byte));
        result += text;
    }
    return result;
}

std::span<const std::uint8_t> AnnouncedData(const SignalPdu& header, std::span<const std::uint8_t> data)
{
    return data.first(std::min(data.size(), SignalDataBytes(header)));
}

bool HasSignalData(const std::optional<SignalPdu>& header, std::span<const std::uint8_t> data)
{
    return header && !AnnouncedData(*header, data).empty();
}

void ReserveSignalRoom(DetailDocData& data)
{
    if (HasSignalData(data.signal, data.signalData))
        return;
    // Every field at its widest: all bits set, so every number has all its
    // digits; data bytes of the hex digit that is widest in the usual fonts.
    std::array<std::uint8_t, sizeof(SignalPdu)> ones;
    ones.fill(0xFF);
    data.signal = std::bit_cast<SignalPdu>(ones);
    data.signalData.assign(kShownSignalBytes, 0xDD);
}

std::vector<PageLine> SignalDataLines(std::span<const std::uint8_t> data)
{
    const auto shown = data.first(std::min(data.size(), kShownSignalBytes));
    const std::size_t half = kShownSignalBytes / 2;
    std::vector<PageLine> lines;
    lines.push_back(Row("Data", HexBytes(shown.first(std::min(shown.size(), half)))));
    if (shown.size() > half)
        lines.push_back(Row({}, HexBytes(shown.subspan(half))));
    return lines;
}

std::vector<PageLine> HexDumpLines(std::span<const std::uint8_t> bytes)
{
    std::vector<PageLine> lines;
    lines.reserve((bytes.size() + kDumpBytesPerLine - 1) / kDumpBytesPerLine);
    for (std::size_t offset = 0; offset < bytes.size(); offset += kDumpBytesPerLine) {
        char label[16];
        std::snprintf(label, sizeof label, "%04X", static_cast<unsigned>(offset));
        PageLine line;
        line.cells[PageCell::Offset] = label;
        line.cells[PageCell::Bytes] =
            HexBytes(bytes.subspan(offset, std::min(kDumpBytesPerLine, bytes.size() - offset)));
        lines.push_back(std::move(line));
    }
    return lines;
}

PageLine Row(std::string leftLabel, std::string leftValue, std::string rightLabel, std::string rightValue)
{
    return PageLine{{std::move(leftLabel), std::move(leftValue), std::move(rightLabel), std::move(rightValue)}};
}

}   // namespace DetailText
