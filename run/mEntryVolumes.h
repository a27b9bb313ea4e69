#pragma once
// The list's entries and the volumes they belong to, at the three moments the volumes are asked:
// when entries are added, when a volume arrives and when a run starts.
#include <cstddef>
#include <string>
#include <vector>

#include "cBackupList.h"
#include "cVolumeFinder.h"

namespace mEntryVolumes {

// The volumes of paths being added, in order.
std::vector<cBackupList::Volume> Of(const std::vector<std::wstring>& paths, cVolumeFinder& finder);

// Before a run: entries whose volume is at another root now are listed under that root; those
// whose volume is not there, or cannot be told from a clone, cannot be reached this run. Answers
// the entries whose text changed.
std::vector<std::size_t> Locate(cBackupList& list, cVolumeFinder& finder);

struct Arrival {
  std::size_t entries = 0;          // the entries that belong to the arrived volume
  std::vector<std::size_t> moved;   // of which listed under its root just now
  std::wstring label;               // the volume's, or its root's letter
};
// A volume arrived at `root`: the entries that belong to it. A volume whose serial no entry
// holds has none, whatever letter it took; entries whose own letter still holds their volume
// stay there.
Arrival Arrived(cBackupList& list, cVolumeFinder& finder, const std::wstring& root);

}  // namespace mEntryVolumes
