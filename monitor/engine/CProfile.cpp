#include "engine/CProfile.h"

#include "util/DtIpv4Address.h"

#include <QSettings>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

QString KeyPath(const char* section, const char* name)
{
    return QStringLiteral("%1/%2").arg(QLatin1String(section), QLatin1String(name));
}

// The stored text of a value. An INI line with an unquoted comma comes back
// as a list: put it together again so that it is judged as written.
QString StoredText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// A decimal number, or hexadecimal with "0x" (as a registry export shows DWORDs).
std::optional<std::int64_t> ParseInteger(const QString& stored)
{
    const QString text = stored.trimmed();
    bool ok = false;
    std::int64_t number = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = text.mid(2).toLongLong(&ok, 16);
    else
        number = text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return number;
}

QString RangeText(const IntSetting& key)
{
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (key.min == lowest && key.max == highest)
        return QStringLiteral("a whole number");
    if (key.max == highest)
        return QStringLiteral("a whole number of at least %1").arg(key.min);
    return QStringLiteral("a whole number from %1 to %2").arg(key.min).arg(key.max);
}

bool IsSignalPortion(const QString& text)
{
    return std::any_of(kSignalPortionChoices.begin(), kSignalPortionChoices.end(),
                       [&](const char* choice) { return text == QLatin1String(choice); });
}

QString ProblemText(const char* section, const char* name, const QString& stored, const QString& expected,
                    const QString& fallback)
{
    return QStringLiteral("The profile value %1 is \"%2\", which is not %3; %4 is used instead.")
        .arg(KeyPath(section, name), stored, expected, fallback);
}

struct BarSizeKey {
    const char* name;
    std::int32_t BarSizes::*size;
};

// In the order they are stored.
constexpr BarSizeKey kBarSizeKeys[] = {
    {"sizeHorzCX", &BarSizes::horzCx}, {"sizeHorzCY", &BarSizes::horzCy},   {"sizeVertCX", &BarSizes::vertCx},
    {"sizeVertCY", &BarSizes::vertCy}, {"sizeFloatCX", &BarSizes::floatCx}, {"sizeFloatCY", &BarSizes::floatCy},
};

QString BarSection(int barId)
{
    return QStringLiteral("%1-SCBar-%2").arg(QLatin1String(Profile::BarState::kPrefix)).arg(barId);
}

}   // namespace

CProfile::CProfile() : m_settings(std::make_unique<QSettings>(QStringLiteral("Brantel"), QStringLiteral("Quorlex"))) {}

CProfile::CProfile(const QString& iniFile) : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

CProfile::~CProfile() = default;

QVariant CProfile::Value(const char* section, const char* name) const
{
    std::lock_guard guard(m_lock);
    return m_settings->value(KeyPath(section, name));
}

void CProfile::Report(const QString& text) const
{
    ProblemSink sink;
    {
        std::lock_guard guard(m_lock);
        if (!m_sink) {
            m_problems.append(text);
            return;
        }
        sink = m_sink;
    }
    sink(text);
}

std::optional<std::int64_t> CProfile::ReadNumber(const char* section, const char* name, std::int64_t min,
                                                 std::int64_t max, const QString& expected,
                                                 const QString& fallback) const
{
    const QVariant value = Value(section, name);
    if (!value.isValid())
        return std::nullopt;
    const QString stored = StoredText(value);
    const auto number = ParseInteger(stored);
    if (number && *number >= min && *number <= max)
        return number;
    Report(ProblemText(section, name, stored, expected, fallback));
    return std::nullopt;
}

std::int32_t CProfile::Read(const IntSetting& key) const
{
    const auto number =
        ReadNumber(key.section, key.name, key.min, key.max, RangeText(key), QString::number(key.fallback));
    return number ? static_cast<std::int32_t>(*number) : key.fallback;
}

QString CProfile::Read(const TextSetting& key) const
{
    const QVariant value = Value(key.section, key.name);
    if (!value.isValid())
        return QString::fromUtf8(key.fallback);
    QString text = StoredText(value);
    QString expected;
    switch (key.rule) {
    case TextRule::Any:
        return text;
    case TextRule::Path:
        return text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    case TextRule::Ipv4OrEmpty:
        if (text.isEmpty() || ParseDottedAddress(text.toStdString()))
            return text;
        expected = QStringLiteral("a dotted IPv4 address");
        break;
    case TextRule::SignalPortion:
        if (IsSignalPortion(text))
            return text;
        QStringList choices;
        for (const char* choice : kSignalPortionChoices)
            choices.append(QStringLiteral("\"%1\"").arg(QLatin1String(choice)));
        expected = QStringLiteral("one of ") + choices.join(QStringLiteral(", "));
        break;
    }
    Report(ProblemText(key.section, key.name, text, expected,
                       QStringLiteral("\"%1\"").arg(QString::fromUtf8(key.fallback))));
    return QString::fromUtf8(key.fallback);
}

std::uint32_t CProfile::Read(const AddressSetting& key) const
{
    // Both the signed and the unsigned reading of the 32 bits are accepted.
    const auto number = ReadNumber(
        key.section, key.name, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::uint32_t>::max(),
        QStringLiteral("an IPv4 address as a 32-bit number"), QString::fromStdString(DottedAddress(key.fallback)));
    return number ? static_cast<std::uint32_t>(*number) : key.fallback;
}

QByteArray CProfile::Read(const BytesSetting& key) const { return Value(key.section, key.name).toByteArray(); }

void CProfile::Store(const char* section, const char* name, const QVariant& value)
{
    std::lock_guard guard(m_lock);
    m_settings->setValue(KeyPath(section, name), value);
}

void CProfile::Write(const IntSetting& key, std::int32_t value) { Store(key.section, key.name, value); }
void CProfile::Write(const TextSetting& key, const QString& value) { Store(key.section, key.name, value); }
void CProfile::Write(const AddressSetting& key, std::uint32_t value) { Store(key.section, key.name, value); }
void CProfile::Write(const BytesSetting& key, const QByteArray& value) { Store(key.section, key.name, value); }

BarSizes CProfile::ReadBarSizes(int barId, const BarSizes& current) const
{
    const QByteArray section = BarSection(barId).toLatin1();
    BarSizes sizes = current;
    for (const BarSizeKey& key : kBarSizeKeys) {
        const IntSetting setting{section.constData(), key.name, current.*key.size};
        sizes.*key.size = Read(setting);
    }
    return sizes;
}

void CProfile::WriteBarSizes(int barId, const BarSizes& sizes)
{
    const QByteArray section = BarSection(barId).toLatin1();
    for (const BarSizeKey& key : kBarSizeKeys)
        Write(IntSetting{section.constData(), key.name, 0}, sizes.*key.size);
}

bool CProfile::Sync()
{
    QString failure;
    {
        std::lock_guard guard(m_lock);
        m_settings->sync();
        if (m_settings->status() == QSettings::NoError)
            return true;
        failure = QStringLiteral("The settings could not be saved to %1.").arg(m_settings->fileName());
    }
    Report(failure);
    return false;
}

void CProfile::SetProblemSink(ProblemSink sink)
{
    std::lock_guard guard(m_lock);
    m_sink = std::move(sink);
}

QStringList CProfile::TakeProblems()
{
    std::lock_guard guard(m_lock);
    return std::exchange(m_problems, {});
}
