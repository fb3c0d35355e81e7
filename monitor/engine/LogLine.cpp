#include "engine/LogLine.h"

#include <algorithm>
#include <charconv>

namespace {

template <typename Integer>
void AppendDecimal(std::string& out, Integer value)
{
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

}   // namespace

LogLine& LogLine::operator<<(Unsigned number)
{
    AppendDecimal(m_out, number.value);
    return *this;
}

LogLine& LogLine::operator<<(Signed number)
{
    AppendDecimal(m_out, number.value);
    return *this;
}

LogLine& LogLine::operator<<(Fixed number)
{
    // Room for the 309 digits of the largest double before the point, and the precision's after it.
    char digits[340];
    int precision = std::clamp(number.precision, 0, kMaxPrecision);
    char* end = std::to_chars(digits, digits + sizeof digits, number.value, std::chars_format::fixed, precision).ptr;
    auto length = static_cast<int>(end - digits);
    if (length < number.width)
        m_out.append(static_cast<std::size_t>(number.width - length), ' ');
    m_out.append(digits, end);
    return *this;
}

LogLine& LogLine::operator<<(Hex2 byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    m_out += kHex[byte.value >> 4];
    m_out += kHex[byte.value & 0x0F];
    return *this;
}
