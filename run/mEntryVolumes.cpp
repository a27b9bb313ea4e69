#include "mEntryVolumes.h"

#include <algorithm>
#include <set>

namespace mEntryVolumes {
namespace {

bool SameRoot(const cBackupList& list, const std::wstring& a, const std::wstring& b) { return list.Fold()(a) == list.Fold()(b); }

void Append(std::vector<std::size_t>& to, const std::vector<std::size_t>& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace

std::vector<cBackupList::Volume> Of(const std::vector<std::wstring>& paths, cVolumeFinder& finder) {
  std::vector<cBackupList::Volume> volumes;
  volumes.reserve(paths.size());
  for (const std::wstring& path : paths) volumes.push_back(finder.Of(path));
  return volumes;
}

std::vector<std::size_t> Locate(cBackupList& list, cVolumeFinder& finder) {
  list.ClearUnavailable();
  std::vector<std::size_t> moved;
  for (std::size_t entry = 0; entry < list.Count(); ++entry) {
    const cBackupList::Volume volume = list.VolumeOf(entry);
    if (!volume) continue;
    const cVolumeFinder::Place place = finder.Find(*volume);
    switch (place.kind) {
      case cVolumeFinder::Place::Kind::Mounted:
        if (!SameRoot(list, place.root, volume->root)) Append(moved, list.MoveVolume(volume->serial, place.root));
        break;
      case cVolumeFinder::Place::Kind::Absent:
        list.SetUnavailable(entry, mSourceVolume::AbsentReason(*volume));
        break;
      case cVolumeFinder::Place::Kind::Ambiguous:
        list.SetUnavailable(entry, mSourceVolume::AmbiguousReason(*volume, place.roots));
        break;
    }
  }
  std::sort(moved.begin(), moved.end());
  return moved;
}

Arrival Arrived(cBackupList& list, cVolumeFinder& finder, const std::wstring& root) {
  Arrival arrival;
  const auto serial = finder.SerialAt(root);
  if (!serial) return arrival;
  std::set<std::wstring> asked;  // the roots, folded, its entries were last seen at
  for (std::size_t entry = 0; entry < list.Count(); ++entry) {
    const cBackupList::Volume volume = list.VolumeOf(entry);
    if (!volume || volume->serial != *serial || !asked.insert(list.Fold()(volume->root)).second) continue;
    const cVolumeFinder::Place place = finder.Find(*volume);
    if (place.kind == cVolumeFinder::Place::Kind::Mounted && SameRoot(list, place.root, root) && !SameRoot(list, volume->root, root))
      Append(arrival.moved, list.MoveVolume(*serial, root));
  }
  for (std::size_t entry = 0; entry < list.Count(); ++entry) {
    const cBackupList::Volume& volume = list.VolumeOf(entry);
    if (volume && volume->serial == *serial && SameRoot(list, volume->root, root)) {
      ++arrival.entries;
      if (arrival.label.empty()) arrival.label = mSourceVolume::Name(*volume);
    }
  }
  if (const auto now = finder.Of(root); now && !now->label.empty()) arrival.label = now->label;
  std::sort(arrival.moved.begin(), arrival.moved.end());
  return arrival;
}

}  // namespace mEntryVolumes
