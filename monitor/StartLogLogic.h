// What the Start Logging dialog does, without its widgets: fill the controls
// from the profile's Logging section, follow the check boxes and the file
// mode, and on OK store the choices and hand them to the logging engine.
#pragma once

#include "engine/PduLogSettings.h"

#include <QString>

#include <array>

class CProfile;

struct StartLogControls {
    QString fileName;
    bool binary = false;     // "Binary", else "ASCII Text"
    QString signalPortion;   // the list's selection
    bool portionEnabled = true;
    bool filterByEntity = false;          // "Log only this entity:"
    std::array<QString, 4> entityTexts;   // site, application, entity, radio
    bool filterByIp = false;              // "Log only this IP address:"
    QString ipAddress;
};

class StartLogLogic {
public:
    explicit StartLogLogic(CProfile& profile) : m_profile(profile) {}

    // The controls as the dialog opens: the edits of a filter that is off
    // stay empty.
    StartLogControls Init();

    // Checking a filter fills its edits from the profile; unchecking leaves
    // them as they are (the dialog disables them).
    void SetFilterByEntity(StartLogControls& controls, bool on) const;
    void SetFilterByIp(StartLogControls& controls, bool on) const;

    // Binary logs hold whole Signal PDUs: the list shows "entire" and cannot
    // be changed. Back in text mode it shows the portion last chosen there.
    void SetBinary(StartLogControls& controls, bool binary);
    // The user picked a portion in the list (text mode).
    void ChoosePortion(StartLogControls& controls, const QString& portion);

    // Starting a log empties its file: OK asks first when the file holds
    // something, unless the user chose that very file with Browse, whose
    // save dialog asked already.
    static bool AsksBeforeOverwriting(const QString& fileName, const QString& confirmedWithBrowse);
    // The question, as the save dialog puts it.
    static QString OverwriteQuestion(const QString& fileName);

    // Stores the choices in the profile (see PduLogSettings::WriteProfile)
    // and returns the session's settings. A number edit that holds no number
    // (or one beyond 16 bits) gives 0.
    PduLogSettings Ok(const StartLogControls& controls);

private:
    CProfile& m_profile;
    QString m_textPortion;   // the portion text mode comes back to
};
