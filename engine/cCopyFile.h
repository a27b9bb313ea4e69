#pragma once
// Copies one file to another path in chunks of BufferSize bytes, telling its listener after
// every chunk and once at the end. The source is read ahead on a thread of its own while the
// caller's thread writes and raises the events, so both devices stay busy. The copy is
// written to a temporary file beside the destination and takes the destination's place only
// once it is on stable storage and has been read back as what was read from the source, so a
// failed, stopped or corrupted copy leaves an earlier backup as it was; the caller may have that
// backup kept under another name rather than deleted. A source written to while
// it is copied is copied once more; a whole copy ends with its source's read-only, hidden, system
// and archive attributes and its last-write time from before the first read.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cCopyFileEvents.h"
#include "cWorker.h"

// <windows.h> maps CopyFile onto CopyFileW. Taking it in first and dropping that macro keeps
// the member's name the same in every file, whatever order they include headers in.
#ifdef _WIN32
#include <windows.h>
#undef CopyFile
#endif

class cContentHash;
class cFile;
class cReadBack;

class cCopyFile {
 public:
  struct Options {
    // Off only for measuring what the flush to stable storage costs.
    bool flushToDisk = true;
    // Off only for measuring what the check of every copy costs: the copy is read back from
    // its device and must hash as the bytes read from the source did.
    bool verify = true;
    // Writes and flushes that may block on a device go to a thread of their own, so that the
    // calling thread raises CopyWaiting meanwhile. Off for a copy made on a thread of its own
    // for a small file, where each hand-over would cost more than it saves.
    bool blockingCallsAside = true;
  };

  explicit cCopyFile(cCopyFileEvents* listener = nullptr);
  cCopyFile(cCopyFileEvents* listener, Options options);

  // The listener of the copies from now on; not owned.
  void Listener(cCopyFileEvents* vData) noexcept { m_Listener = vData; }
  cCopyFileEvents* Listener() const noexcept { return m_Listener; }
  void BufferSize(std::int32_t vData);
  std::int32_t BufferSize() const;
  const Options& Choices() const noexcept { return m_Options; }
  void CopyStop();
  // With `KeepAs`, an older backup at FileTo is not deleted but moved there (folders made as
  // needed), once the copy has passed its checks and just before the copy takes its place; it
  // comes back when that fails. Without it, an older backup is replaced.
  void CopyFile(const std::wstring& FileFrom, const std::wstring& FileTo, const std::wstring& KeepAs = {});

 private:
  // Copies until the source's end or a stop; false when the source ended before allBytes.
  bool CopyChunks(cFile& source, cFile& target, std::int64_t allBytes, std::int64_t& copied, cContentHash& read,
                  cReadBack& back);
  // Runs a call that may block on a device on the worker, the listener waiting meanwhile.
  void Aside(const std::function<void()>& call);
  std::size_t ChunkLength(std::int64_t copied, std::int64_t allBytes) const;
  std::size_t PieceBytes() const;

  bool m_StopRequest = false;
  std::int32_t m_BufferSize = 0;
  // The read-ahead's two pieces, kept between copies.
  std::vector<std::byte> m_Pieces[2];
  std::wstring m_VersionFolder;  // the folder of kept backups made last, shared by the copies after
  bool m_Copying = false;  // a copy is under way: a listener cannot start another from an event
  cCopyFileEvents* m_Listener;  // not owned
  Options m_Options;
  std::optional<cWorker> m_Worker;  // writes and flushes, while the listener keeps waiting; made at the first
};
