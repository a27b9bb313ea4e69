#pragma once
// The program's own folders: %APPDATA%\OmbrivoBeta for what goes with the user from machine
// to machine (the remembered job), %LOCALAPPDATA%\OmbrivoBeta for what stays on this one (the
// logs). The environment is asked first, as the shell sets it, so that a test or an
// administrator can move them; the shell's known folders answer when it is unset.
#include <string>

namespace mAppFolders {

std::wstring Roaming();
std::wstring Local();
// Where the runs' logs are kept, below Local().
std::wstring Logs();

}  // namespace mAppFolders
