#include "cWorker.h"

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
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Call = &call;
    m_Done = false;
    m_Failure = nullptr;
  }
  m_Changed.notify_all();
  std::exception_ptr waitingFailure;
  std::unique_lock<std::mutex> lock(m_Mutex);
  while (!m_Changed.wait_for(lock, kSlice, [this] { return m_Done; })) {
    if (waitingFailure || !waiting) continue;
    lock.unlock();
    try {
      waiting();
    } catch (...) {
      waitingFailure = std::current_exception();  // the call still uses the caller's state
    }
    lock.lock();
  }
  if (m_Failure) std::rethrow_exception(m_Failure);
  if (waitingFailure) std::rethrow_exception(waitingFailure);
}

void cWorker::Serve() {
  std::unique_lock<std::mutex> lock(m_Mutex);
  for (;;) {
    m_Changed.wait(lock, [this] { return m_Quit || m_Call; });
    if (m_Quit) return;
    const std::function<void()>& call = *m_Call;
    m_Call = nullptr;
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
