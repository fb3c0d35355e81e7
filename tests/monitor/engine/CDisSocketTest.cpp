#include "PortHolder.h"

#include "engine/CDisSocket.h"
#include "engine/CProfile.h"
#include "engine/CUdpPortTable.h"
#include "engine/PduBatch.h"
#include "engine/SenderAddress.h"
#include "util/DtIpv4Address.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

std::string BoundAddress(const CDisSocket& socket)
{
    sockaddr_in local{};
    socklen_t size = sizeof local;
    ::getsockname(socket.Fd(), reinterpret_cast<sockaddr*>(&local), &size);
    return DottedAddress(ntohl(local.sin_addr.s_addr));
}

bool JoinedGroup(const CDisSocket& socket, std::uint32_t group)
{
    // Leaving succeeds only for a group the socket is a member of.
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = htonl(group);
    membership.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
    return ::setsockopt(socket.Fd(), IPPROTO_IP, IP_DROP_MEMBERSHIP, &membership, sizeof membership) == 0;
}

struct BindCase {
    const char* what;
    std::uint32_t multicast;
    const char* bindAddress;
    const char* target;
    const char* bound;
    bool joined;
};

TEST(DisSocketTest, BindsAndJoinsByTheTargetAddress)
{
    const BindCase cases[] = {
        {"no group: every address, broadcasts included", 0, "", "255.255.255.255", "0.0.0.0", false},
        {"a group: every address, and the group joined", 0xEF000001u, "", "239.0.0.1", "0.0.0.0", true},
        {"a loopback target binds to itself", 0x7F000001u, "", "127.0.0.1", "127.0.0.1", false},
        {"BindAdx wins over the group", 0xEF000001u, "127.0.0.1", "239.0.0.1", "127.0.0.1", false},
        {"BindAdx that is no local address falls back to any", 0, "192.0.2.1", "255.255.255.255", "0.0.0.0", false},
    };
    for (const BindCase& c : cases) {
        SCOPED_TRACE(c.what);
        NetOptions options;
        options.bindAddress = c.bindAddress;
        options.multicastInterface = INADDR_LOOPBACK;
        options.queueFlush = 7;
        std::string error;
        const auto socket = CDisSocket::Create(0, c.multicast, options, error);
        ASSERT_TRUE(socket) << error;
        EXPECT_EQ(socket->TargetAddress(), c.target);
        EXPECT_EQ(BoundAddress(*socket), c.bound);
        EXPECT_NE(socket->BoundPort(), 0);
        EXPECT_EQ(socket->QueueFlush(), 7);
        if (c.multicast >> 24 == 239) {
            EXPECT_EQ(JoinedGroup(*socket, c.multicast), c.joined);
        }
    }
}

// A socket knows whether another one held its port before it, and lets
// others bind beside it afterwards; a socket that does not share its address
// keeps the port to itself.
TEST(DisSocketTest, SharesItsPortWithSocketsThatReuseTheirAddress)
{
    NetOptions options;
    options.multicastInterface = INADDR_LOOPBACK;
    std::string error;
    const auto alone = CDisSocket::Create(0, 0, options, error);
    ASSERT_TRUE(alone) << error;
    EXPECT_FALSE(alone->SharesPort());
    const auto beside = CDisSocket::Create(alone->BoundPort(), 0, options, error);
    ASSERT_TRUE(beside) << error;
    EXPECT_TRUE(beside->SharesPort());
    const auto group = CDisSocket::Create(alone->BoundPort(), 0xEFFF4D13u, options, error);
    ASSERT_TRUE(group) << error;
    EXPECT_TRUE(group->SharesPort());

    testnet::PortHolder held(true);
    const auto besideHeld = CDisSocket::Create(held.port(), 0, options, error);
    ASSERT_TRUE(besideHeld) << error;
    EXPECT_TRUE(besideHeld->SharesPort());

    testnet::PortHolder exclusive;
    EXPECT_FALSE(CDisSocket::Create(exclusive.port(), 0, options, error));
    EXPECT_NE(error.find("port " + std::to_string(exclusive.port())), std::string::npos) << error;
}

// Two programs on one port: a unicast datagram reaches the one that bound
// the port last, a broadcast both (what the README tells the operator). The
// system's socket list shows each of them the other.
TEST(DisSocketTest, OnASharedPortUnicastReachesTheSocketBoundLast)
{
    NetOptions options;
    options.multicastInterface = INADDR_LOOPBACK;
    std::string error;
    const auto first = CDisSocket::Create(0, 0, options, error);
    ASSERT_TRUE(first) << error;
    const auto last = CDisSocket::Create(first->BoundPort(), 0, options, error);
    ASSERT_TRUE(last) << error;
    first->SetReadTimeout(std::chrono::milliseconds(200));
    last->SetReadTimeout(std::chrono::milliseconds(200));
    const CUdpPortTable table = CUdpPortTable::Read();
    EXPECT_TRUE(table.OthersOn(first->BoundPort(), first->BoundAddress(), first->Inode()));
    EXPECT_TRUE(table.OthersOn(last->BoundPort(), last->BoundAddress(), last->Inode()));

    auto sendTo = [&](const char* address) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(first->BoundPort());
        ::inet_pton(AF_INET, address, &to.sin_addr);
        const char datagram[] = "pdu";
        const bool sent = ::sendto(fd, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
        ::close(fd);
        return sent;
    };
    auto received = [](const CDisSocket& socket) {
        char buffer[16];
        return ::recv(socket.Fd(), buffer, sizeof buffer, 0) > 0;
    };
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(sendTo("127.0.0.1"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(received(*last)) << i;
    EXPECT_FALSE(received(*first)) << "the socket bound first gets no unicast";
    ASSERT_TRUE(sendTo("127.255.255.255"));
    EXPECT_TRUE(received(*first));
    EXPECT_TRUE(received(*last));
}

// The system's lists of UDP sockets as the kernel prints them: the IPv4 and
// IPv6 forms, the wildcard addresses, and lines that do not read.
TEST(UdpPortTableTest, ReadsTheSystemsListsAndTellsWhoElseIsOnAPort)
{
    const char* ipv4 =
        "   sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode ref "
        "pointer drops\n"
        "  12: 00000000:0BB8 00000000:0000 07 00000000:00000000 00:00000000 00000000     0        0 1001 2 0 0\n"
        "  13: 0100007F:0BB8 00000000:0000 07 00000000:00000000 00:00000000 00000000     0        0 1002 2 0 0\n"
        "  14: 0A00000A:0BB9 00000000:0000 07 00000000:00000000 00:00000000 00000000     0        0 1003 2 0 0\n"
        "  15: garbage\n"
        "  16: 0100007F:ZZZZ 00000000:0000 07 00000000:00000000 00:00000000 00000000     0        0 1004 2 0 0\n";
    const char* ipv6 =
        "  sl  local_address                         remote_address                        st tx_queue rx_queue "
        "tr tm->when retrnsmt   uid  timeout inode ref pointer drops\n"
        "   1: 00000000000000000000000000000000:0BBA 00000000000000000000000000000000:0000 07 00000000:00000000 "
        "00:00000000 00000000     0        0 2001 2 0 0\n"
        "   2: 0000000000000000FFFF00000A00000A:0BB9 00000000000000000000000000000000:0000 07 00000000:00000000 "
        "00:00000000 00000000     0        0 2002 2 0 0\n"
        "   3: 20010DB8000000000000000000000001:0BB9 00000000000000000000000000000000:0000 07 00000000:00000000 "
        "00:00000000 00000000     0        0 2003 2 0 0\n";
    const CUdpPortTable table = CUdpPortTable::Parse(ipv4, ipv6);
    ASSERT_EQ(table.sockets().size(), 5u);
    EXPECT_TRUE(table.sockets()[0].anyAddress);
    EXPECT_EQ(table.sockets()[1].address, 0x7F000001u);
    EXPECT_EQ(table.sockets()[1].port, 3000);
    EXPECT_EQ(table.sockets()[1].inode, 1002u);
    EXPECT_EQ(table.sockets()[4].address, 0x0A00000Au) << "an IPv4 address in IPv6 form";

    struct Case {
        std::uint16_t port;
        std::uint32_t address;
        std::uint64_t inode;
        bool shared;
    };
    for (const Case& c : {Case{3000, 0, 1001, true},              // 127.0.0.1 is on it too
                          Case{3000, 0x7F000001u, 1002, true},    // the wildcard socket takes its datagrams too
                          Case{3001, 0x0A00000Au, 1003, true},    // the IPv6 socket bound to its address
                          Case{3001, 0x0A000001u, 1099, false},   // another address, and no wildcard
                          Case{3002, 0, 1099, true},              // :: takes every datagram
                          Case{3003, 0, 1099, false}}) {
        EXPECT_EQ(table.OthersOn(c.port, c.address, c.inode), c.shared) << c.port << " " << c.inode;
    }
    EXPECT_TRUE(CUdpPortTable::Parse("", "").sockets().empty());
}

TEST(DisSocketTest, ClassifiesByThePduTypeByteAlone)
{
    const std::uint8_t transmitter[] = {0, 0, 25}, signal[] = {99, 99, 26, 99}, entityState[] = {6, 1, 1, 1};
    EXPECT_EQ(CDisSocket::ClassifyPdu(transmitter, sizeof transmitter), 25);
    EXPECT_EQ(CDisSocket::ClassifyPdu(signal, sizeof signal), 26);
    EXPECT_EQ(CDisSocket::ClassifyPdu(entityState, sizeof entityState), CDisSocket::kOtherPdu);
    EXPECT_EQ(CDisSocket::ClassifyPdu(transmitter, 2), CDisSocket::kOtherPdu);
}

TEST(PduBatchTest, KeepsEachDatagramWithItsSenderAndIsReusedEmpty)
{
    const std::uint8_t first[] = {1, 2, 3}, second[] = {4, 5};
    PduBatch batch;
    batch.Add(first, sizeof first, 0xC0A864C8u);   // 192.168.100.200
    batch.Add(second, sizeof second, 0x0A000005u);
    ASSERT_EQ(batch.Count(), 2u);
    const PduBatch::Entry& last = batch.Entries()[1];
    EXPECT_EQ(last.length, 2u);
    EXPECT_EQ(batch.Pdu(last)[1], 5);
    EXPECT_EQ(batch.Pdu(batch.Entries()[0])[2], 3);
    EXPECT_EQ(SenderAddress(batch.Entries()[0].sender).Text(), "192.168.100.200") << "the longest sender text";
    EXPECT_EQ(SenderAddress(last.sender).Text(), "10.0.0.5");
    batch.Clear();
    EXPECT_TRUE(batch.Empty());
    EXPECT_EQ(batch.Size(), 0u);
}

TEST(NetOptionsTest, ComeFromTheProfile)
{
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    NetOptions defaults = NetOptions::FromProfile(profile);
    EXPECT_EQ(defaults.port, 3000);
    EXPECT_EQ(defaults.multicastAddress, 0u) << "multicast is off by default";
    EXPECT_EQ(defaults.bindAddress, "");
    EXPECT_EQ(defaults.receiveBufferSize, 4 * 1024 * 1024);
    EXPECT_EQ(defaults.queueFlush, 1);

    profile.Write(Profile::Properties::NetworkPort, 3001);
    profile.Write(Profile::Properties::UseMulticast, 1);
    profile.Write(Profile::Network::BindAdx, "127.0.0.1");
    profile.Write(Profile::Network::RecvBuf, 1 << 20);
    const NetOptions chosen = NetOptions::FromProfile(profile);
    EXPECT_EQ(chosen.port, 3001);
    EXPECT_EQ(chosen.multicastAddress, 0xEF000001u) << "the group shown is the group used";
    EXPECT_EQ(chosen.bindAddress, "127.0.0.1");
    EXPECT_EQ(chosen.receiveBufferSize, 1 << 20);
}

}   // namespace
