#include "cWatchdog.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

cWatchdog::cWatchdog(std::string what, std::chrono::seconds deadline)
    : m_What(std::move(what)), m_Thread([this, deadline] { Watch(deadline); }) {}

cWatchdog::~cWatchdog() {
  {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Finished = true;
  }
  m_Done.notify_one();
  m_Thread.join();
}

void cWatchdog::Watch(std::chrono::seconds deadline) {
  std::unique_lock<std::mutex> hold(m_Lock);
  if (m_Done.wait_for(hold, deadline, [this] { return m_Finished; })) return;
  std::fprintf(stderr, "window_bench: %s took longer than %lld s; stopped\n", m_What.c_str(),
               static_cast<long long>(deadline.count()));
  std::fflush(stderr);
  std::_Exit(3);
}
