#include "core/Ipv4Address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

std::string DottedAddress(std::uint32_t address)
{
    char text[INET_ADDRSTRLEN] = {};
    const in_addr network{htonl(address)};
    ::inet_ntop(AF_INET, &network, text, sizeof text);
    return text;
}

std::optional<std::uint32_t> ParseDottedAddress(const std::string& text)
{
    in_addr parsed{};
    if (::inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return std::nullopt;
    return ntohl(parsed.s_addr);
}
