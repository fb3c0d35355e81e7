#include "util/DtPrintField.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "util/DtNotify.h"

namespace {
const char* orNull(const char* text) { return text ? text : "null"; }
}  // namespace

void DtPrintField(const char* label, long value) { DtNotifyInfo("%-20s %ld\n", orNull(label), value); }

void DtPrintField(const char* label, int value) { DtNotifyInfo("%-20s %d\n", orNull(label), value); }

void DtPrintField(const char* label, unsigned int value) { DtNotifyInfo("%-20s %u\n", orNull(label), value); }

void DtPrintField(const char* label, unsigned long value) { DtNotifyInfo("%-20s %lx\n", orNull(label), value); }

void DtPrintField(const char* label, double value) { DtNotifyInfo("%-20s %lf\n", orNull(label), value); }

void DtPrintField(const char* label, const char* text) { DtNotifyInfo("%-20s %s\n", orNull(label), orNull(text)); }

void DtPrintField(const char* label, const char* text, int value) {
  DtNotifyInfo("%-20s %s   (%d)\n", orNull(label), orNull(text), value);
}

void DtPrintFlag(const char* label, char flag, int onlyTrue) {
  if (flag == 1) {
    DtNotifyInfo("%-20s %s\n", orNull(label), "TRUE");
  } else if (onlyTrue == 0) {
    DtNotifyInfo("%-20s %s\n", orNull(label), "FALSE");
  }
}

void DtPrintBytes(const char* label, const void* buffer, int length) {
  DtNotifyInfo("%-20s \n", orNull(label));
  DtHexDump(buffer, length, 0);
}

void DtHexDump(const void* buffer, int length, int withAddresses) {
  if (!buffer || length <= 0) return;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  constexpr int rowBytes = 8;
  for (int row = 0; row < length; row += rowBytes) {
    // Address (up to "0x" + 16 digits + ": ") and 8 × "xx " fit easily.
    char line[64];
    int used = 0;
    if (withAddresses) {
      used = std::snprintf(line, sizeof line, "0x%" PRIXPTR ": ", reinterpret_cast<std::uintptr_t>(bytes + row));
    }
    for (int i = row; i < length && i < row + rowBytes; ++i) {
      used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), "%02x ", bytes[i]);
    }
    DtNotifyInfo("%s\n", line);
  }
}
