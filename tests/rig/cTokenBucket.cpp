#include "cTokenBucket.h"

#include <algorithm>
#include <thread>

// The bucket holds nothing while the device is idle: a device that could bank idle time would do
// work in the background while a program waits on the other device, and so hide exactly the
// cost of taking turns that the rig is there to show.
cTokenBucket::cTokenBucket(double bytesPerSecond) : m_Rate(bytesPerSecond), m_Tokens(0), m_Last(Clock::now()) {}

void cTokenBucket::Take(std::size_t bytes) {
  if (m_Rate <= 0) return;
  double wait = 0;
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const Clock::time_point now = Clock::now();
    m_Tokens = std::min(0.0, m_Tokens + std::chrono::duration<double>(now - m_Last).count() * m_Rate);
    m_Last = now;
    m_Tokens -= static_cast<double>(bytes);
    // Transfers queue behind each other: the debt includes those still waiting.
    if (m_Tokens < 0) wait = -m_Tokens / m_Rate;
  }
  if (wait > 0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
}
