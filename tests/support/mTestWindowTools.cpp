#include "mTestWindowTools.h"

#include <cstdio>

#include "cPlatformError.h"

namespace mTestWindowTools {
namespace {

struct ProcessWindows {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<ProcessWindows*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == found->pid) found->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevel(DWORD pid) {
  ProcessWindows found{pid, {}};
  EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
  return children;
}

void RegisterHostClass(const wchar_t* name, int background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background) + 1);
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw cPlatformError::FromLastError(L"register a test window class", name, L"RegisterClassExW");
}

PROCESS_INFORMATION StartProgram(std::wstring command) {
  constexpr int kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return process;
    const cPlatformError error = cPlatformError::FromLastError(L"Start the program", command, L"CreateProcessW");
    if (attempt == kAttempts) throw error;
    std::fprintf(stderr, "%s; trying again\n", error.what());
    Sleep(1000);
  }
}

}  // namespace mTestWindowTools
