// What the HLA page of the Preferences sheet does, without its widgets. Its
// settings take effect at the next start of the program.
#pragma once

#include <QString>
#include <QStringList>

class CProfile;

struct HlaPageControls {
    bool hlaEnabled = false;   // "Enable HLA Monitoring"
    QString federation;        // "Join Federation:"
    QString fomVersion;        // "FOM Version:", one of FomVersions()
};

class HlaPageLogic {
public:
    explicit HlaPageLogic(CProfile& profile) : m_profile(profile) {}

    // The FOM versions the list offers, sorted.
    static QStringList FomVersions();

    // A stored FOM version the list does not offer shows as the first one
    // (every version is monitored with the RPR FOM 1.0 manager anyway).
    HlaPageControls Init();
    // The federation edit is usable only with HLA monitoring on.
    static bool IsFederationEnabled(const HlaPageControls& controls) { return controls.hlaEnabled; }
    void Ok(const HlaPageControls& controls);

    bool hlaEnabled() const { return m_hlaEnabled; }
    const QString& federation() const { return m_federation; }
    const QString& fomVersion() const { return m_fomVersion; }
    bool federationChanged() const { return m_federationChanged; }

private:
    CProfile& m_profile;
    bool m_hlaEnabled = false;
    QString m_federation;
    QString m_fomVersion;
    bool m_federationChanged = false;
};
