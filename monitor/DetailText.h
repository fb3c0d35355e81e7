// The field formats of the detail windows and the pieces both kinds of
// window share: the signal data lines and the hex dump.
#pragma once

#include "DetailPage.h"
#include "engine/CDetailDoc.h"
#include "engine/DisPdu.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace DetailText {

// "%d" and "%u".
std::string Signed(std::int32_t value);
std::string Unsigned(std::uint32_t value);
// "%10.2f" of the value in single precision, leading blanks removed:
// 1234567.891 shows as "1234567.88".
std::string Float(double value);
// Each byte as "%d" followed by two blanks.
std::string DecimalBytes(std::span<const std::uint8_t> bytes);
// Each byte as "%02X" followed by one blank.
std::string HexBytes(std::span<const std::uint8_t> bytes);

// The data bytes a signal announces (data length / 8), bounded by the bytes
// actually held.
std::span<const std::uint8_t> AnnouncedData(const SignalPdu& header, std::span<const std::uint8_t> data);

// Whether a signal has data to show: the signal part of a window is drawn
// only then (a signal without data bytes leaves the window as it was).
bool HasSignalData(const std::optional<SignalPdu>& header, std::span<const std::uint8_t> data);

// The bytes of a signal the grids show: the first 16 on a line labelled
// "Data", the next 16 on a line below; no more.
inline constexpr std::size_t kShownSignalBytes = 32;
std::vector<PageLine> SignalDataLines(std::span<const std::uint8_t> data);

// Gives data without a signal to show a signal whose every field is at its
// widest, with as many bytes as the grids show, so that a page built from it
// is as large as the page once a signal came.
void ReserveSignalRoom(DetailDocData& data);

// A dump line per 16 bytes: the offset as "%04X", the bytes as "%02X ".
inline constexpr std::size_t kDumpBytesPerLine = 16;
std::vector<PageLine> HexDumpLines(std::span<const std::uint8_t> bytes);

// A labelled grid line; the right pair may be empty.
PageLine Row(std::string leftLabel, std::string leftValue, std::string rightLabel = {}, std::string rightValue = {});

}   // namespace DetailText
