#pragma once
// DtNoticeLimiter: keeps reports that input from outside can set off (a
// peer's malformed message, datagrams the system dropped) from flooding the
// log. A report of one reason is printed at most once per interval; the
// next one of that reason that is printed says how many were held back.
//
// A condition that persists (a broken connection that every tick meets)
// wants its reports further and further apart: with a longest interval, the
// interval of a reason doubles at each report printed while its reports keep
// coming, up to the longest. A reason that has not come for longer than its
// interval starts again at the first interval, printed at once.
//
// Time comes from one process-wide clock, DtRealTime unless a test installs
// another (setClock). Thread safe.

#include <functional>
#include <map>
#include <mutex>
#include <string>

class DtNoticeLimiter {
public:
  using Clock = std::function<double()>;

  explicit DtNoticeLimiter(double interval = 1.0) : interval_(interval), longestInterval_(interval) {}
  DtNoticeLimiter(double interval, double longestInterval)
      : interval_(interval), longestInterval_(longestInterval < interval ? interval : longestInterval) {}
  DtNoticeLimiter(const DtNoticeLimiter&) = delete;
  DtNoticeLimiter& operator=(const DtNoticeLimiter&) = delete;

  // True when a report of `reason` may be printed now; `heldBack` (may be
  // null) then gets the number of reports of it refused since the last one
  // admitted. A refused report is counted.
  bool admit(const std::string& reason, unsigned long* heldBack);

  // The clock of every limiter, in seconds; an empty one restores DtRealTime.
  static void setClock(Clock clock);
  static double now();

private:
  struct Record {
    double printedAt = 0.0;
    double lastAt = 0.0;  // of the last report, printed or not
    double interval = 0.0;
    unsigned long heldBack = 0;
  };

  double interval_;
  double longestInterval_;
  std::mutex lock_;
  std::map<std::string, Record> records_;
};

// DtNotifyError, at most once a second for each reason (a short fixed text,
// such as a message class and what was wrong with it). When reports of the
// reason were held back since the last one printed, the line says how many
// before its line end.
void DtNotifyErrorLimited(const std::string& reason, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same through a limiter of the caller's.
void DtNotifyErrorThrough(DtNoticeLimiter& limiter, const std::string& reason, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
