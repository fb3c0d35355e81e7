// What a detail window shows, as text: the lines of a labelled field grid or
// of a hex dump. Built from a snapshot of a detail document by pure functions
// (DisDetailText, HlaDetailText), so what a window shows can be checked
// without pixels; CDetailPainter lays the lines out for a screen or a printer.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

enum class PageStyle {
    Grid,   // label, value, label, value: labels plain, values bold
    Dump,   // offset (bold), bytes (plain) in a fixed-pitch font
};

// One line of a page. Grid lines use all four cells; dump lines the first
// two. An empty cell draws nothing; a line of empty cells is a blank line.
struct PageLine {
    std::array<std::string, 4> cells;

    bool operator==(const PageLine&) const = default;
};

// The cells of a line.
namespace PageCell {
inline constexpr std::size_t LeftLabel = 0;
inline constexpr std::size_t LeftValue = 1;
inline constexpr std::size_t RightLabel = 2;
inline constexpr std::size_t RightValue = 3;
inline constexpr std::size_t Offset = 0;
inline constexpr std::size_t Bytes = 1;
}   // namespace PageCell

struct DetailPage {
    PageStyle style = PageStyle::Grid;
    std::vector<PageLine> lines;

    // Appends a part (the transmitter's, the signal's) below what is there,
    // one blank line apart.
    void AppendPart(std::vector<PageLine> part);
};
