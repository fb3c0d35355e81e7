// What a logging session captures, as the Start Logging dialog sets it.
#pragma once

#include "core/RadioKey.h"
#include "core/SignalPortion.h"

#include <string>

struct PduLogSettings {
    std::string fileName;
    bool binary = false;                                      // else a text log
    std::string signalPortion{kDefaultSignalPortion};         // text logs only
    bool filterByEntity = false;                              // log one radio only
    DisRadioId entity{};
    bool filterByIp = false;                                  // log one sender only
    std::string ipAddress;                                    // compared as text, exactly
};
