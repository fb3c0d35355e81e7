// Bounds the recursion of the reader, the evaluator and the printer, so that
// a configuration nested too deeply fails with the language error instead of
// overflowing the native stack.
#pragma once

#include "config/DtlError.h"

class DtlDepthGuard {
public:
  // Deep enough for any configuration file, shallow enough for the stack of
  // a secondary thread even in a sanitizer build.
  static constexpr int MaxDepth = 2000;

  DtlDepthGuard(int& depth, const char* message) : depth_(depth) {
    if (depth_ >= MaxDepth) DtlError(message);
    ++depth_;
  }
  ~DtlDepthGuard() { --depth_; }
  DtlDepthGuard(const DtlDepthGuard&) = delete;
  DtlDepthGuard& operator=(const DtlDepthGuard&) = delete;

private:
  int& depth_;
};
