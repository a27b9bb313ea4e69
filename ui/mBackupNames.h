#pragma once
// File names under which the entries of a backup list are stored in the destination folder.
#include <functional>
#include <string>
#include <vector>

namespace mBackupNames {

// The "√" put in front of an entry once its file has been backed up.
inline constexpr wchar_t kDoneMark = L'\u221A';

// An entry's source path without the mark (unchanged when unmarked).
std::wstring SourceOf(const std::wstring& entry);
bool IsMarked(const std::wstring& entry);

// How names are compared for collisions (the file system's case folding).
using Fold = std::function<std::wstring(const std::wstring&)>;

// One destination file name per source path, in list order; sources that fold alike are one
// backup and get one name. Each keeps its own file name unless an earlier, different source has
// it; such a later source gets the first "name (n).ext" (n = 2, 3, ...) that is neither any
// source's own name nor a name given earlier. The same list always maps to the same names.
std::vector<std::wstring> DestinationNames(const std::vector<std::wstring>& sources, const Fold& fold);

// "report.doc", 3 -> "report (3).doc"; a name without extension, or starting with its only
// dot, takes the number at its end.
std::wstring Numbered(const std::wstring& fileName, int n);

}  // namespace mBackupNames
