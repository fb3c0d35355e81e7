// What the transmitter tree's sibling order reads from an item's text, read
// once when the item gets its text: the four numbers of a radio
// ("site/application/entity/radio"), the four octets of a dotted IPv4
// address, and the number of a "Site %d", "App %d" or "Entity %d" group.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

struct TreeSortKey {
    enum class Group { None, Site, App, Entity };

    QString text;
    int radioFields = 0;   // how many of "%d/%d/%d/%d" the text reads (0 to 4)
    std::array<std::int64_t, 4> radio{};
    int octetFields = 0;   // how many of "%d.%d.%d.%d" the text reads
    std::array<std::int64_t, 4> octets{};
    Group group = Group::None;
    std::int64_t groupNumber = 0;

    static TreeSortKey Parse(const QString& text);
};

namespace TreeOrder {

// -1, 0 or 1 by the first `count` numbers of each, in order.
int CompareFields(const std::array<std::int64_t, 4>& a, const std::array<std::int64_t, 4>& b, int count = 4);

// The order of texts the tree's own forms leave open (HLA hosts and
// objects): digit runs compare by their value, everything else by
// character, so "Radio 9" comes before "Radio 10". 0 only for equal texts.
int NaturalCompare(const QString& a, const QString& b);

// Reads the integers of a scanf-style pattern whose only conversion is %d
// (whitespace in the pattern matches any whitespace, other characters
// themselves); returns how many were read before the text stopped matching.
// Numbers saturate instead of overflowing.
int ScanIntegers(const QString& text, const char* pattern, std::int64_t* values, int maxValues);

}   // namespace TreeOrder
