// Which quick-view lines the transmitter tree shows under each radio: the
// ten Show values of the profile, as the application holds them (the Quick
// View preference page changes them while the program runs).
#pragma once

class CProfile;

struct QuickViewFlags {
    bool showFreq = true;
    bool showXmits = true;
    bool showSigs = false;
    bool showWorldPosn = false;
    bool showXmitState = false;
    bool showCrypto = false;
    bool showModulation = false;
    bool showPower = false;
    bool showSpreadSpectrum = false;
    bool showSystem = false;

    static QuickViewFlags FromProfile(const CProfile& profile);
    bool operator==(const QuickViewFlags&) const = default;
};
