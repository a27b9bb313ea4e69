#pragma once
// How Windows compares file names, for the backup list and a run's plan.
#include <string>

namespace mWindowsNames {

// A name as the file system compares it: without regard to case.
std::wstring Folded(std::wstring name);

}  // namespace mWindowsNames
