// What the Quick View page of the Preferences sheet does, without its
// widgets: one check box per quick-view line of the transmitter tree, each
// bound to its Show value of the profile. The application takes the flags
// from the profile once the sheet is confirmed.
#pragma once

#include "engine/ProfileKeys.h"

#include <array>
#include <cstddef>

struct QuickViewItem {
    const IntSetting* key;
    const char* label;   // '&&' shows as '&'
};

class CProfile;

class QuickViewPageLogic {
public:
    static constexpr std::size_t kCount = 10;
    using Checks = std::array<bool, kCount>;

    // The check boxes in the page's order.
    static const std::array<QuickViewItem, kCount>& Items();

    explicit QuickViewPageLogic(CProfile& profile) : m_profile(profile) {}

    Checks Init() const;
    void Ok(const Checks& checks);

private:
    CProfile& m_profile;
};
