#pragma once
// Copies of small files, several at once. Each copy goes on a lane of its own, a thread with an
// engine, so that one file's create, flush and read-back overlap another's: the disk takes the
// flushes together, and a file system that is slow to make a name (Wine's, in a large folder)
// makes it on one core while another file is written. Every copy keeps the engine's rules as it
// would alone (checked, in place only once whole, an older backup kept or replaced); the results
// are taken in the order the copies were launched, and no event is raised on a lane: the caller
// raises them as it takes each result. A large file goes through the caller's engine, alone.
//
// A stop reaches every copy in flight and acts there as a stop of its own copy would: a file
// written in full is finished, any other is given up with its older backup kept.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cCopyFile.h"

class cCopyFlight {
 public:
  static constexpr std::size_t kLanes = 4;
  // Files larger than this are copied one at a time, where the device is the limit.
  static constexpr std::int64_t kLargestFile = 1024 * 1024;

  struct Result {
    enum class End { Copied, Stopped, Failed };
    End end;
    std::int64_t bytes;           // the source's measured length, for a copy that ended
    std::exception_ptr failure;   // what the failed copy threw
  };

  // Copies with the chunk size and options of `model` on up to `lanes` lanes, made as needed.
  explicit cCopyFlight(const cCopyFile& model, std::size_t lanes = kLanes);
  // Stops what is in flight and waits for it.
  ~cCopyFlight();
  cCopyFlight(const cCopyFlight&) = delete;
  cCopyFlight& operator=(const cCopyFlight&) = delete;

  // Whether a copy of a file of this many bytes may be launched now.
  bool Takes(std::int64_t bytes) const;
  // Starts a copy as cCopyFile::CopyFile would make it.
  void Launch(const std::wstring& from, const std::wstring& to, const std::wstring& keepAs = {});
  std::size_t InFlight() const noexcept { return m_Order.size(); }
  // Waits at most `most` for the oldest copy in flight; its result once it has ended.
  std::optional<Result> TakeOldest(std::chrono::milliseconds most);
  // Every copy in flight and any launched later; it cannot be taken back.
  void Stop() noexcept { m_Stop = true; }

 private:
  class Lane;

  Lane& FreeLane();

  std::int32_t m_BufferSize;
  cCopyFile::Options m_Options;
  std::size_t m_Lanes;
  std::atomic<bool> m_Stop{false};
  std::vector<std::unique_ptr<Lane>> m_Free;
  std::deque<std::unique_ptr<Lane>> m_Order;  // the lanes with a copy, oldest first
};
