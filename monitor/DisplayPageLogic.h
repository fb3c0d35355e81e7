// What the Display page of the Preferences sheet does, without its widgets:
// the radios' timeout and how the transmitter tree groups DIS radios.
#pragma once

#include <QString>

#include <cstdint>

class CProfile;

// The "Group by:" list, in its order (the index is the stored tree type).
enum class TreeGrouping : std::int32_t {
    IpAddress = 0,
    DisEntity = 1,
};

struct DisplayPageControls {
    QString timeoutText;                               // "Timeout (in seconds):"
    TreeGrouping grouping = TreeGrouping::IpAddress;   // "Group by:"
};

class DisplayPageLogic {
public:
    static constexpr const char* kGroupingTexts[] = {"IP Address", "DIS Entity"};

    explicit DisplayPageLogic(CProfile& profile) : m_profile(profile) {}

    DisplayPageControls Init();
    // Why the timeout cannot be taken, or an empty text. Text that does not
    // start with a number reads as 0, which keeps radios for ever.
    static QString Refusal(const DisplayPageControls& controls);
    // Writes the profile and sets the changed flags; call only when Refusal
    // has nothing to say.
    void Ok(const DisplayPageControls& controls);

    std::int32_t timeout() const { return m_timeout; }
    bool timeoutChanged() const { return m_timeoutChanged; }
    std::int32_t treeType() const { return m_treeType; }
    bool treeTypeChanged() const { return m_treeTypeChanged; }

private:
    CProfile& m_profile;
    std::int32_t m_timeout = 0;
    bool m_timeoutChanged = false;
    std::int32_t m_treeType = 0;
    bool m_treeTypeChanged = false;
};
