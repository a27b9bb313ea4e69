#include "cCopyFile.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <optional>
#include <utility>

#include "cContentHash.h"
#include "cFile.h"
#include "cFileError.h"
#include "cReadAhead.h"
#include "cReadBack.h"
#include "mFileSys.h"

namespace {

constexpr std::int32_t kDefaultBufferSize = 0x100000;
// A large copy is flushed, on a thread of its own, each time this much more of it has been
// written, so that the flush at its end, which a stop has to wait for, holds little.
constexpr std::int64_t kFlushStep = 32 * 1024 * 1024;

// Names tried before giving up on finding a free one beside the destination.
constexpr int kTemporaryNameAttempts = 1000;

// Creates the temporary file under the first free name. Creating without opening an existing
// file is the test for "free", so no name is looked up first.
cFile CreateTemporaryBeside(const std::wstring& destination) {
  for (int attempt = 1;; ++attempt) {
    const std::wstring name = mFileSys::TemporaryNameBeside(destination);
    if (attempt == kTemporaryNameAttempts) return cFile::CreateNew(name);  // says why names are taken
    if (auto file = cFile::TryCreateNew(name)) return std::move(*file);
  }
}

// Makes a folder and whichever folders above it are missing.
void CreateFolders(const std::wstring& folder) {
  const auto cut = folder.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0 && folder[cut - 1] != L':' && !mFileSys::FolderAnswers(folder.substr(0, cut)))
    CreateFolders(folder.substr(0, cut));
  mFileSys::CreateFolder(folder);
}

// Where an older backup is kept (empty: it is replaced), and the folder for kept backups this
// engine made last, which many copies in a row share: it is made once for them.
struct Keeping {
  const std::wstring& path;
  std::wstring& madeFolder;
};

enum class Kept { Linked, Moved };

// Runs a call that may block on a device: on the engine's worker, or where it stands.
using AsideCall = std::function<void(const std::function<void()>&)>;

// Keeps the older backup under the name `keeping` gives, then puts the whole copy in its place.
// Where the volume allows, the backup gets that name as a second one and the copy replaces the
// first, so the destination's name is never empty, even for a moment; when the replacing fails,
// the second name goes. Elsewhere (FAT), and for a read-only backup, which a rename would not
// replace, the backup moves aside and comes back when the copy cannot take its place. Either way
// the kept name reaches stable storage with the replacing move, which syncs: a journal keeps the
// two in order.
void KeepAndReplace(const std::wstring& copy, const std::wstring& backup, bool readOnly, const Keeping& keeping) {
  const std::wstring folder = keeping.path.substr(0, keeping.path.find_last_of(L"\\/"));
  const auto makeFolder = [&] {
    AtStep(CopyStep::KeepVersion, [&] { CreateFolders(folder); });
    keeping.madeFolder = folder;
  };
  if (folder != keeping.madeFolder) makeFolder();
  // Keeping the backup fails as its replacement would (another program holds it, say).
  const auto keep = [&] {
    if (!readOnly && mFileSys::LinkAs(backup, keeping.path)) return Kept::Linked;
    mFileSys::MoveTo(backup, keeping.path);
    return Kept::Moved;
  };
  Kept kept;
  try {
    kept = keep();
  } catch (const cFileError&) {
    if (mFileSys::FolderAnswers(folder)) throw;
    makeFolder();  // gone since it was made
    kept = keep();
  }
  try {
    mFileSys::ReplaceWith(copy, backup);
  } catch (const cFileError&) {
    // The failed move's error says why the backup was not replaced, and is the one to report.
    try {
      if (kept == Kept::Linked) mFileSys::RemoveFile(keeping.path);
      else mFileSys::MoveTo(keeping.path, backup);
    } catch (const cFileError&) {
    }
    throw;
  }
}

// Puts a whole copy in place of the older backup. A backup that is read-only because its source
// is loses that attribute just for the rename, which it would refuse, and gets it back when the
// rename fails. A backup that is kept is kept as it is, attributes and all.
void ReplaceBackup(const std::wstring& copy, const std::wstring& backup, mFileSys::Existing existing,
                   const Keeping& keeping) {
  const bool readOnly = existing == mFileSys::Existing::ReadOnly;
  if (!keeping.path.empty()) return KeepAndReplace(copy, backup, readOnly, keeping);
  if (readOnly) mFileSys::SetReadOnly(backup, false);
  try {
    mFileSys::ReplaceWith(copy, backup);
  } catch (const cFileError&) {
    if (!readOnly) throw;
    // The rename's error says why the backup was not replaced, and is the one to report.
    try {
      mFileSys::SetReadOnly(backup, true);
    } catch (const cFileError&) {
    }
    throw;
  }
}

// Owns a file being written until it has become the destination: a temporary file beside an
// older backup, which then replaces it, or a new file under the destination's own name.
class UnfinishedFile {
 public:
  enum class Kind { Temporary, Destination };
  UnfinishedFile(cFile file, Kind kind) : m_File(std::move(file)), m_Path(m_File->Path()), m_Kind(kind) {}
  UnfinishedFile(const UnfinishedFile&) = delete;
  UnfinishedFile& operator=(const UnfinishedFile&) = delete;
  ~UnfinishedFile() {
    if (m_Owned) {
      m_File.reset();  // closed first: an open file cannot be removed
      // Only reached while another error is on its way out; that error is the one to report.
      try {
        RemoveWritten();
      } catch (const cFileError&) {
      }
    }
  }
  cFile& File() { return *m_File; }
  const std::wstring& Path() const { return m_Path; }
  // Gives the written, flushed and checked file its final attributes. They show a file written
  // hidden under the destination's own name, unless they are hidden themselves.
  void SetAttributes(cFile::Attributes attributes) {
    m_File->SetAttributes(attributes);
    m_ReadOnly = attributes.readOnly;
  }
  // Puts the closed file in place of the older backup, which is kept where `keeping` says.
  void Finish(const std::wstring& destination, mFileSys::Existing existing, const Keeping& keeping) {
    if (m_Kind == Kind::Temporary) ReplaceBackup(m_Path, destination, existing, keeping);
    m_Owned = false;
  }
  void Remove() {
    m_File->Close();  // does nothing when closed already
    RemoveWritten();
    m_Owned = false;
  }

 private:
  void RemoveWritten() {
    if (m_ReadOnly) mFileSys::SetReadOnly(m_Path, false);  // Windows removes no read-only file
    mFileSys::RemoveFile(m_Path);
  }

  std::optional<cFile> m_File;
  std::wstring m_Path;
  Kind m_Kind;
  bool m_Owned = true;
  bool m_ReadOnly = false;
};

// What a copy notes of its source before its first read and compares after its last: a source
// written to in between may have given some old bytes and some new ones.
struct SourceState {
  std::int64_t length;
  std::int64_t lastWriteTime;
  bool operator==(const SourceState&) const = default;
};

SourceState StateOf(const cFile& source) { return {source.Length(), source.LastWriteTime()}; }

// How far a copy whose source held still came, and what a whole one takes over from its source:
// its attributes, and the last-write time noted before the first read.
struct Ending {
  std::int64_t copied;
  std::int64_t length;
  cFile::Attributes attributes;
  std::int64_t lastWriteTime;
  bool Whole() const { return copied == length; }
};

// Makes the written file whole: on stable storage, checked, given its attributes and time, and
// closed. A copy cut short by a stop is shown with plain attributes and no time of its source.
// False when a stop came while it was checked: it is not whole then.
bool Complete(UnfinishedFile& target, const Ending& ending, const cContentHash& read, cReadBack& back,
              const cCopyFile::Options& options, const AsideCall& aside, const std::function<bool()>& goOn) {
  if (options.flushToDisk) AtStep(CopyStep::FlushDestination, [&] { aside([&] { target.File().Flush(); }); });
  if (!AtStep(CopyStep::VerifyDestination, [&] { return back.Finish(read, goOn); })) return false;
  // A whole copy keeps its source's last-write time, so that a backup compares by date. It is
  // set only once the bytes are on stable storage, and after the file is shown: a copy cut
  // short never bears the time of a whole one, nor does one ended before it was shown, and
  // both are copied again.
  AtStep(CopyStep::WriteDestination, [&] {
    target.SetAttributes(ending.Whole() ? ending.attributes : cFile::Attributes{});
    if (ending.Whole()) target.File().SetLastWriteTime(ending.lastWriteTime);
    target.File().Close();
  });
  return true;
}

// Frees a copy that is thrown away from its end, a step at a time, before it is removed: under
// Wine the server frees a file's blocks and answers no one meanwhile: some 0.3-0.4 s for 1 GiB at
// once, some 6 ms a step (now and then the system takes 50-100 ms for a step of twice the size).
// A step is shorter than the worker's slice, so `waiting` runs after each: otherwise the steps
// would follow each other without the window's messages being taken.
void FreeInSteps(cFile& file, const AsideCall& aside, const std::function<void()>& waiting) {
  constexpr std::int64_t kFreedAtOnce = 16 << 20;
  for (std::int64_t length = file.Length(); length > 0;) {
    length = std::max<std::int64_t>(0, length - kFreedAtOnce);
    aside([&] { file.Shorten(length); });
    waiting();
  }
}

// Ends a copy whose source held still. One that a stop cut short, in its chunks or while it was
// read back, is thrown away: an older backup stays whole instead of being replaced by the first
// chunks of a newer one. Only where there was no destination does a stop before the first chunk
// leave an empty one.
void EndCopy(cFile& source, UnfinishedFile& target, const std::wstring& destination, mFileSys::Existing existing,
             const Keeping& keeping, const Ending& ending, const cContentHash& read, cReadBack& back,
             const cCopyFile::Options& options, const AsideCall& aside, const std::function<bool()>& goOn) {
  const bool cutShort = !ending.Whole() && (ending.copied > 0 || existing != mFileSys::Existing::None);
  if (cutShort || !Complete(target, ending, read, back, options, aside, goOn)) {
    back.Abandon([&] { goOn(); });
    AtStep(CopyStep::ReadSource, [&] { source.Close(); });
    AtStep(CopyStep::ReplaceDestination, [&] {
      if (target.File().IsOpen()) FreeInSteps(target.File(), aside, [&] { goOn(); });
      target.Remove();
    });
    return;
  }
  AtStep(CopyStep::ReadSource, [&] { source.Close(); });
  AtStep(CopyStep::ReplaceDestination, [&] { target.Finish(destination, existing, keeping); });
}

// Runs a read of the source; false when the source turned out to hold fewer bytes than it had
// when the copy began.
template <class Read>
bool SourceHeld(Read&& read) {
  try {
    AtStep(CopyStep::ReadSource, std::forward<Read>(read));
    return true;
  } catch (const cFileError& error) {
    if (error.Reason() != cFileError::Cause::SourceChanged) throw;
    return false;
  }
}

// Copies the next chunk from the read-ahead. The source was read ahead: one that has shrunk
// since (while a listener ran, say) no longer holds the bytes about to be written, and fails the
// chunk as a short read would. `write` writes, `waiting` runs while the reader is behind.
void CopyChunk(cReadAhead& ahead, const cFile& source, const std::function<void(std::span<const std::byte>)>& write,
               std::int64_t copied, std::size_t length, cContentHash& read, const std::function<void()>& waiting) {
  if (copied > 0 && source.Length() < copied + static_cast<std::int64_t>(length))
    throw cFileError::SourceEnded(source.Path());
  for (std::size_t left = length; left > 0;) {
    const auto bytes = ahead.Take(left, waiting);
    read.Update(bytes);
    AtStep(CopyStep::WriteDestination, [&] { write(bytes); });
    left -= bytes.size();
  }
}

}  // namespace

cCopyFile::cCopyFile(cCopyFileEvents* listener) : cCopyFile(listener, Options{}) {}

cCopyFile::cCopyFile(cCopyFileEvents* listener, Options options)
    : m_Listener(listener), m_Options(options) {
  BufferSize(kDefaultBufferSize);
  m_StopRequest = false;
}

void cCopyFile::BufferSize(std::int32_t vData) { m_BufferSize = vData; }

std::int32_t cCopyFile::BufferSize() const { return m_BufferSize; }

void cCopyFile::CopyStop() { m_StopRequest = true; }

void cCopyFile::CopyFile(const std::wstring& FileFrom, const std::wstring& FileTo, const std::wstring& KeepAs) {
  // The read-ahead's pieces belong to the copy under way.
  if (m_Copying) throw std::logic_error("CopyFile called from inside an event of its own copy");
  m_Copying = true;
  struct EndOnExit {
    bool& copying;
    ~EndOnExit() { copying = false; }
  } end{m_Copying};
  // The listener's messages, and its stop, between the pieces of the read-back.
  const auto goOn = [this] {
    if (m_Listener) m_Listener->CopyWaiting();
    return !std::exchange(m_StopRequest, false);
  };
  // A destination that is not there yet is written under its own name, hidden until it is whole:
  // there is no older backup to keep, and the folder is searched for the name only once. Beside
  // an older backup the copy goes to a temporary file, which replaces it once it is whole.
  std::optional<UnfinishedFile> target;
  if (auto fresh = AtStep(CopyStep::OpenDestination,
                          [&] { return cFile::TryCreateNew(FileTo, cFile::Shown::WhenRevealed); })) {
    target.emplace(std::move(*fresh), UnfinishedFile::Kind::Destination);
  }
  cFile source = AtStep(CopyStep::OpenSource, [&] { return cFile::OpenForReading(FileFrom); });
  const cFile::Attributes attributes = AtStep(CopyStep::MeasureSource, [&] { return source.KeptAttributes(); });
  // A backup made read-only by its read-only source is replaced by the next copy of that source;
  // any other read-only file is left alone.
  const mFileSys::Existing existing =
      target ? mFileSys::Existing::None
             : AtStep(CopyStep::OpenDestination, [&] { return mFileSys::ProbeWritable(FileTo, attributes.readOnly); });
  if (!target) {
    target.emplace(AtStep(CopyStep::CreateTemporary, [&] { return CreateTemporaryBeside(FileTo); }),
                   UnfinishedFile::Kind::Temporary);
  }

  // A source written to while it was copied is copied once more from its start; a second change
  // fails it, and so does a change that a stop came with.
  constexpr int kAttempts = 2;
  for (int attempt = 1;; ++attempt) {
    const SourceState before = AtStep(CopyStep::MeasureSource, [&] { return StateOf(source); });
    // A stop left pending from before this copy means nothing is copied.
    std::int64_t copied = 0;
    cContentHash read;
    cReadBack back(target->Path(), [&] { target->File().Flush(); }, m_Options.verify);
    const bool held = CopyChunks(source, target->File(), before.length, copied, read, back);
    const bool stopped = std::exchange(m_StopRequest, false);
    // Compared once the reader has finished, and only for a copy that read the whole source.
    const bool changed = !held || (copied == before.length &&
                                   AtStep(CopyStep::ReadSource, [&] { return StateOf(source); }) != before);
    if (!changed) {
      EndCopy(source, *target, FileTo, existing, Keeping{KeepAs, m_VersionFolder},
              {copied, before.length, attributes, before.lastWriteTime}, read, back, m_Options,
              [this](const std::function<void()>& call) { Aside(call); }, goOn);
      if (m_Listener) m_Listener->CopyComplete(before.length);
      return;
    }
    if (stopped || attempt == kAttempts) throw cFileError::SourceWrittenDuringCopy(FileFrom);
    back.Abandon();
    AtStep(CopyStep::WriteDestination, [&] { target->File().Empty(); });
    source = AtStep(CopyStep::OpenSource, [&] { return cFile::OpenForReading(FileFrom); });
  }
}

bool cCopyFile::CopyChunks(cFile& source, cFile& target, std::int64_t allBytes, std::int64_t& copied,
                           cContentHash& read, cReadBack& back) {
  if (copied >= allBytes || m_StopRequest) return true;
  // Computed before the reader starts: an invalid chunk size fails before anything is read.
  std::size_t length = ChunkLength(copied, allBytes);
  std::optional<cReadAhead> ahead;
  if (!SourceHeld([&] { ahead.emplace(source, allBytes, PieceBytes(), m_Pieces); }))
    return false;
  const auto write = [&](std::span<const std::byte> bytes) {
    if (bytes.size() > cWorker::kLargestDirectTransfer) Aside([&] { target.Write(bytes); });
    else target.Write(bytes);
  };
  const auto waiting = [this] {
    if (m_Listener) m_Listener->CopyWaiting();
  };
  std::int64_t flushed = 0;
  for (;;) {
    if (!SourceHeld([&] { CopyChunk(*ahead, source, write, copied, length, read, waiting); })) return false;
    copied += static_cast<std::int64_t>(length);
    if (m_Options.flushToDisk && copied - flushed >= kFlushStep && copied < allBytes) {
      back.Written(copied);
      flushed = copied;
    }
    if (m_Listener) m_Listener->CopyProgress(copied, allBytes);
    if (copied >= allBytes || m_StopRequest) return true;
    length = ChunkLength(copied, allBytes);
  }
}

void cCopyFile::Aside(const std::function<void()>& call) {
  if (!m_Options.blockingCallsAside) return call();
  if (!m_Worker) m_Worker.emplace();
  m_Worker->Run(call, [this] {
    if (m_Listener) m_Listener->CopyWaiting();
  });
}

std::size_t cCopyFile::ChunkLength(std::int64_t copied, std::int64_t allBytes) const {
  // The size is read anew for every chunk: a listener may change it between chunks.
  const std::int64_t chunk = m_BufferSize;
  if (chunk < 1) {
    throw cFileError(L"CopyFile", L"", 0, L"invalid chunk length " + std::to_wstring(chunk),
                     cFileError::Cause::InvalidChunkLength, CopyStep::ReadSource);
  }
  const std::int64_t length = copied + chunk > allBytes ? allBytes - copied : chunk;
  return static_cast<std::size_t>(length);
}

std::size_t cCopyFile::PieceBytes() const {
  // About one chunk each, so the two pieces hold about two chunks; not so small that a tiny
  // chunk size makes the reader wait on every few bytes, not so large that a huge one strains a
  // 32-bit address space.
  constexpr std::int64_t kSmallest = 64 * 1024;
  constexpr std::int64_t kLargest = 16 * 1024 * 1024;
  return static_cast<std::size_t>(std::clamp<std::int64_t>(m_BufferSize, kSmallest, kLargest));
}
