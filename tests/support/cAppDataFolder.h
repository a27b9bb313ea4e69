#pragma once
// Points %APPDATA% and %LOCALAPPDATA% of this process, and of the programs it starts, at a
// folder of a test's own for as long as the object lives, so that the job file and the logs of
// one test are never those of another.
#include <string>

class cAppDataFolder {
 public:
  explicit cAppDataFolder(const std::wstring& folder);
  ~cAppDataFolder();
  cAppDataFolder(const cAppDataFolder&) = delete;
  cAppDataFolder& operator=(const cAppDataFolder&) = delete;

  const std::wstring& Folder() const noexcept { return m_Folder; }
  // Where the program keeps its job file and its logs below that folder.
  std::wstring JobFile() const { return m_Folder + L"\\OmbrivoBeta\\job.json"; }
  std::wstring LogFolder() const { return m_Folder + L"\\OmbrivoBeta\\日志"; }

 private:
  std::wstring m_Folder;
  std::wstring m_OldRoaming;
  std::wstring m_OldLocal;
};
