// Builds the text log's lines without printf, which costs more than
// everything else on the logging path. Each piece writes what the printf
// conversion named beside it writes, in the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class LogLine {
public:
    // The pieces a line is made of.
    struct Unsigned {
        std::uint32_t value;
    };   // "%u"
    struct Signed {
        std::int64_t value;
    };   // "%d"
    struct Fixed {
        double value;
        int width;
        int precision;
    };   // "%<width>.<precision>f"
    static constexpr int kMaxPrecision = 20;
    struct Hex2 {
        std::uint8_t value;
    };   // "%02X"

    explicit LogLine(std::string& out) : m_out(out) {}

    LogLine& operator<<(std::string_view text)
    {
        m_out += text;
        return *this;
    }
    LogLine& operator<<(Unsigned number);
    LogLine& operator<<(Signed number);
    LogLine& operator<<(Fixed number);
    LogLine& operator<<(Hex2 byte);

private:
    std::string& m_out;
};
