#pragma once
// A thread of its own for the calls of a copy that may block on a device for long (a write of a
// chunk, a flush), so that the thread that raises the copy's events keeps answering: it waits
// for each call in short slices and does `waiting` between them (the window looks at its
// messages there). One call at a time. Run waits for it, and the caller's thread does nothing else
// meanwhile, so the call needs no lock of its own; Start leaves the caller free, and what the
// call shares with it is then the caller's to guard.
#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <thread>

#include "cMonitor.h"

class cWorker {
 public:
  static constexpr std::chrono::milliseconds kSlice{20};
  // Reads and writes of up to this many bytes are made on the thread that asks: they end in the
  // system's cache, or within a few milliseconds on a slow stick. Larger ones go to a thread of
  // their own.
  static constexpr std::size_t kLargestDirectTransfer = 256 * 1024;

  cWorker();
  // Ends the thread once it is idle.
  ~cWorker();
  cWorker(const cWorker&) = delete;
  cWorker& operator=(const cWorker&) = delete;

  // Runs `call` on the worker's thread and returns once it has returned, throwing what it threw.
  // `waiting` runs on this thread every kSlice meanwhile; what it throws is thrown once the call
  // has returned, and it is not run again for this call.
  void Run(const std::function<void()>& call, const std::function<void()>& waiting);
  // Starts `call` on the worker's thread and returns at once; the worker must be idle.
  void Start(std::function<void()> call);
  // Waits at most `most` for the call started last; true once it has returned.
  bool Wait(std::chrono::milliseconds most);
  // Once it has returned: throws what it threw.
  void Rethrow();

 private:
  void Serve();

  cMonitor m_Monitor;
  std::function<void()> m_Call;  // the call to make, until it is made
  bool m_Pending = false;
  bool m_Done = true;
  bool m_Quit = false;
  std::exception_ptr m_Failure;
  std::thread m_Thread;  // last: started once everything it uses exists
};
