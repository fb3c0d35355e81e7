#include "DisplayPageLogic.h"

#include "DecimalText.h"
#include "engine/CProfile.h"

namespace P = Profile::Properties;

DisplayPageControls DisplayPageLogic::Init()
{
    m_timeout = m_profile.Read(P::Timeout);
    m_treeType = m_profile.Read(P::TreeType);
    return {QString::number(m_timeout), m_treeType == 1 ? TreeGrouping::DisEntity : TreeGrouping::IpAddress};
}

QString DisplayPageLogic::Refusal(const DisplayPageControls& controls)
{
    // A negative timeout, or one whose sweep period would wrap, would be
    // refused by the profile at the next start.
    const std::int32_t timeout = ReadDecimal(controls.timeoutText);
    if (timeout < P::Timeout.min || timeout > P::Timeout.max)
        return QString("Timeout must be between %1 and %2 seconds").arg(P::Timeout.min).arg(P::Timeout.max);
    return {};
}

void DisplayPageLogic::Ok(const DisplayPageControls& controls)
{
    const std::int32_t timeout = ReadDecimal(controls.timeoutText);
    const auto treeType = static_cast<std::int32_t>(controls.grouping);
    m_profile.Write(P::Timeout, timeout);
    m_profile.Write(P::TreeType, treeType);
    m_timeoutChanged = timeout != m_timeout;
    m_treeTypeChanged = treeType != m_treeType;
    m_timeout = timeout;
    m_treeType = treeType;
}
