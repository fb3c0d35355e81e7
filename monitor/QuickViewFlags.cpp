#include "QuickViewFlags.h"

#include "engine/CProfile.h"

QuickViewFlags QuickViewFlags::FromProfile(const CProfile& profile)
{
    namespace P = Profile::Properties;
    QuickViewFlags flags;
    flags.showFreq = profile.Read(P::ShowFreq) != 0;
    flags.showXmits = profile.Read(P::ShowXmits) != 0;
    flags.showSigs = profile.Read(P::ShowSigs) != 0;
    flags.showWorldPosn = profile.Read(P::ShowWorldPosn) != 0;
    flags.showXmitState = profile.Read(P::ShowXmitState) != 0;
    flags.showCrypto = profile.Read(P::ShowCrypto) != 0;
    flags.showModulation = profile.Read(P::ShowModulation) != 0;
    flags.showPower = profile.Read(P::ShowPower) != 0;
    flags.showSpreadSpectrum = profile.Read(P::ShowSpreadSpectrum) != 0;
    flags.showSystem = profile.Read(P::ShowSystem) != 0;
    return flags;
}
