#pragma once
// Limits a byte stream to a rate: every transfer takes its size in tokens, which come back at
// the rate, and waits until the device would have finished it, after every transfer queued
// before it. Safe to share among threads.
#include <chrono>
#include <cstddef>
#include <mutex>

class cTokenBucket {
 public:
  // bytesPerSecond 0: no limit.
  explicit cTokenBucket(double bytesPerSecond);
  cTokenBucket(const cTokenBucket&) = delete;
  cTokenBucket& operator=(const cTokenBucket&) = delete;

  // Blocks the calling thread until the device would have moved these bytes.
  void Take(std::size_t bytes);

 private:
  using Clock = std::chrono::steady_clock;
  const double m_Rate;
  std::mutex m_Mutex;
  double m_Tokens;  // below zero: owed by transfers still waiting
  Clock::time_point m_Last;
};
