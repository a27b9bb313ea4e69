#include "cWorker.h"

#include <utility>

cWorker::cWorker() : m_Thread([this] { Serve(); }) {}

cWorker::~cWorker() {
  {
    std::lock_guard<cMonitor> lock(m_Monitor);
    m_Quit = true;
  }
  m_Monitor.NotifyAll();
  m_Thread.join();
}

void cWorker::Run(const std::function<void()>& call, const std::function<void()>& waiting) {
  Start(call);
  std::exception_ptr waitingFailure;
  while (!Wait(kSlice)) {
    if (waitingFailure || !waiting) continue;
    try {
      waiting();
    } catch (...) {
      waitingFailure = std::current_exception();  // the call still uses the caller's state
    }
  }
  Rethrow();
  if (waitingFailure) std::rethrow_exception(waitingFailure);
}

void cWorker::Start(std::function<void()> call) {
  {
    std::lock_guard<cMonitor> lock(m_Monitor);
    m_Call = std::move(call);
    m_Pending = true;
    m_Done = false;
    m_Failure = nullptr;
  }
  m_Monitor.NotifyAll();
}

bool cWorker::Wait(std::chrono::milliseconds most) {
  std::unique_lock<cMonitor> lock(m_Monitor);
  return m_Monitor.WaitFor(lock, most, [this] { return m_Done; });
}

void cWorker::Rethrow() {
  std::lock_guard<cMonitor> lock(m_Monitor);
  if (m_Failure) std::rethrow_exception(m_Failure);
}

void cWorker::Serve() {
  std::unique_lock<cMonitor> lock(m_Monitor);
  for (;;) {
    m_Monitor.Wait(lock, [this] { return m_Quit || m_Pending; });
    if (m_Quit) return;
    const std::function<void()> call = std::move(m_Call);
    m_Pending = false;
    lock.unlock();
    std::exception_ptr failure;
    try {
      call();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    m_Failure = failure;
    m_Done = true;
    m_Monitor.NotifyAll();
  }
}
