#pragma once
// Drops as the shell hands them to a window in WM_DROPFILES.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace mDropFiles {

// A DROPFILES block with the wide paths, each ended by a null, the list by one more. The
// window that takes it frees it with DragFinish. Throws when the block cannot be allocated.
HDROP Make(const std::vector<std::wstring>& paths);
// The same with the paths in the ANSI code page, as older programs drop them.
HDROP MakeAnsi(const std::vector<std::wstring>& paths);

}  // namespace mDropFiles
