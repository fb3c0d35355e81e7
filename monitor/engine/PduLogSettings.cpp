#include "engine/PduLogSettings.h"

#include "engine/CProfile.h"

#include <QFile>

namespace {

namespace Logging = Profile::Logging;

// File names are bytes to the file system, texts to the profile.
std::string FileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }
QString FileNameText(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

std::uint16_t Id(const CProfile& profile, const IntSetting& key)
{
    return static_cast<std::uint16_t>(profile.Read(key));   // the key's range keeps it within 16 bits
}

}   // namespace

PduLogSettings PduLogSettings::ReadProfile(const CProfile& profile)
{
    PduLogSettings settings;
    settings.fileName = FileNameBytes(profile.Read(Logging::Filename));
    settings.binary = profile.Read(Logging::FileMode) == 1;
    settings.signalPortion = profile.Read(Logging::SignalPortion).toStdString();
    settings.filterByEntity = profile.Read(Logging::FilterByEntity) != 0;
    settings.entity = {Id(profile, Logging::FilterSiteID), Id(profile, Logging::FilterAppID),
                       Id(profile, Logging::FilterEntityID), Id(profile, Logging::FilterRadioID)};
    settings.filterByIp = profile.Read(Logging::FilterByIP) != 0;
    settings.ipAddress = profile.Read(Logging::FilterIPAddress).toStdString();
    return settings;
}

void PduLogSettings::WriteProfile(CProfile& profile) const
{
    profile.Write(Logging::Filename, FileNameText(fileName));
    profile.Write(Logging::FilterByEntity, filterByEntity ? 1 : 0);
    if (filterByEntity) {
        profile.Write(Logging::FilterSiteID, entity.site);
        profile.Write(Logging::FilterAppID, entity.application);
        profile.Write(Logging::FilterEntityID, entity.entity);
        profile.Write(Logging::FilterRadioID, entity.radio);
    }
    profile.Write(Logging::FilterByIP, filterByIp ? 1 : 0);
    if (filterByIp)
        profile.Write(Logging::FilterIPAddress, QString::fromStdString(ipAddress));
    if (!binary)
        profile.Write(Logging::SignalPortion, QString::fromStdString(signalPortion));
    profile.Write(Logging::FileMode, binary ? 1 : 0);
}
