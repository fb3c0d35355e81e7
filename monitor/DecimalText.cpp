#include "DecimalText.h"

#include <limits>

std::int32_t ReadDecimal(const QString& text)
{
    constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();

    qsizetype at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t' || text[at] == u'\n' || text[at] == u'\r' ||
                                text[at] == u'\v' || text[at] == u'\f'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        magnitude = magnitude * 10 + (text[at].unicode() - u'0');
        if (magnitude > kHighest + 1)
            magnitude = kHighest + 1;   // saturated; the digits that follow change nothing
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kHighest)
        return static_cast<std::int32_t>(kHighest);
    if (value < kLowest)
        return static_cast<std::int32_t>(kLowest);
    return static_cast<std::int32_t>(value);
}
