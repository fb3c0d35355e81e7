#include "TreeSortKey.h"

#include "DecimalText.h"

namespace TreeOrder {

namespace {

bool IsSpace(QChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(QChar c) { return c >= '0' && c <= '9'; }

}   // namespace

int ScanIntegers(const QString& text, const char* pattern, std::int64_t* values, int maxValues)
{
    int read = 0;
    qsizetype at = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            std::int32_t value = 0;
            if (read == maxValues || !ReadDecimalAt(text, at, value))
                return read;
            values[read++] = value;
            ++p;
        } else if (IsSpace(QChar(*p))) {
            while (at < text.size() && IsSpace(text[at]))
                ++at;
        } else {
            if (at >= text.size() || text[at] != QChar(*p))
                return read;
            ++at;
        }
    }
    return read;
}

int CompareFields(const std::array<std::int64_t, 4>& a, const std::array<std::int64_t, 4>& b, int count)
{
    for (int i = 0; i < count; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

int NaturalCompare(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the digit runs by value: skip leading zeros, then the
            // longer run is larger, else the first differing digit decides.
            qsizetype ai = i, bj = j;
            while (ai < a.size() && a[ai] == '0')
                ++ai;
            while (bj < b.size() && b[bj] == '0')
                ++bj;
            qsizetype aEnd = ai, bEnd = bj;
            while (aEnd < a.size() && IsDigit(a[aEnd]))
                ++aEnd;
            while (bEnd < b.size() && IsDigit(b[bEnd]))
                ++bEnd;
            if (aEnd - ai != bEnd - bj)
                return aEnd - ai < bEnd - bj ? -1 : 1;
            for (; ai < aEnd; ++ai, ++bj) {
                if (a[ai] != b[bj])
                    return a[ai] < b[bj] ? -1 : 1;
            }
            i = aEnd;
            j = bEnd;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal but for leading zeros: keep a strict order all the same.
    return a == b ? 0 : (a < b ? -1 : 1);
}

}   // namespace TreeOrder

TreeSortKey TreeSortKey::Parse(const QString& text)
{
    TreeSortKey key;
    key.text = text;
    key.radioFields = TreeOrder::ScanIntegers(text, "%d/%d/%d/%d", key.radio.data(), 4);
    key.octetFields = TreeOrder::ScanIntegers(text, "%d.%d.%d.%d", key.octets.data(), 4);
    struct GroupForm {
        const char* pattern;
        Group group;
    };
    static constexpr GroupForm kGroups[] = {
        {"Entity %d", Group::Entity}, {"App %d", Group::App}, {"Site %d", Group::Site}};
    for (const GroupForm& form : kGroups) {
        if (TreeOrder::ScanIntegers(text, form.pattern, &key.groupNumber, 1) == 1) {
            key.group = form.group;
            break;
        }
    }
    return key;
}
