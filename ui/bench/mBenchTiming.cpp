#include "mBenchTiming.h"

#include <algorithm>
#include <stdexcept>

namespace mBenchTiming {

double SecondsBetween(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double>(end - start).count();
}

double SecondsSince(Clock::time_point start) { return SecondsBetween(start, Clock::now()); }

double Median(std::vector<double> values) {
  if (values.empty()) throw std::logic_error("median of no values");
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace mBenchTiming
