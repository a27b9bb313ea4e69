#include "cWorker.h"

#include <utility>

cWorker::cWorker() : m_Thread([this] { Serve(); }) {}

cWorker::~cWorker() {
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Quit = true;
  }
  m_Changed.notify_all();
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
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Call = std::move(call);
    m_Pending = true;
    m_Done = false;
    m_Failure = nullptr;
  }
  m_Changed.notify_all();
}

bool cWorker::Wait(std::chrono::milliseconds most) {
  std::unique_lock<std::mutex> lock(m_Mutex);
  return m_Changed.wait_for(lock, most, [this] { return m_Done; });
}

void cWorker::Rethrow() {
  std::lock_guard<std::mutex> lock(m_Mutex);
  if (m_Failure) std::rethrow_exception(m_Failure);
}

void cWorker::Serve() {
  std::unique_lock<std::mutex> lock(m_Mutex);
  for (;;) {
    m_Changed.wait(lock, [this] { return m_Quit || m_Pending; });
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
    m_Changed.notify_all();
  }
}
