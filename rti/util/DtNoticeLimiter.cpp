#include "util/DtNoticeLimiter.h"

#include <algorithm>
#include <cstdarg>

#include "util/DtClock.h"
#include "util/DtFormattedText.h"
#include "util/DtNotify.h"

namespace {

struct ClockHolder {
  std::mutex lock;
  DtNoticeLimiter::Clock clock;
};

ClockHolder& clockHolder() {
  static ClockHolder* const holder = new ClockHolder;  // outlives every report at exit
  return *holder;
}

}  // namespace

void DtNoticeLimiter::setClock(Clock clock) {
  ClockHolder& holder = clockHolder();
  const std::lock_guard<std::mutex> guard(holder.lock);
  holder.clock = std::move(clock);
}

double DtNoticeLimiter::now() {
  ClockHolder& holder = clockHolder();
  const std::lock_guard<std::mutex> guard(holder.lock);
  return holder.clock ? holder.clock() : DtRealTime();
}

bool DtNoticeLimiter::admit(const std::string& reason, unsigned long* heldBack) {
  const double time = now();
  const std::lock_guard<std::mutex> guard(lock_);
  const auto [place, first] = records_.try_emplace(reason);
  Record& record = place->second;
  // A clock that went back (another clock installed) starts the count again,
  // and so does a reason that had stopped coming.
  const bool anew = first || time < record.lastAt || time - record.lastAt > record.interval;
  record.lastAt = time;
  if (anew) {
    record.interval = interval_;
  } else if (time - record.printedAt < record.interval) {
    ++record.heldBack;
    return false;
  } else {
    record.interval = std::min(2 * record.interval, longestInterval_);
  }
  if (heldBack) *heldBack = record.heldBack;
  record.printedAt = time;
  record.heldBack = 0;
  return true;
}

namespace {

void notifyAdmitted(DtNoticeLimiter& limiter, const std::string& reason, const char* format, va_list args) {
  if (DtGetNotifyLevel() < 1) return;
  unsigned long heldBack = 0;
  if (!limiter.admit(reason, &heldBack)) return;
  const DtFormattedText text(format, args);
  std::string line = text.text();
  if (heldBack > 0) {
    const bool newline = !line.empty() && line.back() == '\n';
    if (newline) line.pop_back();
    line += " (" + std::to_string(heldBack) + " more like it not printed)";
    if (newline) line += '\n';
  }
  DtNotifyError("%s", line.c_str());
}

}  // namespace

void DtNotifyErrorLimited(const std::string& reason, const char* format, ...) {
  static DtNoticeLimiter* const limiter = new DtNoticeLimiter(1.0);
  va_list args;
  va_start(args, format);
  notifyAdmitted(*limiter, reason, format, args);
  va_end(args);
}

void DtNotifyErrorThrough(DtNoticeLimiter& limiter, const std::string& reason, const char* format, ...) {
  va_list args;
  va_start(args, format);
  notifyAdmitted(limiter, reason, format, args);
  va_end(args);
}
