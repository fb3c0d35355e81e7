#include "engine/NetOptions.h"

#include "engine/CProfile.h"

NetOptions NetOptions::FromProfile(const CProfile& profile)
{
    NetOptions options;
    options.port = static_cast<std::uint16_t>(profile.Read(Profile::Properties::NetworkPort));
    options.multicastAddress =
        profile.Read(Profile::Properties::UseMulticast) ? profile.Read(Profile::Properties::MulticastAdx) : 0;
    options.bindAddress = profile.Read(Profile::Network::BindAdx).toStdString();
    options.receiveBufferSize = profile.Read(Profile::Network::RecvBuf);
    options.queueFlush = profile.Read(Profile::Network::QFlush);
    return options;
}
