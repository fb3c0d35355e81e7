#include "engine/CDisSocket.h"

#include "engine/DisPdu.h"
#include "util/DtIpv4Address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

namespace {

constexpr std::uint32_t kNoGroupTarget = 0xFFFFFFFFu;   // 255.255.255.255

std::string ErrorText(const std::string& what, int error)
{
    return what + ": " + std::error_code(error, std::generic_category()).message();
}

template <typename T>
int SetOption(int fd, int level, int name, T value)
{
    return ::setsockopt(fd, level, name, &value, sizeof value);
}

sockaddr_in Endpoint(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_addr.s_addr = htonl(address);
    endpoint.sin_port = htons(port);
    return endpoint;
}

bool Bind(int fd, std::uint32_t address, std::uint16_t port)
{
    const sockaddr_in endpoint = Endpoint(address, port);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) == 0;
}

enum class Binding { Failed, Alone, Shared };

// Other programs on this host may listen to the same DIS port: the socket
// reuses its address. Bound without reuse first, it learns whether another
// socket holds the port already (the system then refuses), and is bound with
// reuse beside it; either way it reuses its address from then on, so that
// others may bind beside it later. `error` is set on a failure.
Binding BindSharing(int fd, std::uint32_t address, std::uint16_t port, std::string& error)
{
    if (SetOption(fd, SOL_SOCKET, SO_REUSEADDR, 0) != 0) {
        error = ErrorText("Cannot share the address of the DIS socket", errno);
        return Binding::Failed;
    }
    auto bindFailed = [&] {
        error = ErrorText("Cannot bind the DIS socket to " + DottedAddress(address) + " port " + std::to_string(port),
                          errno);
        return Binding::Failed;
    };
    bool shared = false;
    if (!Bind(fd, address, port)) {
        if (errno != EADDRINUSE)
            return bindFailed();
        shared = true;
    }
    if (SetOption(fd, SOL_SOCKET, SO_REUSEADDR, 1) != 0) {
        error = ErrorText("Cannot share the address of the DIS socket", errno);
        return Binding::Failed;
    }
    if (shared && !Bind(fd, address, port))
        return bindFailed();
    return shared ? Binding::Shared : Binding::Alone;
}

bool IsGroup(std::uint32_t address)
{
    const std::uint32_t firstOctet = address >> 24;
    return firstOctet >= 224 && firstOctet <= 239;
}

}   // namespace

std::unique_ptr<CDisSocket> CDisSocket::Create(std::uint16_t port, std::uint32_t multicast, const NetOptions& options,
                                               std::string& error)
{
    const std::uint32_t target = multicast ? multicast : kNoGroupTarget;
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        error = ErrorText("Cannot create the DIS socket", errno);
        return nullptr;
    }
    // The kernel may grant less than asked (see ReceiveBufferGranted).
    (void)SetOption(fd.Get(), SOL_SOCKET, SO_RCVBUF, int{options.receiveBufferSize});
    // Each read then tells how many datagrams the kernel had to drop.
    (void)SetOption(fd.Get(), SOL_SOCKET, SO_RXQ_OVFL, 1);

    std::uint32_t bindAddress = INADDR_ANY;
    Binding binding = Binding::Failed;
    if (target >> 24 == 127) {
        bindAddress = target;
    } else if (!options.bindAddress.empty()) {
        // BindAdx when it can be bound, else any address.
        const std::optional<std::uint32_t> chosen = ParseDottedAddress(options.bindAddress);
        if (chosen) {
            binding = BindSharing(fd.Get(), *chosen, port, error);
            if (binding != Binding::Failed)
                bindAddress = *chosen;
            error.clear();
        }
    }
    if (binding == Binding::Failed)
        binding = BindSharing(fd.Get(), bindAddress, port, error);
    if (binding == Binding::Failed)
        return nullptr;
    if (IsGroup(target) && options.bindAddress.empty()) {
        ip_mreq membership{};
        membership.imr_multiaddr.s_addr = htonl(target);
        membership.imr_interface.s_addr = htonl(options.multicastInterface);
        if (SetOption(fd.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, membership) != 0) {
            error = ErrorText("Cannot join the multicast group " + DottedAddress(target), errno);
            return nullptr;
        }
        (void)SetOption(fd.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, static_cast<unsigned char>(1));
        (void)SetOption(fd.Get(), IPPROTO_IP, IP_MULTICAST_TTL, static_cast<unsigned char>(kMulticastTtl));
    }
    (void)SetOption(fd.Get(), SOL_SOCKET, SO_BROADCAST, 1);
    (void)SetOption(fd.Get(), SOL_SOCKET, SO_DONTROUTE, 0);

    std::unique_ptr<CDisSocket> socket(new CDisSocket(std::move(fd), DottedAddress(target), options.queueFlush));
    socket->m_sharesPort = binding == Binding::Shared;
    sockaddr_in local{};
    socklen_t localSize = sizeof local;
    if (::getsockname(socket->Fd(), reinterpret_cast<sockaddr*>(&local), &localSize) == 0) {
        socket->m_boundPort = ntohs(local.sin_port);
        socket->m_boundAddress = ntohl(local.sin_addr.s_addr);
    }
    struct stat status {};
    if (::fstat(socket->Fd(), &status) == 0)
        socket->m_inode = static_cast<std::uint64_t>(status.st_ino);
    int granted = 0;
    socklen_t grantedSize = sizeof granted;
    if (::getsockopt(socket->Fd(), SOL_SOCKET, SO_RCVBUF, &granted, &grantedSize) == 0)
        socket->m_receiveBufferGranted = granted;
    return socket;
}

void CDisSocket::ShutDownReading()
{
    // An unbound-to-a-peer UDP socket answers ENOTCONN, yet stops its readers.
    (void)::shutdown(Fd(), SHUT_RD);
}

void CDisSocket::SetReadTimeout(std::optional<std::chrono::microseconds> timeout)
{
    timeval limit{};   // zero: no limit
    if (timeout) {
        const std::int64_t micros = std::max<std::int64_t>(timeout->count(), 1);
        limit.tv_sec = static_cast<time_t>(micros / 1000000);
        limit.tv_usec = static_cast<suseconds_t>(micros % 1000000);
    }
    (void)SetOption(Fd(), SOL_SOCKET, SO_RCVTIMEO, limit);
}

int CDisSocket::ClassifyPdu(const std::uint8_t* datagram, std::size_t length)
{
    if (length < 3)
        return kOtherPdu;
    const std::uint8_t type = datagram[2];
    return type == DisPduType::Transmitter || type == DisPduType::Signal ? type : kOtherPdu;
}
