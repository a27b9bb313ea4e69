#include "mVersionPruning.h"

#include <set>
#include <vector>

#include "cFileError.h"
#include "cFolderListing.h"
#include "mFileHlp.h"
#include "mFileSys.h"

namespace mVersionPruning {
namespace {

// Lists what a run folder holds, at any depth, with a stack of the folders still to list. Links
// are neither followed nor removed.
void ListRun(const std::wstring& root, mVersions::RunFolder& run) {
  std::vector<std::wstring> toList{L""};
  while (!toList.empty()) {
    const std::wstring below = toList.back();
    toList.pop_back();
    cFolderListing listing(root + run.name + L"\\" + below);
    while (const auto item = listing.Next()) {
      if (item->attributes & cFolderListing::kReparsePoint) continue;
      const std::wstring path = below + item->name;
      if (item->attributes & cFolderListing::kDirectory) {
        run.folders.push_back(path);
        toList.push_back(path + L"\\");
      } else {
        run.files.push_back(path);
      }
    }
  }
}

// The run folders below `root`; empty when none of them is old enough for anything to go.
std::vector<mVersions::RunFolder> RunsToLookAt(const std::wstring& root, const mVersions::LocalTime& now) {
  std::vector<mVersions::RunFolder> runs;
  bool anyOld = false;
  cFolderListing listing(root);
  while (const auto item = listing.Next()) {
    if ((item->attributes & cFolderListing::kDirectory) == 0 || (item->attributes & cFolderListing::kReparsePoint)) continue;
    const auto start = mVersions::RunStartOf(item->name);
    if (!start) continue;
    anyOld = anyOld || mVersions::IsOld(*start, now);
    runs.push_back({item->name, {}, {}});
  }
  if (!anyOld) runs.clear();
  return runs;
}

// Removes one file or empty folder; false when it stays.
bool Remove(const std::wstring& path, bool folder) {
  try {
    if (folder) {
      mFileSys::RemoveFolder(path);
    } else {
      mFileSys::SetReadOnly(path, false);  // a kept backup of a read-only source
      mFileSys::RemoveFile(path);
    }
    return true;
  } catch (const cFileError&) {
    return false;
  }
}

// A kept file's source: its backup's source at the destination's top, and its path below that.
std::optional<std::wstring> SourceKey(const cDestinationIndex& index, const mBackupNames::Fold& fold, const std::wstring& run,
                                      const std::wstring& file) {
  const auto cut = file.find(L'\\');
  const auto source = index.VersionSource(run, file.substr(0, cut));
  if (!source) return std::nullopt;
  const std::wstring below = cut == std::wstring::npos ? L"" : file.substr(cut);
  if (source->volume) return std::to_wstring(*source->volume) + L":" + fold(source->path + below);
  return L":" + fold(source->root + source->path + below);
}

}  // namespace

int Prune(const std::wstring& destination, const mVersions::LocalTime& now, const mBackupNames::Fold& fold,
          cDestinationIndex& index) {
  const std::wstring root = mFileHlp::AddBackslash(destination) + mVersions::kFolderName + L"\\";
  if (!mFileSys::FolderAnswers(root)) return 0;
  try {
    std::vector<mVersions::RunFolder> runs = RunsToLookAt(root, now);
    std::set<std::wstring> folders;
    for (mVersions::RunFolder& run : runs) {
      ListRun(root, run);
      folders.insert(run.name);
      for (const std::wstring& folder : run.folders) folders.insert(run.name + L"\\" + folder);
    }
    int removed = 0;
    const auto sourceOf = [&](const std::wstring& run, const std::wstring& file) { return SourceKey(index, fold, run, file); };
    for (const std::wstring& path : mVersions::Pruned(runs, now, fold, sourceOf)) {
      if (!Remove(root + path, folders.count(path) > 0)) continue;
      ++removed;
      if (path.find(L'\\') == std::wstring::npos) index.ForgetRun(path);  // a whole run folder
    }
    return removed;
  } catch (const cFileError&) {
    return 0;  // a folder that cannot be listed now is looked at again by a later run
  }
}

}  // namespace mVersionPruning
