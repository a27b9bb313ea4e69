#pragma once
// Windows as the tests and benchmarks find and make them: a process's top-level windows, a
// window's children, and the plain class that hosts a control under test.
#include <windows.h>

#include <vector>

namespace mTestWindowTools {

// Every top-level window of process `pid`, visible or not.
std::vector<HWND> TopLevel(DWORD pid);
// Every descendant of `parent`.
std::vector<HWND> Children(HWND parent);
// Registers a class of plain windows (DefWindowProcW) named `name`, painted with the system
// colour `background` (COLOR_WINDOW, ...); once. Throws cPlatformError.
void RegisterHostClass(const wchar_t* name, int background);

}  // namespace mTestWindowTools
