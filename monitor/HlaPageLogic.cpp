#include "HlaPageLogic.h"

#include "engine/CProfile.h"

namespace P = Profile::Properties;

QStringList HlaPageLogic::FomVersions() { return {P::HLAFOMVersion.fallback}; }

HlaPageControls HlaPageLogic::Init()
{
    m_hlaEnabled = m_profile.Read(P::HLAEnabled) != 0;
    m_federation = m_profile.Read(P::HLAFederation);
    m_fomVersion = m_profile.Read(P::HLAFOMVersion);
    const QStringList versions = FomVersions();
    return {m_hlaEnabled, m_federation, versions.contains(m_fomVersion) ? m_fomVersion : versions.first()};
}

void HlaPageLogic::Ok(const HlaPageControls& controls)
{
    m_hlaEnabled = controls.hlaEnabled;
    m_profile.Write(P::HLAEnabled, m_hlaEnabled ? 1 : 0);
    m_profile.Write(P::HLAFederation, controls.federation);
    m_profile.Write(P::HLAFOMVersion, controls.fomVersion);
    m_fomVersion = controls.fomVersion;
    m_federationChanged = controls.federation != m_federation;
    m_federation = controls.federation;
}
