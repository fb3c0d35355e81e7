// An edit for an IPv4 address in dotted form: only digits and dots can be
// typed, at most four fields of at most 255 each. A field left blank reads
// as 0, as in the address controls of other desktops.
#pragma once

#include <QLineEdit>

#include <cstdint>

class CIpAddressEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CIpAddressEdit(QWidget* parent = nullptr);

    // The address as a number whose high byte is the first octet.
    void setAddress(std::uint32_t address);
    std::uint32_t address() const;

    // Shows `text` when it could have been typed here (an address, or the
    // start of one); anything else leaves the edit empty.
    void setAddressText(const QString& text);
    // The canonical dotted form of what is shown, or "" when nothing is.
    QString addressText() const;

    bool isBlank() const { return text().trimmed().isEmpty(); }
};
