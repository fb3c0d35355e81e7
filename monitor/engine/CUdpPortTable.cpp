#include "engine/CUdpPortTable.h"

#include <arpa/inet.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const char* path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, int base)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// A 32-bit word as the kernel prints it: the bytes of a network-order
// address read as a number of this host.
std::optional<std::uint32_t> ParseWord(std::string_view hex)
{
    if (hex.size() != 8)
        return std::nullopt;
    const auto word = ParseNumber<std::uint32_t>(hex, 16);
    if (!word)
        return std::nullopt;
    return ntohl(*word);
}

// "ADDRESS:PORT" of either list into the socket; false when it does not read.
bool ParseLocal(std::string_view local, bool ipv6, CUdpPortTable::Socket& socket)
{
    const std::size_t colon = local.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view address = local.substr(0, colon);
    const auto port = ParseNumber<std::uint16_t>(local.substr(colon + 1), 16);
    if (!port)
        return false;
    socket.port = *port;
    if (!ipv6) {
        const auto word = ParseWord(address);
        if (!word)
            return false;
        socket.address = *word;
        socket.anyAddress = *word == 0;
        return true;
    }
    if (address.size() != 32)
        return false;
    std::uint32_t words[4];
    for (int i = 0; i < 4; ++i) {
        const auto word = ParseWord(address.substr(static_cast<std::size_t>(i) * 8, 8));
        if (!word)
            return false;
        words[i] = *word;
    }
    if ((words[0] | words[1] | words[2] | words[3]) == 0) {
        socket.anyAddress = true;
        return true;
    }
    if (words[0] == 0 && words[1] == 0 && words[2] == 0xFFFFu) {   // ::ffff:a.b.c.d
        socket.address = words[3];
        return true;
    }
    return false;   // an IPv6 address: no IPv4 datagram reaches it
}

}   // namespace

CUdpPortTable CUdpPortTable::Read() { return Parse(ReadFile("/proc/net/udp"), ReadFile("/proc/net/udp6")); }

CUdpPortTable CUdpPortTable::Parse(std::string_view ipv4List, std::string_view ipv6List)
{
    CUdpPortTable table;
    table.ParseList(ipv4List, false);
    table.ParseList(ipv6List, true);
    return table;
}

void CUdpPortTable::ParseList(std::string_view text, bool ipv6)
{
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        // "sl: local remote st tx:rx tr:when retrnsmt uid timeout inode ..."
        std::istringstream fields(line);
        std::string slot, local, field;
        if (!(fields >> slot >> local) || slot.empty() || slot.back() != ':')
            continue;   // the heading, or not a socket
        for (int skipped = 0; skipped < 7 && fields >> field; ++skipped) {
        }
        std::string inodeText;
        Socket socket;
        if (!(fields >> inodeText) || !ParseLocal(local, ipv6, socket))
            continue;
        const auto inode = ParseNumber<std::uint64_t>(inodeText, 10);
        if (!inode)
            continue;
        socket.inode = *inode;
        m_sockets.push_back(socket);
    }
}

bool CUdpPortTable::OthersOn(std::uint16_t port, std::uint32_t address, std::uint64_t inode) const
{
    for (const Socket& socket : m_sockets) {
        if (socket.port != port || socket.inode == inode)
            continue;
        if (address == 0 || socket.anyAddress || socket.address == address)
            return true;
    }
    return false;
}
