#pragma once
// Windows as the tests and benchmarks find and make them: a process's top-level windows, a
// window's children, and the plain class that hosts a control under test.
#include <windows.h>

#include <string>
#include <vector>

namespace mTestWindowTools {

// Every top-level window of process `pid`, visible or not.
std::vector<HWND> TopLevel(DWORD pid);
// Every descendant of `parent`.
std::vector<HWND> Children(HWND parent);
// Registers a class of plain windows (DefWindowProcW) named `name`, painted with the system
// colour `background` (COLOR_WINDOW, ...); once. Throws cPlatformError.
void RegisterHostClass(const wchar_t* name, int background);
// Starts `command` (the program's path in quotes, then its arguments). Wine now and then fails
// to start a process while another is ending; such a failure is said on stderr and tried again
// twice, a second apart, before it throws cPlatformError with the system's error.
PROCESS_INFORMATION StartProgram(std::wstring command);

}  // namespace mTestWindowTools
