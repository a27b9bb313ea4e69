#pragma once
// A CBT hook on the test thread that sees every window of one class as it is created
// (HCBT_CREATEWND): the test can subclass it before its first message, or make the
// creation fail as a real CreateWindowExW failure.
#include <windows.h>

#include <functional>
#include <string>

class cCreationHook {
 public:
  // onCreate returns true to make the creation fail.
  cCreationHook(std::wstring className, std::function<bool(HWND)> onCreate);
  ~cCreationHook();
  cCreationHook(const cCreationHook&) = delete;
  cCreationHook& operator=(const cCreationHook&) = delete;

  // While blocked, every creation of the class fails.
  void Block(bool blocked) { m_Blocked = blocked; }
  int Created() const { return m_Created; }
  int Refused() const { return m_Refused; }

 private:
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

  std::wstring m_ClassName;
  std::function<bool(HWND)> m_OnCreate;
  HHOOK m_Hook;
  bool m_Blocked = false;
  int m_Created = 0;
  int m_Refused = 0;
};
