#include "util/DtTimeFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

char* DtFormatTime(double hours, char* buffer, std::size_t size, int decimals) {
  if (!buffer || size == 0) return buffer;
  if (std::isnan(hours)) {
    std::snprintf(buffer, size, "nan");
    return buffer;
  }
  decimals = std::clamp(decimals, 0, 9);
  const double scale = std::pow(10.0, decimals);
  const auto intScale = static_cast<std::int64_t>(scale);
  const std::int64_t unitsPerHour = intScale * 3600;
  const std::int64_t unitsPerMinute = intScale * 60;
  // Times too far out for the units are held at the largest one.
  const double units = std::fabs(hours) * static_cast<double>(unitsPerHour) + 0.5;
  const std::int64_t total = units < 9.2e18 ? static_cast<std::int64_t>(units) : INT64_MAX;

  const std::int64_t wholeHours = total / unitsPerHour;
  const std::int64_t rest = total % unitsPerHour;
  const auto minutes = static_cast<int>(rest / unitsPerMinute);
  const double seconds = static_cast<double>(rest % unitsPerMinute) / scale;
  const int width = decimals ? decimals + 3 : 2;
  std::snprintf(buffer, size, "%s%lld:%2.2d:%0*.*f", hours >= 0 ? "" : "-", static_cast<long long>(wholeHours), minutes,
                width, decimals, seconds);
  return buffer;
}

const char* DtTimeToString(double hours) {
  thread_local char text[48];
  return DtFormatTime(hours, text, 1);
}
