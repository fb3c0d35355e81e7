// The address functions: text, multicast ranges, netmasks and broadcast.

#include "net/DtNetAddress.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "rti/util/NotifyCapture.h"

namespace {

// Sets DtNetmask for the life of the object.
class NetmaskVariable {
public:
  explicit NetmaskVariable(const char* value) { setenv("DtNetmask", value, 1); }
  ~NetmaskVariable() { unsetenv("DtNetmask"); }
};

TEST(DtNetAddress, TextAndMulticastRange) {
  EXPECT_STREQ(DtAddrToString(0x0A010203u), "10.1.2.3");
  EXPECT_EQ(DtStringToAddr("229.7.7.7"), 0xE5070707u);
  EXPECT_EQ(DtStringToAddr("no address"), 0xFFFFFFFFu);
  EXPECT_EQ(DtStringToAddr(nullptr), 0xFFFFFFFFu);
  EXPECT_FALSE(DtIsMulticastAddr(DtStringToAddr("223.255.255.255")));
  EXPECT_TRUE(DtIsMulticastAddr(DtStringToAddr("224.0.0.0")));
  EXPECT_TRUE(DtIsMulticastAddr(DtStringToAddr("239.255.255.255")));
  EXPECT_FALSE(DtIsMulticastAddr(DtStringToAddr("240.0.0.0")));
  DtSockAddr address;
  DtMakeSockAddr(&address, 0x7F000001u, 4000);
  EXPECT_EQ(address.address, 0x7F000001u);
  EXPECT_EQ(address.port, 4000);
}

TEST(DtNetAddress, NetmaskFromTheEnvironmentDottedOrHexadecimal) {
  NotifyCapture capture;
  EXPECT_EQ(DtNetmaskFromEnv(), 0u);
  for (const char* text : {"255.255.0.0", "0xffff0000", "0XFFFF0000"}) {
    NetmaskVariable mask(text);
    EXPECT_EQ(DtNetmaskFromEnv(), 0xFFFF0000u) << text;
    EXPECT_EQ(DtLocalNetmask(), 0xFFFF0000u) << text;
    EXPECT_EQ(DtDirectedBroadcast(DtStringToAddr("10.1.2.3"), DtNetmaskFromEnv()), DtStringToAddr("10.1.255.255"));
  }
  EXPECT_NE(capture.text().find("Netmask: 255.255.0.0\n"), std::string::npos);
}

TEST(DtNetAddress, NetmaskThatIsNoNetmaskIsReportedAndIgnored) {
  NotifyCapture capture;
  for (const char* text : {"255.255.0", "0x", "0xffffg000", "0x1ffffffff", "mask"}) {
    NetmaskVariable mask(text);
    EXPECT_EQ(DtNetmaskFromEnv(), 0u) << text;
    EXPECT_NE(DtLocalNetmask(), 0u) << text;
  }
  EXPECT_NE(capture.text().find("DtNetmask \"mask\" is not a netmask: ignored\n"), std::string::npos);
}

TEST(DtNetAddress, BroadcastAddressOfThisHost) {
  NetmaskVariable mask("255.255.0.0");
  NotifyCapture capture;
  EXPECT_EQ(DtBroadcastAddr(), (DtLocalHostAddr() & 0xFFFF0000u) | 0xFFFFu);
  EXPECT_NE(DtLocalHostAddr(), 0u);
}

}  // namespace
