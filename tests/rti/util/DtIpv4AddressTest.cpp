#include "util/DtIpv4Address.h"

#include <gtest/gtest.h>

TEST(DtIpv4Address, WritesDottedTextHighOctetFirst) {
  EXPECT_EQ(DottedAddress(0x0A010203u), "10.1.2.3");
  EXPECT_EQ(DottedAddress(0), "0.0.0.0");
  EXPECT_EQ(DottedAddress(0xFFFFFFFFu), "255.255.255.255");
}

TEST(DtIpv4Address, ReadsExactlyFourDecimalOctets) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> address;
  };
  const Case cases[] = {
      {"10.1.2.3", 0x0A010203u},
      {"0.0.0.0", 0u},
      {"255.255.255.255", 0xFFFFFFFFu},
      {"224.0.0.1", 0xE0000001u},
      {"", std::nullopt},
      {"10.1.2", std::nullopt},
      {"10.1.2.3.4", std::nullopt},
      {"10.1.2.256", std::nullopt},
      {"10.01.2.3", std::nullopt},
      {"10.1.2.3 ", std::nullopt},
      {" 10.1.2.3", std::nullopt},
      {"10..2.3", std::nullopt},
      {"10.1.2.-3", std::nullopt},
      {"0x0a.1.2.3", std::nullopt},
      {"1000.1.2.3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDottedAddress(c.text), c.address) << '"' << c.text << '"';
}
