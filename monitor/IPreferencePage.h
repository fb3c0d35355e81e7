// A page of the Preferences sheet. The sheet fills a page when it is first
// shown and, on OK, asks every shown page whether its values can be taken
// before any of them writes; a page never shown writes nothing.
#pragma once

#include <QString>

class IPreferencePage {
public:
    virtual ~IPreferencePage() = default;

    // Fills the controls from the profile.
    virtual void InitPage() = 0;
    // Why the page's values cannot be taken (the sheet shows it and stays
    // open on this page), or an empty text.
    virtual QString Refusal() const { return {}; }
    // Writes the page's values to the profile and keeps what changed.
    virtual void OkPage() = 0;
};
