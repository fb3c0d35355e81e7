#include "engine/LogLine.h"

#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Printf(const char* format, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// The log's numbers must read exactly as printf writes them.
TEST(LogLine, WritesWhatPrintfWrites)
{
    std::mt19937_64 random(12345);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.05,
                                  0.15,
                                  0.25,
                                  -1.25,
                                  2.5,
                                  1234567.891,
                                  -4.5,
                                  1e-300,
                                  6.02e23,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::lowest(),
                                  std::numeric_limits<double>::denorm_min(),
                                  INFINITY,
                                  -INFINITY};
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::bit_cast<double>(random()));   // any bit pattern, NaNs included
        values.push_back(std::ldexp(static_cast<double>(random() % 2000000) - 1e6, -static_cast<int>(random() % 12)));
        values.push_back(static_cast<float>(std::bit_cast<double>(random())));
    }
    for (double value : values)
        for (auto [width, precision] : {std::pair{10, 1}, std::pair{6, 1}, std::pair{7, 2}}) {
            std::string line;
            LogLine(line) << LogLine::Fixed{value, width, precision};
            ASSERT_EQ(line, Printf("%*.*f", width, precision, value)) << std::bit_cast<std::uint64_t>(value);
        }
    for (std::uint32_t value : {0u, 7u, 65535u, 4294967295u}) {
        std::string line;
        LogLine(line) << LogLine::Unsigned{value} << "," << LogLine::Signed{-static_cast<std::int64_t>(value)};
        EXPECT_EQ(line, Printf("%u,%" PRId64, value, -static_cast<std::int64_t>(value)));
    }
    std::string hex;
    LogLine(hex) << LogLine::Hex2{0x0A} << LogLine::Hex2{0xFF};
    EXPECT_EQ(hex, "0AFF");
}

}   // namespace
