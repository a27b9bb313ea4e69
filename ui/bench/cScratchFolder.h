#pragma once
// An empty folder the benchmark fills, removed with its contents when the object goes.
#include <string>

class cScratchFolder {
 public:
  // Creates path, removing whatever an earlier, interrupted run left there.
  explicit cScratchFolder(std::wstring path);
  ~cScratchFolder();
  cScratchFolder(const cScratchFolder&) = delete;
  cScratchFolder& operator=(const cScratchFolder&) = delete;

  const std::wstring& Path() const noexcept { return m_Path; }
  std::wstring Child(const std::wstring& name) const;
  // Empties the folder again, and waits until the removal is on the disk.
  void Reset() const;

 private:
  void Settle() const;

  std::wstring m_Path;
};
