#include "CIpAddressEdit.h"

#include "util/DtIpv4Address.h"

#include <QStringList>
#include <QValidator>

#include <optional>

namespace {

constexpr int kFields = 4;
constexpr int kMaxOctet = 255;

// The fields of a (possibly partly typed) dotted address; blank fields are
// absent. Nothing when the text cannot become an address by typing more.
std::optional<QList<std::optional<int>>> Fields(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() > kFields)
        return std::nullopt;
    QList<std::optional<int>> fields;
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            fields.append(std::nullopt);
            continue;
        }
        if (part.size() > 3)
            return std::nullopt;
        int value = 0;
        for (QChar digit : part) {
            if (digit < u'0' || digit > u'9')
                return std::nullopt;
            value = value * 10 + (digit.unicode() - u'0');
        }
        if (value > kMaxOctet)
            return std::nullopt;
        fields.append(value);
    }
    return fields;
}

class Ipv4Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        const auto fields = Fields(input);
        if (!fields)
            return Invalid;
        if (fields->size() < kFields)
            return Intermediate;
        for (const auto& field : *fields)
            if (!field)
                return Intermediate;
        return Acceptable;
    }
};

}   // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QLineEdit(parent) { setValidator(new Ipv4Validator(this)); }

void CIpAddressEdit::setAddress(std::uint32_t address) { setText(QString::fromStdString(DottedAddress(address))); }

std::uint32_t CIpAddressEdit::address() const
{
    const auto fields = Fields(text().trimmed());
    std::uint32_t address = 0;
    for (int i = 0; i < kFields; ++i) {
        const int octet = fields && i < fields->size() ? fields->at(i).value_or(0) : 0;
        address = (address << 8) | static_cast<std::uint32_t>(octet);
    }
    return address;
}

void CIpAddressEdit::setAddressText(const QString& text) { setText(Fields(text) ? text : QString()); }

QString CIpAddressEdit::addressText() const
{
    return isBlank() ? QString() : QString::fromStdString(DottedAddress(address()));
}
