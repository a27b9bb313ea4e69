#pragma once
// Makes a copy stable and reads it back from its device while it is still being written. Each
// part written is flushed to stable storage and read back on a thread of its own while the next
// is written, so that the copy never waits for a flush on the way, and once the last chunk is
// flushed only the rest is left to read. The bytes read back hash in order, to be compared with
// what was read from the source: a device that lost or altered bytes without an error (a
// counterfeit or worn flash drive) fails the copy before it replaces anything.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cContentHash.h"
#include "cWorker.h"

class cReadBack {
 public:
  // `flush` makes what has been written to the file at `path` stable; it may be called while the
  // file is written. With `verify` off, parts are flushed but not read back.
  cReadBack(std::wstring path, std::function<void()> flush, bool verify);
  ~cReadBack();
  cReadBack(const cReadBack&) = delete;
  cReadBack& operator=(const cReadBack&) = delete;

  // The bytes before `written` have been written: flushes and reads them back on the thread,
  // unless it is still busy with an earlier part (the next part or Finish takes them then).
  // Throws what the part before failed with.
  void Written(std::int64_t written);
  // Once the whole copy is flushed: waits for the part under way, asking `goOn` meanwhile, then
  // reads back the rest on this thread, asking `goOn` between pieces, and compares it all with
  // `read`. False when `goOn` said stop; throws a file error (VerifyFailed) when the bytes
  // differ. The file is the caller's alone afterwards.
  bool Finish(const cContentHash& read, const std::function<bool()>& goOn);
  // Stops the part under way and waits for it, running `waiting` every few milliseconds: the
  // file can be emptied, closed, removed or renamed then.
  void Abandon(const std::function<void()>& waiting = {});

 private:
  void Part(std::int64_t from, std::int64_t to);

  std::wstring m_Path;
  std::function<void()> m_Flush;
  bool m_Verify;
  cContentHash m_Back;
  std::int64_t m_Checked = 0;  // flushed and read back, or being so by the thread, up to here
  std::atomic<bool> m_Stop{false};
  // Made for the first part: a copy that is flushed once, at its end, has no thread.
  std::optional<cWorker> m_Worker;  // last: gone first, once the part under way has ended
};
