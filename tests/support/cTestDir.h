#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<std::byte>;

class cTestDir {
 public:
  cTestDir();
  // A folder below the one named by an environment variable (for example a tiny or read-only
  // file system the test script mounted); Valid() is false when the variable is unset.
  explicit cTestDir(const char* environmentVariable);
  // A fresh folder of its own below the one named by an environment variable, removed at the
  // end like the default one; Valid() is false when the variable is unset.
  struct Fresh {};
  cTestDir(const char* environmentVariable, Fresh);
  ~cTestDir();
  cTestDir(const cTestDir&) = delete;
  cTestDir& operator=(const cTestDir&) = delete;

  bool Valid() const { return !m_Root.empty(); }
  // Full path of a name inside the folder, in the program's wide form.
  std::wstring Path(const std::wstring& name) const;
  const std::wstring& Root() const { return m_Root; }
  void Write(const std::wstring& name, const Bytes& data) const;
  Bytes Read(const std::wstring& name) const;
  bool Exists(const std::wstring& name) const;
  std::vector<std::wstring> Names() const;

 private:
  std::wstring m_Root;
  bool m_Remove = true;
};

// Converts between the program's wide paths and std::filesystem paths on this platform.
std::filesystem::path FsPath(const std::wstring& path);
std::wstring WidePath(const std::filesystem::path& path);
// A Unix path as the Windows program sees it under Wine (Z: drive); unchanged elsewhere.
std::wstring FromHostPath(const std::string& hostPath);

// Deterministic bytes that differ from chunk to chunk, so misplaced chunks show.
Bytes Pattern(std::size_t length, std::uint32_t seed = 1);
