#pragma once
// The sizes that the FOM's tables start with: object and interaction
// classes, attributes and parameters per class, routing spaces. A table that
// outgrows its size doubles, and the size here grows with it, so that the
// tables made afterwards (by this federate or another in the process) start
// large enough. Each table keeps its own size; these are starting points,
// not limits. The FOM class manager's getters and setters reach them.

#include <atomic>
#include <cstdint>

struct DtFomLimits {
  static inline std::atomic<std::uint32_t> maxClasses{200};
  static inline std::atomic<std::uint32_t> maxAttributes{300};
  static inline std::atomic<std::uint32_t> maxInteractions{200};
  static inline std::atomic<std::uint32_t> maxParameters{300};
  static inline std::atomic<std::uint32_t> maxSpaces{20};
};
