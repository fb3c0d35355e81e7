#include "DecimalText.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; }

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}   // namespace

bool ReadDecimalAt(const QString& text, qsizetype& at, std::int32_t& value)
{
    constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();

    qsizetype i = at;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i]))
        return false;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > kHighest + 1)
            magnitude = kHighest + 1;   // saturated; the digits that follow change nothing
    }
    // -(2^31) is the one magnitude beyond the highest that still fits.
    value = static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, kHighest));
    at = i;
    return true;
}

std::int32_t ReadDecimal(const QString& text)
{
    qsizetype at = 0;
    std::int32_t value = 0;
    return ReadDecimalAt(text, at, value) ? value : 0;
}
