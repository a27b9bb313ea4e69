#include "cCopyFile.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "cContentHash.h"
#include "cFile.h"
#include "cFileError.h"
#include "cReadAhead.h"
#include "mFileSys.h"

namespace {

constexpr std::int32_t kDefaultBufferSize = 0x100000;

// Runs one step of a copy; a file error that escapes it is labelled with the step.
template <class Action>
decltype(auto) AtStep(CopyStep step, Action&& action) {
  try {
    return std::forward<Action>(action)();
  } catch (cFileError& error) {
    if (error.Step() == CopyStep::None) error.SetStep(step);
    throw;
  }
}

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

// Owns the temporary file, open for writing, until it has become the destination.
class TemporaryFile {
 public:
  explicit TemporaryFile(cFile file) : m_File(std::move(file)), m_Path(m_File->Path()) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (m_Owned) {
      m_File.reset();  // closed first: an open file cannot be removed
      // Only reached while another error is on its way out; that error is the one to report.
      try {
        mFileSys::RemoveFile(m_Path);
      } catch (const cFileError&) {
      }
    }
  }
  cFile& File() { return *m_File; }
  const std::wstring& Path() const { return m_Path; }
  void MoveTo(const std::wstring& destination) {
    mFileSys::ReplaceWith(m_Path, destination);
    m_Owned = false;
  }
  void Remove() {
    mFileSys::RemoveFile(m_Path);
    m_Owned = false;
  }

 private:
  std::optional<cFile> m_File;
  std::wstring m_Path;
  bool m_Owned = true;
};

// Reads the copy back from its device: a device that lost or altered bytes without an error
// (a counterfeit or worn flash drive) fails the copy here, before it replaces anything.
void Verify(const std::wstring& copy, const cContentHash& read) {
  cContentHash back;
  mFileSys::ReadBack(copy, [&](std::span<const std::byte> bytes) { back.Update(bytes); });
  if (back.Length() != read.Length() || back.Digest() != read.Digest()) {
    throw cFileError(L"ReadFile", copy, 0, L"the copy read back differs from the source",
                     cFileError::Cause::VerifyFailed, CopyStep::VerifyDestination);
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

void cCopyFile::CopyFile(const std::wstring& FileFrom, const std::wstring& FileTo) {
  const bool destinationExisted =
      AtStep(CopyStep::OpenDestination, [&] { return mFileSys::ProbeWritable(FileTo); });
  const std::int64_t allBytes =
      AtStep(CopyStep::MeasureSource, [&] { return mFileSys::FileLength(FileFrom); });
  cFile source = AtStep(CopyStep::OpenSource, [&] { return cFile::OpenForReading(FileFrom); });

  TemporaryFile temporary(AtStep(CopyStep::CreateTemporary, [&] { return CreateTemporaryBeside(FileTo); }));
  cFile& target = temporary.File();

  // A stop left pending from before this copy means nothing is copied.
  std::int64_t copied = 0;
  cContentHash read;
  CopyChunks(source, target, allBytes, copied, read);
  m_StopRequest = false;
  // A copy that stopped short is thrown away: an older backup stays whole instead of being
  // replaced by the first chunks of a newer one. Only where there was no destination does a
  // stop before the first chunk leave an empty one.
  const bool discard = copied < allBytes && (copied > 0 || destinationExisted);

  // A complete copy keeps its source's last-write time, so a backup compares by date.
  if (copied == allBytes) {
    AtStep(CopyStep::WriteDestination, [&] { target.SetLastWriteTime(source.LastWriteTime()); });
  }
  AtStep(CopyStep::ReadSource, [&] { source.Close(); });
  if (discard) {
    AtStep(CopyStep::WriteDestination, [&] { target.Close(); });
    AtStep(CopyStep::ReplaceDestination, [&] { temporary.Remove(); });
  } else {
    if (m_Options.flushToDisk) AtStep(CopyStep::FlushDestination, [&] { target.Flush(); });
    AtStep(CopyStep::WriteDestination, [&] { target.Close(); });
    if (m_Options.verify) AtStep(CopyStep::VerifyDestination, [&] { Verify(temporary.Path(), read); });
    AtStep(CopyStep::ReplaceDestination, [&] { temporary.MoveTo(FileTo); });
  }

  if (m_Listener) m_Listener->CopyComplete(allBytes);
}

void cCopyFile::CopyChunks(cFile& source, cFile& target, std::int64_t allBytes,
                           std::int64_t& copied, cContentHash& read) {
  if (copied >= allBytes || m_StopRequest) return;
  // Computed before the reader starts: an invalid chunk size fails before anything is read.
  std::size_t length = ChunkLength(copied, allBytes);
  // A listener may copy another file from inside an event: that copy takes pieces of its own
  // rather than those this copy's reader is still filling.
  std::vector<std::byte> ownPieces[2];
  struct ReleaseOnExit {
    bool& inUse;
    bool taken;
    ~ReleaseOnExit() {
      if (taken) inUse = false;
    }
  } release{m_PiecesInUse, !m_PiecesInUse};
  m_PiecesInUse = true;
  cReadAhead ahead(source, allBytes, PieceBytes(), release.taken ? m_Pieces : ownPieces);
  for (;;) {
    // The source was read ahead: one that has shrunk since (while a listener ran, say) no longer
    // holds the bytes about to be written, and fails the copy as a short read would.
    if (copied > 0 && AtStep(CopyStep::ReadSource, [&] { return source.Length(); }) <
                          copied + static_cast<std::int64_t>(length)) {
      throw cFileError::SourceEnded(source.Path());
    }
    for (std::size_t left = length; left > 0;) {
      const auto bytes = AtStep(CopyStep::ReadSource, [&] { return ahead.Take(left); });
      read.Update(bytes);
      AtStep(CopyStep::WriteDestination, [&] { target.Write(bytes); });
      left -= bytes.size();
    }
    copied += static_cast<std::int64_t>(length);
    if (m_Listener) m_Listener->CopyProgress(copied, allBytes);
    if (copied >= allBytes || m_StopRequest) return;
    length = ChunkLength(copied, allBytes);
  }
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
