#pragma once
// Reads what the shell dropped on a window (WM_DROPFILES).
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace mShellDrop {

// The paths of a drop, read from its block in one pass. Only names in the ANSI code page
// (from old programs) are asked of the shell one at a time, which converts them.
std::vector<std::wstring> Paths(HDROP drop);
// The paths as the backup list takes them: a folder is one entry, written with its final
// backslash ("E:\\" for a whole drive).
std::vector<std::wstring> Entries(HDROP drop);
// Paths from elsewhere (the command line) as the backup list takes them.
std::vector<std::wstring> AsEntries(std::vector<std::wstring> paths);

}  // namespace mShellDrop
