#pragma once
// Maps the engine's 64-bit byte counts onto the progress bar's signed 32-bit range.
#include <cstdint>

namespace mProgressScale {

struct BarValues {
  std::int32_t max;
  std::int32_t value;
};

// Exactly the counts below 2 GiB; beyond that both divided by the same factor.
BarValues Scale(std::int64_t copyBytes, std::int64_t allBytes);

}  // namespace mProgressScale
