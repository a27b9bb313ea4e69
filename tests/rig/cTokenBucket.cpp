#include "cTokenBucket.h"

#include <algorithm>
#include <thread>

namespace {
// A short burst only: an idle device may not bank more than 1/20 s of transfer.
constexpr double kBurstSeconds = 0.05;
}  // namespace

cTokenBucket::cTokenBucket(double bytesPerSecond)
    : m_Rate(bytesPerSecond), m_Burst(bytesPerSecond * kBurstSeconds), m_Tokens(m_Burst), m_Last(Clock::now()) {}

void cTokenBucket::Take(std::size_t bytes) {
  if (m_Rate <= 0) return;
  double wait = 0;
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const Clock::time_point now = Clock::now();
    m_Tokens = std::min(m_Burst, m_Tokens + std::chrono::duration<double>(now - m_Last).count() * m_Rate);
    m_Last = now;
    m_Tokens -= static_cast<double>(bytes);
    // Transfers queue behind each other: the debt includes those still waiting.
    if (m_Tokens < 0) wait = -m_Tokens / m_Rate;
  }
  if (wait > 0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
}
