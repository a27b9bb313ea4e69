#pragma once
// Ends the process with a message when what it guards takes longer than its deadline, so a
// benchmark whose window stopped answering fails instead of hanging `make bench`.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class cWatchdog {
 public:
  cWatchdog(std::string what, std::chrono::seconds deadline);
  ~cWatchdog();
  cWatchdog(const cWatchdog&) = delete;
  cWatchdog& operator=(const cWatchdog&) = delete;

 private:
  void Watch(std::chrono::seconds deadline);

  std::string m_What;
  std::mutex m_Lock;
  std::condition_variable m_Done;
  bool m_Finished = false;
  std::thread m_Thread;
};
