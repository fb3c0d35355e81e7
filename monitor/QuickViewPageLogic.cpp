#include "QuickViewPageLogic.h"

#include "engine/CProfile.h"

namespace P = Profile::Properties;

const std::array<QuickViewItem, QuickViewPageLogic::kCount>& QuickViewPageLogic::Items()
{
    static const std::array<QuickViewItem, kCount> items = {{
        {&P::ShowFreq, "Frequency"},
        {&P::ShowXmits, "# of Transmit PDUs"},
        {&P::ShowSigs, "# of Signal PDUs"},
        {&P::ShowWorldPosn, "World Position (X, Y, Z)"},
        {&P::ShowXmitState, "Transmit State"},
        {&P::ShowCrypto, "Crypto System && Key"},
        {&P::ShowModulation, "Modulation"},
        {&P::ShowPower, "Transmit Power"},
        {&P::ShowSpreadSpectrum, "Spread Spectrum"},
        {&P::ShowSystem, "Radio System"},
    }};
    return items;
}

QuickViewPageLogic::Checks QuickViewPageLogic::Init() const
{
    Checks checks{};
    for (std::size_t i = 0; i < kCount; ++i)
        checks[i] = m_profile.Read(*Items()[i].key) != 0;
    return checks;
}

void QuickViewPageLogic::Ok(const Checks& checks)
{
    for (std::size_t i = 0; i < kCount; ++i)
        m_profile.Write(*Items()[i].key, checks[i] ? 1 : 0);
}
