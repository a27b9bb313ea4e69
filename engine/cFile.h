#pragma once
// An open file, closed when the object goes away. Reads and writes run in sequence from the
// file's start. One implementation per platform (win32/, posix/); every failure throws cFileError.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class cFile {
 public:
  // Opens an existing file for sequential binary reading; others may keep reading and writing it.
  static cFile OpenForReading(const std::wstring& path);
  // When a new file shows in folder listings. An unfinished one is hidden until SetAttributes
  // gives it its final ones, where the platform has such an attribute, so that a copy cut short
  // does not pass for a whole one.
  enum class Shown { AtOnce, WhenRevealed };

  // The attributes a backup takes over from its source, and the only ones it ends with. Posix
  // has a counterpart of readOnly only, the owner's write bit; the others read as false there
  // and setting them does nothing.
  struct Attributes {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
    bool operator==(const Attributes&) const = default;
  };

  // Creates a new file for writing, which others may read; fails when the name exists already.
  static cFile CreateNew(const std::wstring& path);
  // As CreateNew, but gives nothing back when the name exists already (any other failure throws).
  static std::optional<cFile> TryCreateNew(const std::wstring& path, Shown shown = Shown::AtOnce);

  cFile(cFile&& other) noexcept;
  cFile& operator=(cFile&& other) noexcept;
  cFile(const cFile&) = delete;
  cFile& operator=(const cFile&) = delete;
  ~cFile();

  // Reads up to buffer.size() bytes; returns fewer only at the end of the file.
  std::size_t Read(std::span<std::byte> buffer);
  void Write(std::span<const std::byte> data);
  // The file's length now.
  std::int64_t Length() const;
  // Last-write time in the platform's own ticks, only for handing to SetLastWriteTime.
  std::int64_t LastWriteTime() const;
  void SetLastWriteTime(std::int64_t ticks);
  // The file's attributes among those a backup keeps.
  Attributes KeptAttributes() const;
  // Gives the file exactly these attributes of those a backup keeps and clears every other one
  // that can be cleared, which shows a file created hidden until revealed. A handle opened for
  // writing keeps writing a file made read-only this way.
  void SetAttributes(Attributes attributes);
  // Discards everything written: the file is empty and writing starts again at its first byte.
  void Empty();
  // Cuts the file to its first `length` bytes; writing goes on from there.
  void Shorten(std::int64_t length);
  // Pushes written data through to stable storage.
  void Flush();
  // Closes now, reporting a failure (the destructor cannot).
  void Close();
  bool IsOpen() const noexcept;
  const std::wstring& Path() const noexcept { return m_Path; }

 private:
#ifdef _WIN32
  using Native = void*;
#else
  using Native = int;
#endif
  cFile(Native handle, std::wstring path) noexcept;
  void Release() noexcept;

  Native m_Handle;
  std::wstring m_Path;
};
