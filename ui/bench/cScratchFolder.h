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
  // Empties the folder again for the next pass, and waits until that is on the disk. What the
  // last pass wrote is moved aside, not removed: removed only when the object goes.
  void Reset() const;

 private:
  void Settle() const;
  // The name a pass's files are moved aside to.
  std::wstring Retired(int pass) const;
  void RemoveAll() const;

  std::wstring m_Path;
  mutable int m_Passes = 0;
};
