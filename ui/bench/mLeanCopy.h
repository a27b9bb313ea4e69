#pragma once
// cCopyFile's steps, in its order and through its file layer, without the two lookups of names
// that cannot exist yet: the destination probe stops at GetFileAttributesW when there is no
// such file, and the temporary file's name is taken by CREATE_NEW itself. Under Wine every
// lookup of a missing name reads the whole folder, looking for the name in another case, so
// this measures what dropping those two lookups would save. Timing only: no events, no stop.
#include <string>

namespace mLeanCopy {

// Copies from to a new destination to, which must not exist; throws cFileError.
void Copy(const std::wstring& from, const std::wstring& to);

}  // namespace mLeanCopy
