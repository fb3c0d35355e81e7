// What a logging session captures, as the Start Logging dialog sets it, and
// how it is kept in the profile's Logging section.
#pragma once

#include "engine/RadioKey.h"
#include "engine/SignalPortion.h"

#include <string>

class CProfile;

struct PduLogSettings {
    std::string fileName;
    bool binary = false;                                                    // else a text log
    std::string signalPortion = Profile::Logging::SignalPortion.fallback;   // text logs only
    bool filterByEntity = false;                                            // log one radio only
    DisRadioId entity{};
    bool filterByIp = false;   // log one sender only
    std::string ipAddress;     // compared as text, exactly

    // Every value of the Logging section (unsound ones are reported by the
    // profile and read as their defaults).
    static PduLogSettings ReadProfile(const CProfile& profile);

    // What the dialog's OK stores: the file name, the file mode and both
    // filter switches always; the radio's numbers and the address only for a
    // filter that is on; the signal portion only for a text log. So the
    // values of a switched-off choice stay in the profile for the next time.
    void WriteProfile(CProfile& profile) const;
};
