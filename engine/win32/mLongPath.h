#pragma once
#include <string>

namespace mLongPath {

// The form of an absolute path that the file functions take beyond MAX_PATH characters
// ("\\?\C:\..." or "\\?\UNC\server\share\..."); shorter or relative paths are returned as given.
std::wstring ForSystem(const std::wstring& path);

// True when a name in path holds a character Windows refuses in names. Wine lets some of them
// through to the host's file system, so callers refuse them the way Windows would.
bool HasInvalidNameCharacter(const std::wstring& path);

}  // namespace mLongPath
