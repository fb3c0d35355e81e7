#include "QuickViewLines.h"

#include "engine/CRadioReceive.h"

#include <cstdarg>
#include <cstdio>

namespace QuickViewLines {

const std::array<Line, kCount> kLines = {{
    {&QuickViewFlags::showFreq, 4, "freq", true},
    {&QuickViewFlags::showXmits, 4, "xmit", false},
    {&QuickViewFlags::showSigs, 4, "sigs", true},
    {&QuickViewFlags::showWorldPosn, 4, "posn", true},
    {&QuickViewFlags::showXmitState, 6, "active", true},
    {&QuickViewFlags::showCrypto, 6, "crypto", true},
    {&QuickViewFlags::showModulation, 10, "modulation", true},
    {&QuickViewFlags::showPower, 5, "power", true},
    {&QuickViewFlags::showSpreadSpectrum, 11, "spr. spect.", true},
    {&QuickViewFlags::showSystem, 6, "system", true},
}};

namespace {

[[gnu::format(printf, 1, 2)]] QString Format(const char* format, ...)
{
    // The longest line is a position of three doubles of up to 309 digits each.
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return QString::fromLatin1(buffer);
}

unsigned U(std::uint16_t value) { return value; }

}   // namespace

std::uint64_t Frequency(const TransmitterPdu& pdu)
{
    return (std::uint64_t{pdu.frequencyHigh} << 32) | pdu.frequencyLow;
}

QString FrequencyText(std::uint64_t hertz)
{
    const double f = static_cast<double>(hertz);
    if (f > 999000000.0)
        return Format("freq: %7.3f GHz", f * 1e-9);
    if (f > 999000.0)
        return Format("freq: %7.3f MHz", f * 1e-6);
    if (f > 999.0)
        return Format("freq: %7.3f KHz", f * 0.001);
    return Format("freq: %u Hz", static_cast<unsigned>(hertz));
}

QString RadioText(const DisRadioId& id)
{
    // The tree item's text is the key its detail window is opened and closed by.
    return QString::fromStdString(id.KeyText());
}

QString Text(int index, const CRadioReceive& radio)
{
    const TransmitterPdu& t = radio.GetTransmitter();
    switch (index) {
    case 0:
        return FrequencyText(Frequency(t));
    case 1:
        return Format("xmits: %u", radio.GetTransmitCount());
    case 2:
        return Format("sigs: %u", radio.GetSignalCount());
    case 3: {
        double x = 0, y = 0, z = 0;
        radio.GetAntennaLocation(x, y, z);
        return Format("posn: (%2.1f, %2.1f, %2.1f)", x, y, z);
    }
    case 4:
        return Format("active: %d", radio.IsActive() ? 1 : 0);
    case 5:
        return Format("crypto: %u, %u", U(t.cryptoSystem), U(t.cryptoKeyId));
    case 6:
        return Format("modulation: %u, %u", U(t.modulationType.majorModulation), U(t.modulationType.detailModulation));
    case 7:
        return Format("power: %2.1f", static_cast<double>(t.power));
    case 8:
        return Format("spr. spect.: %u", U(t.modulationType.spreadSpectrum));
    case 9:
        return Format("system.: %u", U(t.modulationType.system));
    default:
        return {};
    }
}

}   // namespace QuickViewLines
