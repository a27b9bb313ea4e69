#include "mProgressScale.h"

#include <limits>

namespace mProgressScale {

BarValues Scale(std::int64_t copyBytes, std::int64_t allBytes) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t factor = 1;
  if (allBytes > kLimit) factor = allBytes / kLimit + (allBytes % kLimit != 0 ? 1 : 0);
  return {static_cast<std::int32_t>(allBytes / factor), static_cast<std::int32_t>(copyBytes / factor)};
}

}  // namespace mProgressScale
