#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "port/DtSockError.h"

namespace {

TEST(DtSockError, ErrnoMapsToTheNearestWinSockText) {
  struct Case {
    int errnoValue;
    int code;
    const char* text;
  };
  const Case cases[] = {
      {ECONNREFUSED, 10061, "Connection refused"},         {EWOULDBLOCK, 10035, "Operation would block"},
      {EADDRINUSE, 10048, "Address Already in use"},       {EINTR, 10004, "Interrupted System Call"},
      {ENOTSOCK, 10038, "Socket operation on non-socket"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DtSockErrorCode(c.errnoValue), c.code) << c.text;
    errno = c.errnoValue;
    EXPECT_STREQ(DtSockErrorString(), c.text);
  }
}

TEST(DtSockError, CodesOutsideTheTableAndUnmappedErrnos) {
  EXPECT_STREQ(DtSockErrorText(10061), "Connection refused");
  EXPECT_STREQ(DtSockErrorText(11004), "Valid name, no data record of requested type");
  EXPECT_STREQ(DtSockErrorText(10010), "unknown (non-WinSock) error");
  EXPECT_EQ(DtSockErrorCode(ENOENT), 0);
  EXPECT_STREQ(DtSockErrorStringFor(ENOENT), std::strerror(ENOENT));
}

}  // namespace
