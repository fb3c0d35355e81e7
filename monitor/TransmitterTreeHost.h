// What the transmitter bar and its tree ask of the application. Every
// function is called on the GUI thread; an empty one is taken as "nothing"
// (no radio, no roots, default quick-view lines, tree type 0).
#pragma once

#include "QuickViewFlags.h"
#include "engine/CRadioReceive.h"
#include "engine/RadioKey.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the monitor listens to now: the tree's roots stand for it. It is the
// state in force (DIS and HLA as started, the port the intake listens on),
// which differs from the profile once the preferences have been edited.
struct MonitoringState {
    bool disEnabled = true;
    std::int32_t port = 3000;
    bool hlaEnabled = false;
    QString federation = "DefaultFed";

    bool operator==(const MonitoringState&) const = default;
};

struct TransmitterTreeHost {
    // A copy of the radio's latest record; nothing once it is gone.
    std::function<std::optional<CRadioReceive>(const RadioRef& radio)> getRadio;
    std::function<MonitoringState()> monitoring;
    std::function<QuickViewFlags()> quickView;
    // 1 groups DIS radios by entity, every other value by sender address.
    std::function<std::int32_t()> treeType;
    // A DIS radio left the tree at a sweep: its detail window closes and its
    // record may be released.
    std::function<void(const std::string& key)> radioSwept;
    // The items that a sweep or a reset dropped have all been deleted (in
    // slices, after the sweep): `items` of them.
    std::function<void(std::uint64_t items)> itemsReleased;
};
