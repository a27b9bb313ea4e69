#pragma once
// How Windows names files, for the backup list and a run's plan.
#include <string>

namespace mWindowsNames {

// A name as the file system compares it: without regard to case.
std::wstring Folded(std::wstring name);
// A drive root's volume label ("E:\\" -> "U盘"); empty for a drive without one, or one that is gone.
std::wstring VolumeLabel(const std::wstring& root);

}  // namespace mWindowsNames
