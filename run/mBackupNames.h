#pragma once
// File names under which the entries of a backup list are stored in the destination folder.
#include <functional>
#include <string>

namespace mBackupNames {

// The "√" put in front of an entry once its file has been backed up.
inline constexpr wchar_t kDoneMark = L'\u221A';

// An entry's source path without the mark (unchanged when unmarked).
std::wstring SourceOf(const std::wstring& entry);
bool IsMarked(const std::wstring& entry);

// How names are compared for collisions (the file system's case folding).
using Fold = std::function<std::wstring(const std::wstring&)>;
// The name a drive root's backup takes ("E:\\" -> its volume label); empty for none.
using RootName = std::function<std::wstring(const std::wstring& root)>;

// A folder entry's source ends in a backslash: "E:\\photos\\", or a drive root "E:\\".
bool IsFolder(const std::wstring& source);
// The name a source's backup has before any numbering: the file's or the folder's own name; a
// drive root's from `rootName`, or its letter where that gives none.
std::wstring OwnName(const std::wstring& source, const RootName& rootName = {});

// "report.doc", 3 -> "report (3).doc"; a name without extension, or starting with its only
// dot, or a folder's name, takes the number at its end.
std::wstring Numbered(const std::wstring& fileName, int n, bool folder = false);

}  // namespace mBackupNames
