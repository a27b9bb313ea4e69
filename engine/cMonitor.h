#pragma once
// A lock and the one condition its holders wait on, for handing work between two threads. On
// Windows it is a slim reader/writer lock with a condition variable: under Wine these wait on
// the address itself, while the C++ library's mutex and condition variable (winpthreads) wait on
// events of the Wine server, each wake a round trip to a server that may be busy creating files
// for another thread. Elsewhere it is the C++ library's pair. Lockable: held through
// std::unique_lock.
#include <chrono>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <condition_variable>
#endif

class cMonitor {
 public:
  cMonitor() = default;
  cMonitor(const cMonitor&) = delete;
  cMonitor& operator=(const cMonitor&) = delete;

#ifdef _WIN32
  void lock() noexcept { AcquireSRWLockExclusive(&m_Lock); }
  void unlock() noexcept { ReleaseSRWLockExclusive(&m_Lock); }
  void NotifyAll() noexcept { WakeAllConditionVariable(&m_Condition); }
#else
  void lock() { m_Mutex.lock(); }
  void unlock() noexcept { m_Mutex.unlock(); }
  void NotifyAll() noexcept { m_Condition.notify_all(); }
#endif

  // With the lock held: waits until `done` holds, or at most `most`; answers `done`.
  template <class Done>
  bool WaitFor(std::unique_lock<cMonitor>& held, std::chrono::milliseconds most, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + most;
    while (!done()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      Block(held, left);
    }
    return true;
  }
  // With the lock held: waits until `done` holds.
  template <class Done>
  void Wait(std::unique_lock<cMonitor>& held, Done done) {
    while (!done()) Block(held, std::chrono::milliseconds(-1));
  }

 private:
  // Releases the lock while it sleeps, up to `most` (negative: no limit), or until woken.
  void Block(std::unique_lock<cMonitor>& held, std::chrono::milliseconds most);

#ifdef _WIN32
  SRWLOCK m_Lock = SRWLOCK_INIT;
  CONDITION_VARIABLE m_Condition = CONDITION_VARIABLE_INIT;
#else
  std::mutex m_Mutex;
  std::condition_variable m_Condition;
#endif
};

#ifdef _WIN32
inline void cMonitor::Block(std::unique_lock<cMonitor>&, std::chrono::milliseconds most) {
  SleepConditionVariableSRW(&m_Condition, &m_Lock, most.count() < 0 ? INFINITE : static_cast<DWORD>(most.count()), 0);
}
#else
inline void cMonitor::Block(std::unique_lock<cMonitor>& held, std::chrono::milliseconds most) {
  std::unique_lock<std::mutex> inner(m_Mutex, std::adopt_lock);
  if (most.count() < 0) m_Condition.wait(inner);
  else m_Condition.wait_for(inner, most);
  inner.release();  // still held, by `held`
  (void)held;
}
#endif
