#pragma once
// A fresh backup window in this process, shown and driven as a user drives it: files dropped
// onto it from the file manager, a destination typed into Text1, "开始" pressed.
#include <windows.h>

#include <string>
#include <vector>

#include "cAppDataFolder.h"
#include "cBackupWindow.h"
#include "cTestDir.h"
#include "cDialogWatcher.h"

class cHostedWindow {
 public:
  // watcher answers the message boxes the window shows; it outlives the window.
  explicit cHostedWindow(cDialogWatcher& watcher);
  ~cHostedWindow();
  cHostedWindow(const cHostedWindow&) = delete;
  cHostedWindow& operator=(const cHostedWindow&) = delete;

  // Drops the paths onto the window; seconds until the list has taken them and is painted.
  double Drop(const std::vector<std::wstring>& paths);
  // Runs a backup into folder; seconds from the click until "完成备份！" appears. Throws
  // when the run ends with any other message.
  double Run(const std::wstring& folder);
  // Throws unless the list holds count entries and every one is marked as backed up.
  void ExpectAllMarked(int count) const;

  int ListCount() const;
  std::wstring Entry(int index) const;
  HWND Child(int id) const;
  // The native list box inside List1.
  HWND List() const;

 private:

  cDialogWatcher& m_Watcher;
  cTestDir m_AppDataDir;    // a job file and logs of the bench's own
  cAppDataFolder m_AppData;
  cBackupWindow m_Window;
};
