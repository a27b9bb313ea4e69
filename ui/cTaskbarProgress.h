#pragma once
// The window's taskbar button as a progress bar for a run (ITaskbarList3): green while the run
// goes on, red once a file has failed, cleared at the end. Where the system has no taskbar
// list (it is not registered), the button shows nothing and the run goes on as before.
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

class cTaskbarProgress {
 public:
  // Throws cPlatformError when the taskbar list exists but cannot be created.
  explicit cTaskbarProgress(HWND window);
  ~cTaskbarProgress();
  cTaskbarProgress(const cTaskbarProgress&) = delete;
  cTaskbarProgress& operator=(const cTaskbarProgress&) = delete;

  // Shows `done` of `total`, in the error state once Failed was called. Throws cPlatformError.
  void Show(std::uint64_t done, std::uint64_t total);
  void Failed();
  // Takes the progress off the button.
  void Clear() noexcept;

 private:
  void Check(HRESULT hr, const wchar_t* call) const;

  HWND m_Window;
  ITaskbarList3* m_List = nullptr;  // owned: released by the destructor
  bool m_Failed = false;
};
