#pragma once
#include <string>

namespace mLongPath {

// The form of an absolute path that the file functions take beyond MAX_PATH characters
// ("\\?\C:\..." or "\\?\UNC\server\share\..."); shorter or relative paths are returned as given.
std::wstring ForSystem(const std::wstring& path);

}  // namespace mLongPath
