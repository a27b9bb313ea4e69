#pragma once
// The question asked when a stick holding listed entries arrives: "检测到 U 盘「<label>」。现在
// 备份其中的 N 项吗？", with the seconds left shown below it. 是 runs the backup, 否 does not,
// and with no answer it runs once the countdown has run out.
#include <windows.h>

#include <cstddef>
#include <string>

class cArrivalQuestion {
 public:
  static constexpr int kSeconds = 10;

  // The question's text with `seconds` left.
  static std::wstring Text(const std::wstring& label, std::size_t entries, int seconds);
  // Asks, modally over `owner`; answers whether to run.
  static bool Ask(HWND owner, const std::wstring& label, std::size_t entries);

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
};
