#pragma once
// The clock and the statistics the window benchmark reports with.
#include <chrono>
#include <vector>

namespace mBenchTiming {

using Clock = std::chrono::steady_clock;

double SecondsBetween(Clock::time_point start, Clock::time_point end);
double SecondsSince(Clock::time_point start);
// The middle value; of an even count, the upper of the two middle ones.
double Median(std::vector<double> values);

}  // namespace mBenchTiming
