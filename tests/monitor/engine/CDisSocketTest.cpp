#include "PortHolder.h"

#include "engine/CDisSocket.h"
#include "engine/CProfile.h"
#include "engine/PduBatch.h"
#include "engine/SenderAddress.h"
#include "util/DtIpv4Address.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

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
