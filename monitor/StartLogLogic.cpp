#include "StartLogLogic.h"

#include "DecimalText.h"
#include "engine/CProfile.h"

#include <QFile>
#include <QFileInfo>

namespace {

namespace Logging = Profile::Logging;

constexpr const char* kEntire = kSignalPortionChoices.back();
static_assert(std::string_view(kSignalPortionChoices.back()) == "entire");

std::uint16_t IdentifierOf(const QString& text)
{
    const std::int32_t value = ReadDecimal(text);
    return value >= 0 && value <= Profile::kMaxU16 ? static_cast<std::uint16_t>(value) : 0;
}

}   // namespace

bool StartLogLogic::AsksBeforeOverwriting(const QString& fileName, const QString& confirmedWithBrowse)
{
    if (fileName.isEmpty() || fileName == confirmedWithBrowse)
        return false;
    const QFileInfo file(fileName);
    return file.exists() && file.size() > 0;
}

QString StartLogLogic::OverwriteQuestion(const QString& fileName)
{
    return QString("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(fileName).fileName());
}

StartLogControls StartLogLogic::Init()
{
    StartLogControls controls;
    controls.fileName = m_profile.Read(Logging::Filename);
    SetFilterByEntity(controls, m_profile.Read(Logging::FilterByEntity) != 0);
    SetFilterByIp(controls, m_profile.Read(Logging::FilterByIP) != 0);
    m_textPortion = m_profile.Read(Logging::SignalPortion);
    SetBinary(controls, m_profile.Read(Logging::FileMode) == 1);
    return controls;
}

void StartLogLogic::SetFilterByEntity(StartLogControls& controls, bool on) const
{
    controls.filterByEntity = on;
    if (!on)
        return;
    const IntSetting* keys[] = {&Logging::FilterSiteID, &Logging::FilterAppID, &Logging::FilterEntityID,
                                &Logging::FilterRadioID};
    for (std::size_t i = 0; i < controls.entityTexts.size(); ++i)
        controls.entityTexts[i] = QString::number(m_profile.Read(*keys[i]));
}

void StartLogLogic::SetFilterByIp(StartLogControls& controls, bool on) const
{
    controls.filterByIp = on;
    if (on)
        controls.ipAddress = m_profile.Read(Logging::FilterIPAddress);
}

void StartLogLogic::SetBinary(StartLogControls& controls, bool binary)
{
    controls.binary = binary;
    controls.portionEnabled = !binary;
    controls.signalPortion = binary ? QString(kEntire) : m_textPortion;
}

void StartLogLogic::ChoosePortion(StartLogControls& controls, const QString& portion)
{
    if (controls.binary)
        return;
    controls.signalPortion = portion;
    m_textPortion = portion;
}

PduLogSettings StartLogLogic::Ok(const StartLogControls& controls)
{
    PduLogSettings settings;
    settings.fileName = QFile::encodeName(controls.fileName).toStdString();
    settings.binary = controls.binary;
    settings.signalPortion = controls.signalPortion.toStdString();
    settings.filterByEntity = controls.filterByEntity;
    if (controls.filterByEntity)
        settings.entity = {IdentifierOf(controls.entityTexts[0]), IdentifierOf(controls.entityTexts[1]),
                           IdentifierOf(controls.entityTexts[2]), IdentifierOf(controls.entityTexts[3])};
    settings.filterByIp = controls.filterByIp;
    if (controls.filterByIp)
        settings.ipAddress = controls.ipAddress.toStdString();
    settings.WriteProfile(m_profile);
    return settings;
}
