#pragma once
// The volume a listed source was picked or dropped from. An entry keeps it from the moment it is
// added: it is backed up only from a volume with that serial number, whatever letter the volume
// has now and whatever volume stands at its old letter.
#include <cstdint>
#include <string>
#include <vector>

namespace mSourceVolume {

struct Volume {
  std::uint32_t serial = 0;
  std::wstring root;   // where it was last seen ("E:\\"), ending in a separator
  std::wstring label;  // its volume label then; may be empty
  bool operator==(const Volume&) const = default;
};

// How a volume is named to the user: its label, or its root without the separator.
std::wstring Name(const Volume& volume);
// Why an entry is not backed up this run: its volume is not mounted ("U 盘「A盘」未插入")...
std::wstring AbsentReason(const Volume& volume);
// ...or more than one volume has its serial, none of them at its own letter.
std::wstring AmbiguousReason(const Volume& volume, const std::vector<std::wstring>& roots);

}  // namespace mSourceVolume
